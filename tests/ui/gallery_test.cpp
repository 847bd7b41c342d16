// Renders the window parts the way the user sees them and checks chosen pixels. With
// WENOGLAD_GALLERY_DIR set, every picture is also written there as a PNG for a look by eye.
#include "ui/Glyphs.h"
#include "ui/HintBar.h"
#include "ui/SearchAnimation.h"
#include "ui/WenBtn.h"
#include "ui/WenBtnStrips.h"
#include "ui/okienko.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

void Save(const QImage &image, const QString &name, int zoom = 1)
{
    const QString dir = qEnvironmentVariable("WENOGLAD_GALLERY_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const QImage out =
        zoom == 1 ? image : image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    ASSERT_TRUE(out.save(dir + QLatin1Char('/') + name));
}

QImage OnBackground(const QImage &strip, const QColor &bg)
{
    QImage out(strip.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(bg);
    QPainter p(&out);
    p.drawImage(0, 0, strip);
    return out;
}

int CountNear(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 8)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c(image.pixel(x, y));
            n += std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                 std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    return n;
}

QImage Shot(QWidget &w)
{
    w.show();
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(Gallery, StripsHaveTheirGeometry)
{
    const auto &images = TWenBtnImages::Instance();
    EXPECT_EQ(images.PlateStrip().size(), QSize(44, 85));
    EXPECT_EQ(images.SymbolStrip().size(), QSize(40, 585));
    Save(OnBackground(images.PlateStrip(), QColor(0xd4, 0xd0, 0xc8)), QStringLiteral("strip_bg.png"), 8);
    Save(OnBackground(images.SymbolStrip(), QColor(0xd4, 0xd0, 0xc8)), QStringLiteral("strip_fg.png"), 4);
}

// Every key symbol on every plate colour, enabled on the left half, disabled on the right.
TEST(Gallery, EveryKeyOnEveryPlate)
{
    const auto &images = TWenBtnImages::Instance();
    constexpr int cellW = kPlateWidth + 4, cellH = kPlateHeight + 4;
    QImage sheet(2 * 9 * cellW + 8, kSymbolRows / 9 * cellH * 1, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xd4, 0xd0, 0xc8));
    QPainter p(&sheet);
    for (int typ = 0; typ < kSymbolRows; ++typ) {
        const int kolor = typ % kPlateRows;
        for (int state = 0; state < 2; ++state) {
            const QPoint at(state * (9 * cellW + 8) + (typ % 9) * cellW + 2, (typ / 9) * cellH + 2);
            p.drawImage(at, images.Plate(kolor, state == 0));
            p.drawImage(at + QPoint(1, 2), images.Symbol(typ, state == 0));
        }
    }
    p.end();
    Save(sheet, QStringLiteral("keys.png"), 4);

    // Each key's symbol draws something, its disabled form apart from the enabled one; the blank
    // key and the one with a picture of its own have none.
    for (int typ = 0; typ < kSymbolRows; ++typ) {
        const QImage on = images.Symbol(typ, true), off = images.Symbol(typ, false);
        int inked = 0;
        for (int y = 0; y < on.height(); ++y)
            for (int x = 0; x < on.width(); ++x)
                inked += qAlpha(on.pixel(x, y)) > 0;
        const bool blank = typ == int(TWenBtnTyp::sbPusty) || typ == int(TWenBtnTyp::sbWlasny);
        EXPECT_EQ(inked > 0, !blank) << "symbol " << typ;
        if (!blank) {
            EXPECT_NE(on, off) << "symbol " << typ;
        }
    }
}

// Every key type as a real button, then the three layouts, the states and the five colours.
TEST(Gallery, ButtonSheet)
{
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    sheet.resize(9 * 44 + 8, 5 * 37 + 8 + 90 + 40);
    for (int typ = 0; typ < kWenBtnTypCount; ++typ) {
        auto *b = new TWenBtn(&sheet);
        b->SetTyp(static_cast<TWenBtnTyp>(typ));
        b->SetKolor(typ / 9);
        b->setGeometry(4 + (typ % 9) * 44, 4 + (typ / 9) * 37, 40, 33);
    }
    const int y0 = 4 + 5 * 37 + 6;
    auto *stacked = new TWenBtn(&sheet);
    stacked->SetTyp(TWenBtnTyp::sbF9);
    stacked->SetKolor(1);
    stacked->SetOpis(QStringLiteral("&Drukuj"));
    stacked->setGeometry(4, y0, 100, 75);
    auto *side = new TWenBtn(&sheet);
    side->SetTyp(TWenBtnTyp::sbEnter);
    side->SetKolor(2);
    side->SetOpis(QStringLiteral("Właściwości"));
    side->setGeometry(110, y0, 121, 25);
    auto *sideDown = new TWenBtn(&sheet);
    sideDown->SetTyp(TWenBtnTyp::sbF2);
    sideDown->SetKolor(3);
    sideDown->SetOpis(QStringLiteral("Broszura"));
    sideDown->SetDown(true);
    sideDown->setGeometry(110, y0 + 29, 121, 25);
    auto *sideOff = new TWenBtn(&sheet);
    sideOff->SetTyp(TWenBtnTyp::sbF3);
    sideOff->SetKolor(4);
    sideOff->SetOpis(QStringLiteral("Wyłączony"));
    sideOff->setEnabled(false);
    sideOff->setGeometry(110, y0 + 58, 121, 25);
    auto *vertical = new TWenBtn(&sheet);
    vertical->SetTyp(TWenBtnTyp::sbPlus);
    vertical->SetOpis(QStringLiteral("Więcej"));
    vertical->setGeometry(240, y0, 24, 84);
    auto *own = new TWenBtn(&sheet);
    QPixmap twoState(2 * 16, 16);
    twoState.fill(Qt::transparent);
    {
        QPainter p(&twoState);
        p.drawPixmap(0, 0, TickGlyph());
        QImage off = TickGlyph().toImage();
        for (int y = 0; y < off.height(); ++y)
            for (int x = 0; x < off.width(); ++x) {
                const QRgb c = off.pixel(x, y);
                const int g = 128 + qGray(c) / 3;
                off.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
            }
        p.drawImage(16, 0, off);
    }
    own->SetIkonka(twoState);
    own->SetOpis(QStringLiteral("Własny"));
    own->setGeometry(272, y0, 60, 40);
    auto *ownOff = new TWenBtn(&sheet);
    ownOff->SetIkonka(twoState);
    ownOff->SetOpis(QStringLiteral("Własny"));
    ownOff->setEnabled(false);
    ownOff->setGeometry(272, y0 + 44, 60, 40);
    auto *flat = new TWenBtn(&sheet);
    flat->SetTyp(TWenBtnTyp::sbBackspace);
    flat->SetOpis(QStringLiteral("Bez ramki"));
    flat->SetShowFrame(false);
    flat->setGeometry(338, y0, 66, 40);
    sheet.resize(sheet.width(), y0 + 90);
    const QImage image = Shot(sheet);
    Save(image, QStringLiteral("buttons.png"), 2);
    // The blue plate of the stacked button and its caption's ink are where they belong.
    EXPECT_GT(CountNear(image, stacked->geometry().adjusted(0, 0, 0, -40), QColor(0xa9, 0xcb, 0xf2), 30), 30);
    EXPECT_GT(CountNear(image, stacked->geometry().adjusted(0, 45, 0, 0), QColor(0, 0, 0), 40), 10);
}

TEST(Gallery, HintBars)
{
    QWidget sheet;
    auto *layout = new QVBoxLayout(&sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    const auto make = [&](const QString &left, const QString &centre, const QString &right, bool error, bool active) {
        auto *bar = new THintBar(&sheet);
        bar->SetTextAccept(QStringLiteral("Drukuj"));
        bar->SetTextCancel(QStringLiteral("Zamknij"));
        bar->SetTextLeft(left);
        bar->SetTextCenter(centre);
        bar->SetTextRight(right);
        bar->SetErrorState(error);
        bar->SetActive(active);
        layout->addWidget(bar);
        return bar;
    };
    THintBar *normal = make(QStringLiteral("Strona 3"), QStringLiteral("#YELLOW#Enter#NORMAL# - drukowanie"),
                            QStringLiteral("100%"), false, true);
    THintBar *error = make(QString(), QStringLiteral("Brak drukarki"), QString(), true, true);
    make(QString(), QStringLiteral("#RED#Strony 5-7 nie istnieją"), QString(), false, true);
    THintBar *inactive = make(QStringLiteral("Strona 3"), QStringLiteral("#RED#Nieaktywny"), QString(), false, false);
    THintBar *noAccept = make(QStringLiteral("Tworzenie stron... 45%"), QString(), QString(), false, true);
    noAccept->SetTextAccept(QString());
    sheet.resize(640, 5 * 24 + 16);
    const QImage image = Shot(sheet);
    Save(image, QStringLiteral("hintbar.png"), 2);
    EXPECT_GT(CountNear(image, normal->geometry(), QColor(0, 255, 0), 0), 20);
    EXPECT_GT(CountNear(image, error->geometry(), QColor(255, 255, 0), 0), 20) << "yellow over red";
    EXPECT_GT(CountNear(image, error->geometry(), QColor(255, 0, 0), 60), 10);
    EXPECT_GT(CountNear(image, inactive->geometry(), QColor(128, 128, 128), 0), 1000);
}

namespace {

struct BoxCase {
    const char *file;
    const char *title;
    const char *text;
    int kind;
    unsigned buttons;
};

} // namespace

TEST(Gallery, MessageBoxes)
{
    const BoxCase cases[] = {
        {"box_error.png", "Błąd", "Nie można otworzyć pliku \"raport.wyd\".", TMsgOkienko::kError, 0},
        {"box_info.png", "Informacja", "Dodano 3 wydruki do biblioteki.", TMsgOkienko::kInfo, 0},
        {"box_taknie.png", "Pytanie", "Plik znajduje się poza biblioteką.\rCzy skopiować go do biblioteki?",
         TMsgOkienko::kQuestion, TMsgOkienko::bTak | TMsgOkienko::bNie},
        {"box_okanuluj.png", "Drukowanie", "Odwróć stos kartek i włóż go ponownie do podajnika.",
         TMsgOkienko::kQuestion, TMsgOkienko::bOk | TMsgOkienko::bAnuluj},
        {"box_powtorz.png", "Drukarka",
         "Drukarka nie odpowiada. Sprawdź, czy jest włączona i podłączona, "
         "a potem spróbuj ponownie.",
         TMsgOkienko::kQuestion, TMsgOkienko::bPowtorz | TMsgOkienko::bAnuluj},
        {"box_tak.png", "Usuwanie", "Usunąć wszystkie wydruki z biblioteki?", TMsgOkienko::kTypedConfirmation, 0},
        {"box_left.png", "Informacja", "\vZnalezione pliki:\r  a.wyd\r  bardzo_dlugi_wydruk_miesieczny.wyd\r  c.wyd",
         TMsgOkienko::kPlain, TMsgOkienko::bOk | TMsgOkienko::bWszystkie | TMsgOkienko::bCofnij},
    };
    for (const BoxCase &c : cases) {
        auto box = UtworzOkienko(QString::fromUtf8(c.title), QString::fromUtf8(c.text), c.kind, c.buttons);
        const QImage image = Shot(*box);
        Save(image, QString::fromLatin1(c.file));
        const QRect left(0, 0, 41, box->panLewy->height());
        if (c.kind == TMsgOkienko::kError || c.kind == TMsgOkienko::kInfo) {
            EXPECT_GT(CountNear(image, left, QColor(0xf8, 0xd0, 0x38), 40), 50) << c.file << ": yellow triangle";
        }
        if (c.kind == TMsgOkienko::kQuestion || c.kind == TMsgOkienko::kTypedConfirmation) {
            EXPECT_GT(CountNear(image, left, QColor(0x40, 0x80, 0xe0), 50), 50) << c.file << ": blue bubble";
        }
        if (c.kind == TMsgOkienko::kError)
            EXPECT_GT(CountNear(image, box->Panel3->geometry(), QColor(160, 0, 0), 30), 20) << "dark red text";
        else
            EXPECT_GT(CountNear(image, box->Panel3->geometry(), QColor(0, 0, 128), 30), 20) << c.file << ": navy text";
        box->hide();
    }
}

TEST(Gallery, WaitWindow)
{
    TWorkingDlg dlg;
    dlg.Tekst = QStringLiteral("Wysyłanie wydruku do drukarki...");
    dlg.JestPostepLbl = true;
    dlg.JestPostepBar = true;
    dlg.JestPostepLbl2 = true;
    dlg.SetProgressMax(12);
    dlg.Pokaz();
    dlg.UstawOpis(QStringLiteral("Strona 5 z 12"));
    dlg.UstawOpis2(QStringLiteral("raport_miesieczny.wyd"));
    dlg.UstawPozycje(5);
    for (int i = 0; i < 3; ++i)
        dlg.Okno()->ani->NextFrame();
    const QImage image = dlg.Okno()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Save(image, QStringLiteral("wait.png"));
    QImage frames(8 * 45, 64, QImage::Format_RGB32);
    frames.fill(QColor(0xef, 0xef, 0xef));
    {
        QPainter p(&frames);
        for (int i = 0; i < TSearchAnimation::kFrames; ++i)
            p.drawImage(i * 45 + 2, 2, TSearchAnimation::RenderFrame(i, QSize(41, 60)));
    }
    Save(frames, QStringLiteral("animation.png"), 2);
    EXPECT_EQ(dlg.Pozycja(), 41);
    EXPECT_GT(image.width(), 300);
}
