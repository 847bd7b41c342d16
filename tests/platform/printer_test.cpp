#include "platform/printer/Printer.h"
#include "platform/printer/PrinterError.h"
#include "platform/text/DrawText.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// What the fake backend was asked to do, in order.
struct Log {
    QStringList calls;
    TJobStart lastStart;
    bool refuse = false;
    int dpi = 600;
    qint16 color = DMCOLOR_MONOCHROME;
};

class FakeJob : public TPrintJob {
public:
    explicit FakeJob(Log &log) : log_(log) {}
    ~FakeJob() override { log_.calls << (ended_ ? "gone" : "dropped"); }
    void DrawPicture(const QRect &, const PageMetafile &, const RecordCallback &) override { log_.calls << "picture"; }
    void DrawImage(QPoint, const QImage &) override { log_.calls << "image"; }
    void NewSheet() override { log_.calls << "sheet"; }
    void End() override
    {
        ended_ = true;
        if (log_.refuse)
            throw EPrinter("refused");
        log_.calls << "end";
    }

private:
    Log &log_;
    bool ended_ = false;
};

class FakeBackend : public TPrinterBackend {
public:
    FakeBackend(Log &log, QList<TPrinterInfo> printers, int defaultIndex)
        : log_(log), printers_(std::move(printers)), default_(defaultIndex)
    {
    }
    QList<TPrinterInfo> Printers(int &defaultIndex) override
    {
        defaultIndex = default_;
        return printers_;
    }
    std::optional<TDevMode> DefaultSettings(const TPrinterInfo &) override
    {
        TDevMode settings;
        settings.Color = log_.color;
        return settings;
    }
    QList<TPrinterOption> Options(const TPrinterInfo &) override { return {}; }
    TDeviceCaps Capabilities(const TPrinterInfo &, const TDevMode &, TOrientation) override
    {
        return {1000, 2000, 10, 20, log_.dpi, log_.dpi};
    }
    std::unique_ptr<TPrintJob> BeginJob(const TJobStart &start) override
    {
        log_.lastStart = start;
        return std::make_unique<FakeJob>(log_);
    }

private:
    Log &log_;
    QList<TPrinterInfo> printers_;
    int default_;
};

const QList<TPrinterInfo> kTwo = {{"biuro", "HP LaserJet", "ipp://biuro"}, {"magazyn", "Brother", "usb://b"}};

TEST(Printer, TheListEndsWithTheVirtualPrinterAndStartsAtTheDefault)
{
    const struct {
        QList<TPrinterInfo> printers;
        int backendDefault;
        int start;
    } rows[] = {
        {kTwo, 1, 1},
        {kTwo, -1, 2}, // no default: the virtual printer
        {{}, -1, 0},
    };
    for (const auto &row : rows) {
        Log log;
        TPrinter printer(std::make_unique<FakeBackend>(log, row.printers, row.backendDefault));
        printer.SetPdfFile("/tmp/out.pdf");
        ASSERT_EQ(printer.Printers().size(), row.printers.size() + 1);
        EXPECT_EQ(printer.Printers().last(), (TPrinterInfo{"PDF", "Wenoglad PDF", "/tmp/out.pdf"}));
        EXPECT_EQ(printer.PrinterIndex(), row.start);
    }
}

TEST(Printer, ReselectingReadsCapabilitiesAfreshAndKeepsWrittenSettings)
{
    Log log;
    TPrinter printer(std::make_unique<FakeBackend>(log, kTwo, 0));
    EXPECT_EQ(printer.Capabilities().LogPixelsX, 600);
    log.dpi = 300;
    EXPECT_EQ(printer.Capabilities().LogPixelsX, 600); // the device context is kept...
    printer.SetPrinterIndex(0);
    EXPECT_EQ(printer.Capabilities().LogPixelsX, 300); // ...until the printer is selected again

    // The colour the print action writes survives re-selection and reaches the job.
    TDevMode settings = *printer.Settings();
    settings.Fields |= DM_COLOR;
    settings.Color = DMCOLOR_COLOR;
    printer.SetPrinter(printer.CurrentPrinter(), settings);
    printer.SetPrinterIndex(printer.PrinterIndex());
    printer.BeginDoc();
    EXPECT_EQ(log.lastStart.Settings.Color, DMCOLOR_COLOR);
    printer.Abort();
    // Another printer starts from its own settings.
    log.color = DMCOLOR_MONOCHROME;
    printer.SetPrinterIndex(1);
    EXPECT_EQ(printer.Settings()->Color, DMCOLOR_MONOCHROME);
}

