#include "printdialog/PodgladArkuszy.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWysokosc = 170;        // of the whole strip, scroll bar included
constexpr int kMargines = 8;          // round the row of sheets
constexpr int kOdstepArkuszy = 36;    // between one sheet and the next: well over a front and back
constexpr int kOdstepStron = 6;       // between a sheet's front and back
constexpr int kOdstepOdwrocenia = 26; // the same with room for the turn arrow
constexpr qreal kA4 = 1.41421356;     // long edge over short edge of the paper
constexpr int kPamiecKb = 48 * 1024;  // page images kept, about a thousand of them

// One key for a page image: the page number and the image's pixel size.
quint64 Klucz(int numer, QSize rozmiar)
{
    return quint64(quint32(numer)) << 32 | quint64(rozmiar.width() & 0xffff) << 16 | quint64(rozmiar.height() & 0xffff);
}

// The largest rectangle of the page's shape centred in place, on whole pixels.
QRect Dopasuj(const QRectF &miejsce, QSize strona)
{
    if (strona.isEmpty())
        return miejsce.toRect();
    const qreal skala = std::min(miejsce.width() / strona.width(), miejsce.height() / strona.height());
    const QSizeF rozmiar(strona.width() * skala, strona.height() * skala);
    const QPointF rog = miejsce.center() - QPointF(rozmiar.width() / 2, rozmiar.height() / 2);
    return QRect(qRound(rog.x()), qRound(rog.y()), std::max(1, qRound(rozmiar.width())),
                 std::max(1, qRound(rozmiar.height())));
}

} // namespace

TPodgladArkuszy::TPodgladArkuszy(QWidget *parent) : QAbstractScrollArea(parent)
{
    // A bar that came and went would change the sheets' height and with it the strip's width.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    miniatury_.setMaxCost(kPamiecKb);
}

QSize TPodgladArkuszy::sizeHint() const
{
    return {480, kWysokosc};
}

QSize TPodgladArkuszy::minimumSizeHint() const
{
    return {160, kWysokosc};
}

