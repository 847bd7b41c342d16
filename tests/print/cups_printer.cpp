// Printing through a real CUPS server: run by cups_print_test.sh against a private cupsd with a
// cups-pdf queue ($WENOGLAD_CUPS_QUEUE, the default destination) and a queue that refuses jobs
// ($WENOGLAD_CUPS_REFUSING); once the jobs are done, the script runs it again on the folder of the
// PDFs the queue made ($WENOGLAD_CUPS_OUTPUT).
//
// The way through CUPS (PDF to PostScript to PDF) keeps no text that can be extracted, so each sheet
// also carries a black block whose height on the sheet tells which sheet it is, and the landscape
// sheet a bar along its top edge.
#include "platform/printer/CupsBackend.h"
#include "platform/printer/Printer.h"
#include "platform/printer/PrinterError.h"
#include "platform/text/DrawText.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <cups/cups.h>
#include <gtest/gtest.h>

using namespace platform;

namespace platform {
void PrintTo(const TDeviceCaps &c, std::ostream *os)
{
    *os << c.PhysicalWidth << " x " << c.PhysicalHeight << " from " << c.PhysicalOffsetX << ", " << c.PhysicalOffsetY
        << " at " << c.LogPixelsX << " x " << c.LogPixelsY;
}
} // namespace platform