TEST(Printer, TheAbortProcedureRunsAfterEveryDrawingCall)
{
    Log log;
    TPrinter printer(std::make_unique<FakeBackend>(log, kTwo, 0));
    printer.BeginDoc();
    // The default one handles pending events.
    bool handled = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { handled = true; }, Qt::QueuedConnection);
    printer.Canvas().DrawImage({}, QImage(1, 1, QImage::Format_Mono));
    EXPECT_TRUE(handled);

    int runs = 0;
    printer.SetAbortProc([&] { runs = int(log.calls.size()); });
    printer.Canvas().DrawPicture({}, PageMetafile(), {});
    EXPECT_EQ(runs, log.calls.size()); // after the drawing
    printer.NewPage();
    printer.Canvas().DrawImage({}, QImage(1, 1, QImage::Format_Mono));
    EXPECT_EQ(runs, 4);

    printer.SetAbortProc({});
    handled = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { handled = true; }, Qt::QueuedConnection);
    printer.Canvas().DrawImage({}, QImage(1, 1, QImage::Format_Mono));
    EXPECT_FALSE(handled);
    QCoreApplication::processEvents();
}

TEST(Printer, AbandonedAndRefusedJobsLeaveNoJobOpen)
{
    const struct {
        const char *name;
        bool abandon;
        bool refuse;
        QStringList calls;
    } rows[] = {
        {"ended", false, false, {"picture", "end", "gone"}},
        {"abandoned", true, false, {"picture", "dropped"}},
        {"refused", false, true, {"picture", "gone"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Log log;
        log.refuse = row.refuse;
        TPrinter printer(std::make_unique<FakeBackend>(log, kTwo, 0));
        printer.SetAbortProc({});
        printer.Title = "Faktura";
        printer.BeginDoc();
        EXPECT_TRUE(printer.Printing());
        EXPECT_EQ(log.lastStart.Title, "Faktura");
        printer.Canvas().DrawPicture({}, PageMetafile(), {});
        if (row.abandon)
            printer.Abort();
        else if (row.refuse)
            EXPECT_THROW(printer.EndDoc(), EPrinter);
        else
            printer.EndDoc();
        EXPECT_FALSE(printer.Printing());
        EXPECT_THROW(printer.Canvas(), EPrinter);
        EXPECT_EQ(log.calls, row.calls);
    }
}

TEST(Printer, TheVirtualPrinterIsA4At600DpiUnlessItsSettingsSayOtherwise)
{
    const struct {
        TOrientation orientation;
        int resolution; // of the settings block; 0 leaves the default
        TDeviceCaps caps;
    } rows[] = {
        // 210 x 297 mm at 600 dpi, rounded to whole pixels
        {TOrientation::Portrait, 0, {4961, 7016, 0, 0, 600, 600}},
        {TOrientation::Landscape, 0, {7016, 4961, 0, 0, 600, 600}},
        {TOrientation::Portrait, 300, {2480, 3508, 0, 0, 300, 300}},
    };
    for (const auto &row : rows) {
        Log log;
        TPrinter printer(std::make_unique<FakeBackend>(log, QList<TPrinterInfo>{}, -1));
        TDevMode settings = *printer.Settings();
        settings.Resolution = row.resolution;
        printer.SetPrinter(printer.CurrentPrinter(), settings);
        printer.SetOrientation(row.orientation);
        EXPECT_EQ(printer.Capabilities(), row.caps) << row.resolution;
    }
}

QString Output(const QString &program, const QStringList &args)
{
    QProcess proc;
    proc.start(program, args);
    proc.waitForFinished(30000);
    return QString::fromUtf8(proc.readAllStandardOutput());
}

PageMetafile TextPage(const QString &text)
{
    PageMetafile page;
    QPainter p(&page);
    TRect r{100, 100, 1400, 200};
    DrawTextEx(&p, CreateFont(-60, -27, 0, 0, 400, 0, 0, 0, 238, 0, 0, 1, 0, "Arial"), text, r,
               DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    return page;
}

TEST(Printer, TheVirtualPrinterWritesItsFileOnlyWhenTheJobEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("wydruk.pdf");
    Log log;
    TPrinter printer(std::make_unique<FakeBackend>(log, QList<TPrinterInfo>{}, -1));
    try {
        printer.BeginDoc();
        ADD_FAILURE() << "began without a file";
    } catch (const EPrinter &e) {
        EXPECT_EQ(e.Message().toStdString(), "Nie wskazano pliku, do którego drukarka PDF ma zapisać wydruk.");
    }
    EXPECT_FALSE(printer.Printing());

    printer.SetPdfFile(path);
    printer.BeginDoc();
    printer.Canvas().DrawPicture(QRect(0, 0, 4961, 7016), TextPage("Porzucona"), {});
    printer.Abort();
    EXPECT_FALSE(QFile::exists(path));

    // Two pages side by side on a landscape sheet of 7016 x 4961 pixels, then a sheet of one page.
    printer.SetOrientation(TOrientation::Landscape);
    printer.BeginDoc();
    printer.Canvas().DrawPicture(QRect(0, 0, 3508, 4961), TextPage("Lewa"), {});
    printer.Canvas().DrawPicture(QRect(3508, 0, 3508, 4961), TextPage("Prawa"), {});
    printer.NewPage();
    printer.Canvas().DrawPicture(QRect(0, 0, 7016, 4961), TextPage("Trzecia"), {});
    EXPECT_FALSE(QFile::exists(path));
    printer.EndDoc();

    const QString info = Output("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("841.89 x 595.276 pts (A4)")) << info.toStdString();
    const QString bbox = Output("pdftotext", {"-bbox", path, "-"});
    // Text 100 of the page's 1429 units from its left edge: 29.5 points into each half of 841.89.
    const struct {
        const char *word;
        double xMin;
    } rows[] = {{"Lewa", 29.5}, {"Prawa", 450.4}, {"Trzecia", 58.9}};
    for (const auto &row : rows) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString("xMin=\"([0-9.]+)\"[^>]*>%1<").arg(row.word)).match(bbox);
        ASSERT_TRUE(m.hasMatch()) << row.word << bbox.toStdString();
        EXPECT_NEAR(m.captured(1).toDouble(), row.xMin, 2) << row.word;
    }
    EXPECT_LT(bbox.indexOf("Prawa"), bbox.indexOf("Trzecia"));
}

TEST(PrinterOptions, TheSettingsValueWhereItNamesAChoiceTheDefaultOtherwise)
{
    const auto option = [](const QString &keyword, const QStringList &values, const QString &value) {
        TPrinterOption o = MakePrinterOption(keyword);
        for (const QString &v : values)
            o.Choices.append({v, v});
        o.Value = value;
        return o;
    };
    const QStringList papers{"iso_a4_210x297mm", "na_letter_8.5x11in"};
    const struct {
        const char *name;
        TPrinterOption option;
        TDevMode settings;
        QString value;
    } rows[] = {
        // A queue's own default comes in the legacy or PPD name as often as in the PWG one.
        {"a legacy paper name", option(kOptionMedia, papers, "na_letter_8.5x11in"), TDevMode{.Media = "A4"},
         "iso_a4_210x297mm"},
        {"a PPD paper name", option(kOptionMedia, papers, "na_letter_8.5x11in"), TDevMode{.Media = "Letter"},
         "na_letter_8.5x11in"},
        {"a paper the printer lacks", option(kOptionMedia, papers, "na_letter_8.5x11in"), TDevMode{.Media = "A3"},
         "na_letter_8.5x11in"},
        {"a default that is no choice", option(kOptionMedia, papers, "iso_a3_297x420mm"), TDevMode{},
         "iso_a4_210x297mm"},
        {"colour not set on purpose", option(kOptionColorMode, {"color", "monochrome"}, "monochrome"),
         TDevMode{.Color = DMCOLOR_COLOR}, "monochrome"},
        {"colour set", option(kOptionColorMode, {"color", "monochrome"}, "monochrome"),
         TDevMode{.Fields = DM_COLOR, .Color = DMCOLOR_COLOR}, "color"},
        {"a resolution of two", option(kOptionResolution, {"300dpi", "300x600dpi"}, "300dpi"),
         TDevMode{.Resolution = 300, .ResolutionY = 600}, "300x600dpi"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WithSettingsValues({row.option}, row.settings).first().Value, row.value);
    }
}

TEST(PrinterOptions, LabelsOfTheStandardsNames)
{
    const struct {
        QString keyword, value, label;
    } rows[] = {
        {kOptionMedia, "iso_a4_210x297mm", "A4 (210 × 297 mm)"},
        {kOptionMedia, "na_letter_8.5x11in", "Letter (8,5 × 11″)"},
        {kOptionMedia, "jis_b5_182x257mm", "JIS B5 (182 × 257 mm)"},
        {kOptionMedia, "custom_16x20in_16x20in", "16 × 20″"},
        {kOptionMedia, "Letter", ""}, // not a PWG name: the backend asks CUPS
        {kOptionResolution, "300x600dpi", "300 × 600 dpi"},
        {kOptionMediaSource, "tray-12", "Podajnik 12"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(StandardChoiceLabel(row.keyword, row.value), row.label) << row.value.toStdString();
}

} // namespace

TEST(QueueState, WarnsOnlyWhenTheJobWaits)
{
    struct Case {
        const char *name;
        TQueueState state;
        const char *says; // a part of the warning; null: no warning
    };
    const Case cases[] = {
        {"idle", {}, nullptr},
        {"reports and passing states", {false, true, {"offline-report", "connecting-to-device"}}, nullptr},
        {"stopped", {true, true, {}}, "wstrzymana"},
        {"rejecting", {false, false, {}}, "nie przyjmuje"},
        {"out of paper", {false, true, {"media-empty-error"}}, "brak papieru"},
        {"no toner, warned", {false, true, {"toner-empty-warning"}}, "brak tonera"},
        {"offline", {false, true, {"offline"}}, "wyłączona lub odłączona"},
        {"an unknown error by name", {false, true, {"fuser-over-temp-error"}}, "fuser-over-temp"},
        {"one cause said once", {true, true, {"paused"}}, "wstrzymana."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString warning = QueueWarning(QStringLiteral("biuro"), c.state);
        if (!c.says) {
            EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
            continue;
        }
        EXPECT_TRUE(warning.contains(QStringLiteral("\"biuro\""))) << warning.toStdString();
        EXPECT_TRUE(warning.contains(QString::fromUtf8(c.says))) << warning.toStdString();
        EXPECT_TRUE(warning.contains(QStringLiteral("czeka w kolejce")));
        EXPECT_EQ(warning.count(QStringLiteral("wstrzymana")), c.state.Stopped ? 1 : 0);
    }
}

TEST(QueueState, BothSidesWhenTheSidesOptionOffersTwo)
{
    TPrinterOption sides = MakePrinterOption(kOptionSides);
    sides.Choices = {{QStringLiteral("one-sided"), {}}};
    TPrinterOption media = MakePrinterOption(kOptionMedia);
    media.Choices = {{QStringLiteral("two-sided-long-edge"), {}}}; // not the sides option
    EXPECT_FALSE(PrintsBothSides({}));
    EXPECT_FALSE(PrintsBothSides({sides, media}));
    sides.Choices.append({QStringLiteral("two-sided-short-edge"), {}});
    EXPECT_TRUE(PrintsBothSides({media, sides}));
}