void TPodgladArkuszy::UstawWejscie(const TArkuszeWejscie &wejscie)
{
    if (wejscie.Pages != wejscie_.Pages)
        miniatury_.clear();
    wejscie_ = wejscie;

    const TPrintMode tryb = wejscie.Tryb;
    const bool dwustronnie = wejscie.Dwustronnie || wejscie.DwustronnieAuto || wejscie.Tryb == TPrintMode::Ksiazeczka;
    PageSelection strony = wejscie.Selection;
    PadSelection(strony, tryb, dwustronnie);
    const int n = int(strony.size());
    auto numer = [&](int pozycja) { return pozycja >= 1 && pozycja <= n ? strony[pozycja - 1] : 0; };
    auto naStrony = [&](const TSheetSide &s) { return TSheetSide{numer(s.Left), numer(s.Right)}; };

    arkusze_.clear();
    if (dwustronnie) {
        const TPass boki = JoinedSides(tryb, wejscie.Odwrotnie, n);
        for (qsizetype k = 0; k + 1 < boki.size(); k += 2)
            arkusze_.append({naStrony(boki[k]), naStrony(boki[k + 1]), true});
    } else {
        for (const TSheetSide &s : PrintPasses(tryb, false, wejscie.Odwrotnie, n).value(0))
            arkusze_.append({naStrony(s), {}, false});
    }
    setToolTip(RecznieDwustronnie() ? QStringLiteral("Po wydrukowaniu pierwszej strony arkuszy odwróć kartki "
                                                     "i włóż je ponownie do drukarki")
                                    : QString());
    UstawPasek();
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

bool TPodgladArkuszy::Poziomo() const
{
    return wejscie_.Tryb == TPrintMode::Zmniejszone || wejscie_.Tryb == TPrintMode::Ksiazeczka;
}

bool TPodgladArkuszy::RecznieDwustronnie() const
{
    return !wejscie_.DwustronnieAuto && (wejscie_.Dwustronnie || wejscie_.Tryb == TPrintMode::Ksiazeczka);
}

TPodgladArkuszy::Uklad TPodgladArkuszy::Rozmiary() const
{
    Uklad u;
    const int podpis = fontMetrics().height() + 4;
    u.Wysokosc = std::max(20, viewport()->height() - 2 * kMargines - podpis);
    u.Szerokosc = std::round(Poziomo() ? u.Wysokosc * kA4 : u.Wysokosc / kA4);
    const bool tyl = !arkusze_.isEmpty() && arkusze_.front().MaTyl;
    u.Odstep = RecznieDwustronnie() ? kOdstepOdwrocenia : kOdstepStron;
    u.Krok = (tyl ? 2 * u.Szerokosc + u.Odstep : u.Szerokosc) + kOdstepArkuszy;
    return u;
}

QRectF TPodgladArkuszy::Strona(const Uklad &uklad, int arkusz, bool tyl) const
{
    const qreal x =
        kMargines + arkusz * uklad.Krok - horizontalScrollBar()->value() + (tyl ? uklad.Szerokosc + uklad.Odstep : 0);
    return {x, qreal(kMargines), uklad.Szerokosc, uklad.Wysokosc};
}

QRectF TPodgladArkuszy::Miejsce(const QRectF &strona, bool prawa) const
{
    // A little paper shows round each page, as the printer's margins leave it.
    const qreal brzeg = std::max(2.0, std::round(strona.height() * 0.04));
    if (!Poziomo())
        return strona.adjusted(brzeg, brzeg, -brzeg, -brzeg);
    const qreal pol = strona.width() / 2;
    const qreal x = prawa ? strona.left() + pol : strona.left();
    return QRectF(x, strona.top(), pol, strona.height()).adjusted(brzeg, brzeg, -brzeg, -brzeg);
}

QRectF TPodgladArkuszy::MiejsceStrony(int arkusz, bool tyl, bool prawa) const
{
    if (arkusz < 0 || arkusz >= arkusze_.size() || (tyl && !arkusze_[arkusz].MaTyl))
        return {};
    return Miejsce(Strona(Rozmiary(), arkusz, tyl), prawa);
}

void TPodgladArkuszy::UstawPasek()
{
    const Uklad u = Rozmiary();
    const int calosc = arkusze_.isEmpty() ? 0 : int(2 * kMargines + arkusze_.size() * u.Krok - kOdstepArkuszy);
    QScrollBar *pasek = horizontalScrollBar();
    pasek->setRange(0, std::max(0, calosc - viewport()->width()));
    pasek->setPageStep(viewport()->width());
    pasek->setSingleStep(std::max(1, int(u.Krok / 2)));
}

void TPodgladArkuszy::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UstawPasek();
}

void TPodgladArkuszy::wheelEvent(QWheelEvent *event)
{
    // The strip runs sideways, so the ordinary wheel moves it too.
    const QPoint kat = event->angleDelta();
    const int delta = kat.x() != 0 ? kat.x() : kat.y();
    QScrollBar *pasek = horizontalScrollBar();
    pasek->setValue(pasek->value() - delta * pasek->singleStep() / 120);
    event->accept();
}

void TPodgladArkuszy::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Mid));
    if (arkusze_.isEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(viewport()->rect(), Qt::AlignCenter, QStringLiteral("Nie wybrano stron"));
        return;
    }
    const Uklad u = Rozmiary();
    const int przesuniecie = horizontalScrollBar()->value();
    // Every sheet is as wide as the next, so the ones in view follow from the scroll position alone.
    const int pierwszy = std::max(0, int((przesuniecie - kMargines) / u.Krok));
    const int ostatni =
        std::min(int(arkusze_.size()) - 1, int((przesuniecie + viewport()->width() - kMargines) / u.Krok));
    const QFontMetrics fm = fontMetrics();
    for (int i = pierwszy; i <= ostatni; ++i) {
        const TArkuszPodgladu &arkusz = arkusze_[i];
        const QRectF przod = Strona(u, i, false);
        RysujStrone(painter, przod, arkusz.Przod, event->rect());
        QRectF calosc = przod;
        if (arkusz.MaTyl) {
            const QRectF tyl = Strona(u, i, true);
            RysujStrone(painter, tyl, arkusz.Tyl, event->rect());
            if (RecznieDwustronnie())
                RysujOdwrocenie(painter, przod, tyl);
            calosc = przod.united(tyl);
        }
        const QString podpis =
            arkusz.MaTyl ? QStringLiteral("Arkusz %1: przód, tył").arg(i + 1) : QStringLiteral("Arkusz %1").arg(i + 1);
        const QRectF podpisRect(calosc.left(), calosc.bottom() + 2, calosc.width(), fm.height() + 2);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(podpisRect, Qt::AlignHCenter | Qt::AlignTop,
                         fm.elidedText(podpis, Qt::ElideRight, int(calosc.width())));
    }
}

