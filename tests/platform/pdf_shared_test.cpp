#include "platform/metafile/PageMetafile.h"
#include "platform/metafile/SharedDrawings.h"
#include "platform/pdf/PdfDocument.h"
#include "platform/text/DrawText.h"
#include "tests/support/Letterhead.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace platform;

namespace {

const QSizeF kA4(210, 297);
const QRectF kTop = wydtest::kLetterheadPlace;
const int kLetterhead = 0; // the key the letterhead is shared under

// Pages that draw their own text in a colour of their own, the letterhead at the given places, then
// text and a filled rectangle in the page's own state again.
std::vector<PageMetafile> Pages(const std::vector<QRectF> &places, Qt::BrushStyle frame = Qt::Dense4Pattern)
{
    SharedDrawings shared;
    std::vector<PageMetafile> pages(places.size());
    const TFont font = CreateFont(-20, -9, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Courier New");
    for (size_t i = 0; i < places.size(); ++i) {
        QPainter p(&pages[i]);
        p.setPen(Qt::red);
        p.setBrush(QBrush(Qt::blue, Qt::Dense5Pattern));
        TRect above{100, 1400, 900, 1460};
        DrawTextEx(&p, font, QStringLiteral("przed %1").arg(i), above, DT_NOPREFIX | DT_NOCLIP);
        shared.Draw(p, &kLetterhead, places[i], [&](QPainter &q) { wydtest::DrawLetterhead(q, places[i], frame); });
        TRect below{100, 1500, 900, 1560};
        DrawTextEx(&p, font, QStringLiteral("pozycja %1").arg(i), below, DT_NOPREFIX | DT_NOCLIP);
        p.drawRect(QRect(100, 1600, 400, 200));
    }
    return pages;
}

// Writes pages, `perSheet` of them side by side on each A4 sheet, and returns the file's bytes.
QByteArray WritePdf(const QString &path, const std::vector<PageMetafile> &pages, int perSheet,
                    const RecordCallback &change)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    PdfDocument pdf(file);
    const double width = kA4.width() / perSheet;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i % size_t(perSheet) == 0)
            pdf.BeginSheet(kA4);
        pdf.DrawPage(pages[i], QRectF(width * double(i % size_t(perSheet)), 0, width, kA4.height()), change);
    }
    EXPECT_TRUE(pdf.Finish());
    file.close();
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QImage Render(const QString &pdf, int sheet)
{
    const QString prefix = QFileInfo(pdf).dir().filePath("render");
    QProcess::execute("pdftoppm", {"-r", "60", "-f", QString::number(sheet), "-l", QString::number(sheet),
                                   "-singlefile", "-png", pdf, prefix});
    return QImage(prefix + ".png");
}

} // namespace

TEST(PdfSharedDrawings, AreWrittenOnceAsFormsAndDrawAsInPlace)
{
    const RecordCallback unchanged = [](MetaRecord &) { return true; };
    const struct {
        const char *name;
        std::vector<QRectF> places;
        int perSheet;
        Qt::BrushStyle frame;
        bool change; // records pass a change callback, which keeps them in place
        int forms;
    } cases[] = {
        {"one place on every page", std::vector<QRectF>(12, kTop), 1, Qt::Dense4Pattern, false, 1},
        {"the first page's elsewhere", {kTop.translated(0, 300), kTop, kTop, kTop}, 1, Qt::SolidPattern, false, 2},
        {"two pages to a sheet, each placed its own way", std::vector<QRectF>(6, kTop), 2, Qt::Dense4Pattern, false, 1},
        {"a hatched frame, drawn in place", std::vector<QRectF>(4, kTop), 1, Qt::DiagCrossPattern, false, 0},
        {"records changed on the way", std::vector<QRectF>(4, kTop), 1, Qt::Dense4Pattern, true, 0},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<PageMetafile> pages = Pages(c.places, c.frame);
        const QString forms = dir.filePath("forms.pdf"), inPlace = dir.filePath("inplace.pdf");
        const QByteArray bytes = WritePdf(forms, pages, c.perSheet, c.change ? unchanged : RecordCallback());
        const QByteArray inPlaceBytes = WritePdf(inPlace, pages, c.perSheet, unchanged);
        EXPECT_EQ(bytes.count("/Subtype /Form"), c.forms);
        // Twelve pages sharing one form cost far less than twelve copies of the letterhead.
        if (pages.size() >= 12) {
            EXPECT_LT(bytes.size() * 3, inPlaceBytes.size());
        }
        const int sheets = int(pages.size()) / c.perSheet;
        for (int sheet : {1, 2, sheets}) {
            SCOPED_TRACE(sheet);
            const QImage drawn = Render(forms, sheet);
            ASSERT_FALSE(drawn.isNull());
            EXPECT_TRUE(drawn == Render(inPlace, sheet));
        }
    }
}