namespace {

QString Env(const char *name)
{
    return qEnvironmentVariable(name);
}

// The block of sheet k lies from (0.1 + 0.4 k) to (0.2 + 0.4 k) of the page's height, at its left.
constexpr int kMarkTop = 200, kMarkStep = 800, kMarkHeight = 200;

PageMetafile TextPage(const QString &text, int sheet = 0, bool bar = false)
{
    PageMetafile page;
    QPainter p(&page);
    TRect r{300, 100, 1400, 200};
    DrawTextEx(&p, CreateFont(-60, -27, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Arial"), text, r,
               DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    p.fillRect(QRect(0, kMarkTop + sheet * kMarkStep, 150, kMarkHeight), Qt::black);
    if (bar)
        p.fillRect(QRect(0, 0, kPageWidth, 60), Qt::black);
    return page;
}

int IndexOf(TPrinter &printer, const QString &device)
{
    const QList<TPrinterInfo> &list = printer.Printers();
    for (int i = 0; i < int(list.size()); ++i)
        if (list[i].Device == device)
            return i;
    return -1;
}

void PrintSheets(TPrinter &printer, const QString &title, const QStringList &sheets, bool bar = false)
{
    printer.Title = title;
    printer.BeginDoc();
    const TDeviceCaps caps = printer.Capabilities();
    for (int i = 0; i < int(sheets.size()); ++i) {
        if (i > 0)
            printer.NewPage();
        printer.Canvas().DrawPicture(
            QRect(0, 0, caps.PhysicalWidth - 2 * caps.PhysicalOffsetX, caps.PhysicalHeight - 2 * caps.PhysicalOffsetY),
            TextPage(sheets[i], i, bar), {});
    }
    printer.EndDoc();
}

// Temporary PDFs of jobs go to the test's own temporary folder: it must be empty after every job.
bool TempFolderEmpty()
{
    return QDir(QDir::tempPath()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty();
}

class CupsPrinter : public testing::Test {
protected:
    void SetUp() override
    {
        if (Env("CUPS_SERVER").isEmpty() || Env("WENOGLAD_CUPS_QUEUE").isEmpty())
            GTEST_SKIP() << "run by cups_print_test.sh against a private cupsd";
    }
    TPrinter printer{MakeCupsBackend()};
    const QString queue = Env("WENOGLAD_CUPS_QUEUE");
};

TEST_F(CupsPrinter, ListsTheQueuesThenTheVirtualPrinterFromTheDefault)
{
    const QList<TPrinterInfo> &list = printer.Printers();
    const int at = IndexOf(printer, queue);
    ASSERT_GE(at, 0);
    EXPECT_EQ(list[at].Driver.toStdString(), "Generic CUPS-PDF Printer (w/ options)");
    EXPECT_EQ(list[at].Port, "cups-pdf:/" + queue);
    EXPECT_EQ(list.last().Device, kPdfPrinterDevice);
    EXPECT_EQ(printer.PrinterIndex(), at);
}

TEST_F(CupsPrinter, SettingsAndCapabilitiesComeFromTheQueue)
{
    // The cups-pdf driver's defaults: A4 (595 x 842 points, 209.9 x 297.04 mm) at 300 dpi. The
    // margins queue may not print 18 points left, 36 right and top, 54 at the bottom; a landscape
    // sheet lies on the paper turned a quarter clockwise, so its left margin is the paper's bottom.
    const struct {
        QString device;
        qint16 color; // the queue's print-color-mode default
        TDeviceCaps portrait, landscape;
    } rows[] = {
        {queue, DMCOLOR_COLOR, {2479, 3508, 0, 0, 300, 300}, {3508, 2479, 0, 0, 300, 300}},
        {Env("WENOGLAD_CUPS_REFUSING"), DMCOLOR_MONOCHROME, {2479, 3508, 0, 0, 300, 300}, {3508, 2479, 0, 0, 300, 300}},
        {Env("WENOGLAD_CUPS_MARGINS"), DMCOLOR_COLOR, {2479, 3508, 75, 150, 300, 300}, {3508, 2479, 225, 75, 300, 300}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.device.toStdString());
        printer.SetPrinterIndex(IndexOf(printer, row.device));
        const std::optional<TDevMode> settings = printer.Settings();
        ASSERT_TRUE(settings);
        EXPECT_EQ(settings->Color, row.color);
        printer.SetOrientation(TOrientation::Portrait);
        EXPECT_EQ(printer.Capabilities(), row.portrait);
        printer.SetOrientation(TOrientation::Landscape);
        EXPECT_EQ(printer.Capabilities(), row.landscape);
    }
}

TEST_F(CupsPrinter, JobsReachTheQueueAndAbandonedOnesDoNot)
{
    printer.SetPrinterIndex(IndexOf(printer, queue));
    printer.SetOrientation(TOrientation::Portrait);
    PrintSheets(printer, "wenoglad-two-sheets", {"Arkusz pierwszy", "Arkusz drugi"});
    EXPECT_TRUE(TempFolderEmpty());

    printer.Title = "wenoglad-abandoned";
    printer.BeginDoc();
    printer.Canvas().DrawPicture(QRect(0, 0, 1000, 1000), TextPage("Porzucony"), {});
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(TempFolderEmpty());

    // In black and white: the script finds print-color-mode=monochrome among the job's options.
    TDevMode mono = *printer.Settings();
    mono.Color = DMCOLOR_MONOCHROME;
    printer.SetPrinter(printer.CurrentPrinter(), mono);
    printer.SetOrientation(TOrientation::Landscape);
    PrintSheets(printer, "wenoglad-landscape", {"Poziomo"}, true);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(CupsPrinter, TheQueuesOptionsComeFromItsServer)
{
    // What the cups-pdf driver offers: its paper sizes with the server's A4 the default (its A5 of
    // 421 x 595 points is no ISO A5 to CUPS), colour and black and white, 150 to 2400 dpi with 300 the
    // default, one side only, and no input tray.
    printer.SetPrinterIndex(IndexOf(printer, queue));
    const QList<TPrinterOption> options = printer.Options(*printer.Settings());
    const struct {
        QString keyword, value;
        QStringList among;
    } rows[] = {
        {kOptionMedia, "iso_a4_210x297mm", {"iso_a3_297x420mm", "na_letter_8.5x11in", "na_legal_8.5x14in"}},
        {kOptionColorMode, "color", {"monochrome"}},
        {kOptionResolution, "300dpi", {"150dpi", "600dpi", "2400dpi"}},
        {kOptionSides, "one-sided", {}},
    };
    ASSERT_EQ(options.size(), std::size(rows));
    for (int i = 0; i < int(std::size(rows)); ++i) {
        SCOPED_TRACE(rows[i].keyword.toStdString());
        EXPECT_EQ(options[i].Keyword, rows[i].keyword);
        EXPECT_EQ(options[i].Value, rows[i].value);
        QStringList values;
        for (const TPrinterChoice &choice : options[i].Choices) {
            values << choice.Value;
            EXPECT_FALSE(choice.Label.isEmpty());
        }
        for (const QString &value : rows[i].among + QStringList{rows[i].value})
            EXPECT_TRUE(values.contains(value)) << value.toStdString();
    }
    // The refusing queue's colour default is black and white; the options queue's driver adds input
    // trays and two-sided printing.
    printer.SetPrinterIndex(IndexOf(printer, Env("WENOGLAD_CUPS_REFUSING")));
    EXPECT_EQ(printer.Options(*printer.Settings())[1].Value, "monochrome");
    printer.SetPrinterIndex(IndexOf(printer, Env("WENOGLAD_CUPS_OPTIONS")));
    const QList<TPrinterOption> more = printer.Options(*printer.Settings());
    ASSERT_EQ(more.size(), 5);
    const auto choices = [](const TPrinterOption &option) {
        QStringList list;
        for (const TPrinterChoice &choice : option.Choices)
            list << choice.Value + "=" + choice.Label;
        return list.join(", ").toStdString();
    };
    EXPECT_EQ(choices(more[3]), "one-sided=Jednostronnie, two-sided-long-edge=Dwustronnie, wzdłuż dłuższej krawędzi, "
                                "two-sided-short-edge=Dwustronnie, wzdłuż krótszej krawędzi");
    EXPECT_EQ(choices(more[4]), "auto=Wybór automatyczny, tray-1=Podajnik 1, manual=Podawanie ręczne");
    EXPECT_EQ(more[4].Value, "auto");

    printer.SetPrinter({"wenoglad-no-such-queue", {}, {}}, TDevMode{});
    EXPECT_THROW(printer.Options(TDevMode{}), EPrinter);
}

TEST_F(CupsPrinter, TheQueueSaysWhetherItPrintsBothSidesAndWhetherJobsWait)
{
    const struct {
        QString device;
        bool bothSides;
        bool stopped, accepting;
    } rows[] = {
        {queue, false, false, true},
        {Env("WENOGLAD_CUPS_OPTIONS"), true, false, true},
        {Env("WENOGLAD_CUPS_REFUSING"), false, false, false},
        {Env("WENOGLAD_CUPS_STOPPED"), false, true, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.device.toStdString());
        printer.SetPrinterIndex(IndexOf(printer, row.device));
        EXPECT_EQ(printer.PrintsBothSides(), row.bothSides);
        const std::optional<TQueueState> state = printer.QueueState();
        ASSERT_TRUE(state);
        EXPECT_EQ(state->Stopped, row.stopped);
        EXPECT_EQ(state->AcceptingJobs, row.accepting);
        EXPECT_EQ(QueueWarning(row.device, *state).isEmpty(), !row.stopped && row.accepting);
    }
    // The virtual printer's file is what a two-sided printer is sent; it has no queue.
    printer.SetPrinterIndex(int(printer.Printers().size()) - 1);
    EXPECT_TRUE(printer.PrintsBothSides());
    EXPECT_FALSE(printer.QueueState());
}

TEST_F(CupsPrinter, AJobCarriesTheChosenOptions)
{
    // The script finds the options among the job's and an A3 page in the queue's PDF.
    printer.SetPrinterIndex(IndexOf(printer, Env("WENOGLAD_CUPS_OPTIONS")));
    TDevMode settings = *printer.Settings();
    SetOptionValue(settings, kOptionMedia, "iso_a3_297x420mm");
    SetOptionValue(settings, kOptionResolution, "600dpi");
    SetOptionValue(settings, kOptionColorMode, "monochrome");
    SetOptionValue(settings, kOptionSides, "two-sided-long-edge");
    SetOptionValue(settings, kOptionMediaSource, "tray-1");
    printer.SetPrinter(printer.CurrentPrinter(), settings);
    printer.SetOrientation(TOrientation::Portrait);
    // The driver's A3, 842 x 1191 points, at 600 dpi.
    EXPECT_EQ(printer.Capabilities(), (TDeviceCaps{7017, 9925, 0, 0, 600, 600}));
    PrintSheets(printer, "wenoglad-options", {"Opcje"});
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(CupsPrinter, TheCanvasBeginsAtThePrintableAreasCorner)
{
    PageMetafile black;
    {
        QPainter p(&black);
        p.fillRect(QRect(0, 0, kPageWidth, kPageHeight), Qt::black);
    }
    printer.SetPrinterIndex(IndexOf(printer, Env("WENOGLAD_CUPS_MARGINS")));
    for (const auto &[orientation, title] : {std::pair{TOrientation::Portrait, "wenoglad-margins-portrait"},
                                             std::pair{TOrientation::Landscape, "wenoglad-margins-landscape"}}) {
        printer.SetOrientation(orientation);
        printer.Title = title;
        printer.BeginDoc();
        printer.Canvas().DrawPicture(QRect(0, 0, 300, 300), black, {}); // an inch square
        printer.EndDoc();
    }
}

TEST_F(CupsPrinter, AJobCupsRefusesSaysWhatWasNotPrintedWhereAndWhy)
{
    // Which printout on which printer in Polish, then the printing system's words: the bare English
    // of libcups was all the user read.
    const QString refusing = Env("WENOGLAD_CUPS_REFUSING");
    const QByteArray server = qgetenv("CUPS_SERVER");
    const struct {
        TPrinterInfo printer;
        bool serverGone; // the server goes away while the job is written
        QString why;
        const char *words;
    } rows[] = {
        {{refusing, {}, {}}, false, "drukarka nie przyjmuje teraz zadań.", "is not accepting jobs"},
        // Failures before the server answers: libcups words them only after errno.
        {{"wenoglad-no-such-queue", {}, {}}, false, "serwer wydruku nie zna tej drukarki.", nullptr},
        {{queue, {}, {}}, true, "nie można połączyć się z serwerem wydruku.", nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.printer.Device.toStdString());
        printer.SetPrinter(row.printer, TDevMode{});
        printer.Title = "wenoglad-refused";
        printer.BeginDoc();
        printer.Canvas().DrawPicture(QRect(0, 0, 1000, 1000), TextPage("Odrzucony"), {});
        if (row.serverGone)
            cupsSetServer(QDir::temp().filePath("no-cupsd.sock").toUtf8().constData());
        try {
            printer.EndDoc();
            ADD_FAILURE() << "the job was taken";
        } catch (const EPrinter &e) {
            const QStringList lines = e.Message().split(u'\r');
            EXPECT_EQ(lines[0].toStdString(),
                      QStringLiteral("Wydruk \"wenoglad-refused\" nie został wydrukowany na drukarce \"%1\": %2")
                          .arg(row.printer.Device, row.why)
                          .toStdString());
            ASSERT_EQ(lines.size(), row.words ? 2 : 1) << e.Message().toStdString();
            if (row.words) {
                EXPECT_TRUE(lines[1].startsWith("Odpowiedź serwera wydruku: ")) << lines[1].toStdString();
                EXPECT_TRUE(lines[1].contains(row.words)) << lines[1].toStdString();
            }
        }
        cupsSetServer(server.constData());
        EXPECT_FALSE(printer.Printing());
        EXPECT_TRUE(TempFolderEmpty());
    }
}

// A page of a PDF the queue made, in grey as a viewer shows it.
QImage Render(const QString &pdf, int page, int dpi = 30)
{
    const QString prefix = QDir::temp().filePath("page");
    QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-gray", "-f", QString::number(page), "-l",
                                   QString::number(page), "-singlefile", "-png", pdf, prefix});
    QImage image(prefix + ".png");
    QFile::remove(prefix + ".png");
    return image.convertToFormat(QImage::Format_Grayscale8);
}

// Where the rows whose left tenth is mostly black lie, as a share of the page's height; -1 if none.
double MarkAt(const QImage &page)
{
    double sum = 0;
    int rows = 0;
    for (int y = 0; y < page.height(); ++y) {
        int dark = 0;
        for (int x = 0; x < page.width() / 10; ++x)
            dark += page.constScanLine(y)[x] < 128;
        if (dark * 2 > page.width() / 10) {
            sum += y;
            ++rows;
        }
    }
    return rows ? sum / rows / page.height() : -1;
}

// Whether a black line runs along most of the page's longer side: the bar along the top of a
// landscape sheet, whichever way the paper was turned.
bool BarAlongLongSide(const QImage &page)
{
    const bool tall = page.height() > page.width();
    const int lines = tall ? page.width() : page.height(), length = tall ? page.height() : page.width();
    for (int i = 0; i < lines; ++i) {
        int dark = 0;
        for (int j = 0; j < length; ++j)
            dark += (tall ? page.constScanLine(j)[i] : page.constScanLine(i)[j]) < 128;
        if (dark > length * 8 / 10)
            return true;
    }
    return false;
}

TEST(CupsOutput, TheSquareLiesInsideTheMargins)
{
    const QDir out(Env("WENOGLAD_CUPS_MARGINS_OUTPUT"));
    if (Env("WENOGLAD_CUPS_MARGINS_OUTPUT").isEmpty())
        GTEST_SKIP() << "run by cups_print_test.sh once the queue has made its PDFs";
    // The paper comes out upright (595 x 842 points), 18 points left and 54 at the bottom not
    // printed on. The landscape sheet lies turned a quarter clockwise: its top-left corner is the
    // paper's bottom-left one, and its printable area begins 54 points up and 18 in.
    const struct {
        const char *title;
        QRect square; // in points from the paper's top-left corner
    } rows[] = {{"wenoglad-margins-portrait", QRect(18, 36, 72, 72)},
                {"wenoglad-margins-landscape", QRect(18, 842 - 54 - 72, 72, 72)}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.title);
        const QStringList pdfs = out.entryList({QString(row.title) + "*.pdf"});
        ASSERT_EQ(pdfs.size(), 1);
        const QImage page = Render(out.filePath(pdfs[0]), 1, 72); // a pixel a point
        QRect ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.constScanLine(y)[x] < 128)
                    ink |= QRect(x, y, 1, 1);
        EXPECT_NEAR(ink.left(), row.square.left(), 1);
        EXPECT_NEAR(ink.top(), row.square.top(), 1);
        EXPECT_NEAR(ink.width(), row.square.width(), 1);
        EXPECT_NEAR(ink.height(), row.square.height(), 1);
    }
}

TEST(CupsOutput, SheetsCameOutInOrderAndTheLandscapeOneTurned)
{
    const QDir out(Env("WENOGLAD_CUPS_OUTPUT"));
    if (Env("WENOGLAD_CUPS_OUTPUT").isEmpty())
        GTEST_SKIP() << "run by cups_print_test.sh once the queue has made its PDFs";
    const QStringList two = out.entryList({"wenoglad-two-sheets*.pdf"}),
                      land = out.entryList({"wenoglad-landscape*.pdf"});
    ASSERT_EQ(two.size(), 1);
    ASSERT_EQ(land.size(), 1);
    const struct {
        QString pdf;
        int page;
        double mark; // the block's middle: sheet k at 0.15 + 0.4 k of the page's height
        bool bar;
    } rows[] = {{two[0], 1, 0.15, false}, {two[0], 2, 0.55, false}, {land[0], 1, -2, true}};
    for (const auto &row : rows) {
        SCOPED_TRACE((row.pdf + " page " + QString::number(row.page)).toStdString());
        const QImage page = Render(out.filePath(row.pdf), row.page);
        ASSERT_FALSE(page.isNull());
        if (row.mark > -2) {
            EXPECT_NEAR(MarkAt(page), row.mark, 0.03);
        }
        EXPECT_EQ(BarAlongLongSide(page), row.bar);
    }
}

} // namespace