void TPodgladArkuszy::RysujStrone(QPainter &painter, const QRectF &strona, const TSheetSide &strony,
                                  const QRectF &widok)
{
    const QRect papier = strona.toRect();
    painter.fillRect(papier, Qt::white);
    // A page whose place is out of view is not played: the edge of the strip cuts sheets in two.
    const QRectF lewa = Miejsce(strona, false);
    if (lewa.intersects(widok))
        RysujStroneWydruku(painter, lewa, strony.Left);
    const QRectF prawa = Miejsce(strona, true);
    if (Poziomo() && prawa.intersects(widok))
        RysujStroneWydruku(painter, prawa, strony.Right);
    if (wejscie_.Tryb == TPrintMode::Ksiazeczka) {
        painter.setPen(QPen(QColor(110, 110, 110), 1, Qt::DashLine));
        const int x = papier.left() + papier.width() / 2;
        painter.drawLine(x, papier.top() + 1, x, papier.bottom() - 1);
    }
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(papier.adjusted(0, 0, -1, -1));
}

void TPodgladArkuszy::RysujStroneWydruku(QPainter &painter, const QRectF &miejsce, int numer)
{
    // Blank padding, and a page the list does not hold, leave the paper white.
    if (numer < 1 || numer > wejscie_.Pages.size() || !wejscie_.Pages[numer - 1])
        return;
    const platform::PageMetafile &strona = *wejscie_.Pages[numer - 1];
    const QRect cel = Dopasuj(miejsce, strona.Size());
    const qreal dpr = viewport()->devicePixelRatioF();
    const QSize piksele = (QSizeF(cel.size()) * dpr).toSize();
    const quint64 klucz = Klucz(numer, piksele);
    QImage obraz;
    if (const QImage *zapamietany = miniatury_.object(klucz)) {
        obraz = *zapamietany;
    } else {
        obraz = QImage(piksele, QImage::Format_RGB32);
        obraz.fill(Qt::white);
        {
            QPainter p(&obraz);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
            strona.Play(p, QRectF(QPointF(0, 0), QSizeF(piksele)));
        }
        obraz.setDevicePixelRatio(dpr);
        ++zagrane_;
        miniatury_.insert(klucz, new QImage(obraz), std::max<qsizetype>(1, obraz.sizeInBytes() / 1024));
    }
    painter.drawImage(cel.topLeft(), obraz);
}

void TPodgladArkuszy::RysujOdwrocenie(QPainter &painter, const QRectF &przod, const QRectF &tyl) const
{
    // A curved arrow over the gap from the front to the back: the sheet is turned before its back.
    const qreal lewy = przod.right() + 3, prawy = tyl.left() - 3;
    const qreal y = przod.center().y();
    const qreal r = (prawy - lewy) / 2;
    QPainterPath luk;
    luk.moveTo(lewy, y);
    luk.arcTo(QRectF(lewy, y - r, 2 * r, 2 * r), 180, -180);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor kolor(20, 70, 170);
    painter.setPen(QPen(kolor, 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(luk);
    QPolygonF grot;
    grot << QPointF(prawy, y + 6) << QPointF(prawy - 4, y - 1) << QPointF(prawy + 4, y - 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kolor);
    painter.drawPolygon(grot);
    painter.restore();
}
