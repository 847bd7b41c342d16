#include "platform/printer/Printer.h"
#include "platform/printer/PrinterError.h"
#include "printdialog/PrinterProperties.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/ui/ModalDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;

namespace platform {
void PrintTo(const TDevMode &s, std::ostream *os)
{
    *os << "{fields " << s.Fields << ", color " << s.Color << ", " << s.Media.toStdString() << ", " << s.Resolution
        << "x" << s.ResolutionY << ", " << s.Sides.toStdString() << ", " << s.MediaSource.toStdString() << "}";
}
} // namespace platform

namespace {

using TValues = QMap<QString, QString>; // option keyword -> choice value

TPrinterOption Option(const QString &keyword, const QStringList &values)
{
    TPrinterOption option = MakePrinterOption(keyword);
    for (const QString &value : values)
        option.Choices.append({value, value});
    option.Value = values.first();
    return option;
}

// What the dialog showed and whether OK could be pressed.
struct TSeen {
    TValues Shown;
    bool OkEnabled = false;
};

// Runs the properties dialog: picks the values in choose, presses "Wybierz..." when asked, then OK or
// Anuluj.
bool RunDialog(TPrinter &printer, bool &colour, const TValues &choose, bool ok, TSeen &seen, bool pickFile = false)
{
    ModalDriver driver;
    driver.Then([&](QWidget *dialog) {
        for (QComboBox *combo : dialog->findChildren<QComboBox *>()) {
            seen.Shown[combo->objectName()] = combo->currentData().toString();
            if (choose.contains(combo->objectName()))
                combo->setCurrentIndex(combo->findData(choose[combo->objectName()]));
        }
        if (pickFile)
            QTest::mouseClick(dialog->findChild<QPushButton *>("btnWybierz"), Qt::LeftButton);
        auto *okButton = dialog->findChild<QPushButton *>("btnOk");
        seen.OkEnabled = okButton->isEnabled();
        QTest::mouseClick(ok && seen.OkEnabled ? okButton : dialog->findChild<QPushButton *>("btnAnuluj"),
                          Qt::LeftButton);
    });
    const bool accepted = EditPrinterProperties(nullptr, printer, colour);
    EXPECT_TRUE(driver.ran);
    EXPECT_FALSE(driver.closedBySafety);
    return accepted;
}

TEST(PrinterProperties, AQueuesOptionsAndTheColourBox)
{
    auto recording = std::make_shared<TPrinterRecording>();
    recording->Options = {
        Option(kOptionMedia, {"iso_a4_210x297mm", "iso_a3_297x420mm"}),
        Option(kOptionColorMode, {"color", "monochrome"}),
        Option(kOptionResolution, {"600dpi", "300x600dpi"}),
        Option(kOptionSides, {"one-sided", "two-sided-long-edge"}),
        Option(kOptionMediaSource, {"auto", "tray-2"}),
    };
    const TValues all{{kOptionMedia, "iso_a3_297x420mm"},
                      {kOptionColorMode, "monochrome"},
                      {kOptionResolution, "300x600dpi"},
                      {kOptionSides, "two-sided-long-edge"},
                      {kOptionMediaSource, "tray-2"}};
    // What OK writes when only the colour mode is chosen: the queue's defaults shown.
    const auto defaults = [](qint16 color) {
        return TDevMode{DM_COLOR, color, "iso_a4_210x297mm", 600, 0, "one-sided", "auto"};
    };
    const struct {
        const char *name;
        bool colour;       // the print dialog's check box
        qint16 queueColor; // the colour field of the printer's block
        TValues choose;
        bool ok;
        QString shownColor; // the colour mode the dialog opened with
        bool accepted, colourAfter;
        TDevMode settingsAfter;
    } rows[] = {
        {"cancelled after choosing everything: nothing changes", true, DMCOLOR_MONOCHROME, all, false, "color", false,
         true, TDevMode{0, DMCOLOR_MONOCHROME}},
        {"OK writes every choice",
         true,
         DMCOLOR_COLOR,
         {{kOptionMedia, "iso_a3_297x420mm"},
          {kOptionResolution, "300x600dpi"},
          {kOptionSides, "two-sided-long-edge"},
          {kOptionMediaSource, "tray-2"}},
         true,
         "color",
         true,
         true,
         TDevMode{DM_COLOR, DMCOLOR_COLOR, "iso_a3_297x420mm", 300, 600, "two-sided-long-edge", "tray-2"}},
        {"a monochrome answer clears the box",
         true,
         DMCOLOR_COLOR,
         {{kOptionColorMode, "monochrome"}},
         true,
         "color",
         true,
         false,
         defaults(DMCOLOR_MONOCHROME)},
        {"the checked box asks a monochrome block in colour",
         true,
         DMCOLOR_MONOCHROME,
         {},
         true,
         "color",
         true,
         true,
         defaults(DMCOLOR_COLOR)},
        {"a colour answer never checks the box",
         false,
         DMCOLOR_MONOCHROME,
         {{kOptionColorMode, "color"}},
         true,
         "monochrome",
         true,
         false,
         defaults(DMCOLOR_COLOR)},
        {"an unchecked box keeps the queue's colour",
         false,
         DMCOLOR_COLOR,
         {},
         true,
         "color",
         true,
         false,
         defaults(DMCOLOR_COLOR)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        recording->Settings = TDevMode{0, row.queueColor};
        TPrinter printer(std::make_unique<TRecordingBackend>(recording));
        bool colour = row.colour;
        TSeen seen;
        EXPECT_EQ(RunDialog(printer, colour, row.choose, row.ok, seen), row.accepted);
        EXPECT_EQ(seen.Shown.value(kOptionColorMode), row.shownColor);
        EXPECT_EQ(seen.Shown.size(), 5);
        EXPECT_EQ(colour, row.colourAfter);
        EXPECT_EQ(printer.Settings(), row.settingsAfter);
        EXPECT_EQ(printer.CurrentPrinter(), recording->Printers[0]);
    }
}

TEST(PrinterProperties, ThePdfPrintersFileAndPaper)
{
    const struct {
        const char *name;
        QString file;   // the virtual printer's file before
        QString picked; // the file question's answer; empty: given up
        bool ok;
        bool okEnabled;
        QString fileAfter, mediaAfter;
    } rows[] = {
        {"a picked file and paper", "", "/tmp/wydruki/raport.pdf", true, true, "/tmp/wydruki/raport.pdf",
         "iso_a5_148x210mm"},
        {"a question given up keeps the file", "/tmp/stary.pdf", "", true, true, "/tmp/stary.pdf", "iso_a5_148x210mm"},
        {"cancelled", "/tmp/stary.pdf", "/tmp/nowy.pdf", false, true, "/tmp/stary.pdf", "iso_a4_210x297mm"},
        {"no file: OK cannot be pressed", "", "", true, false, "", "iso_a4_210x297mm"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TPrinter printer(std::make_unique<TRecordingBackend>(std::make_shared<TPrinterRecording>()));
        printer.SetPdfFile(row.file);
        printer.SetPrinterIndex(int(printer.Printers().size()) - 1);
        QString asked = "not asked";
        SetPdfFileQuestion([&](QWidget *, const QString &current) {
            asked = current;
            return row.picked;
        });
        bool colour = true;
        TSeen seen;
        RunDialog(printer, colour, {{kOptionMedia, "iso_a5_148x210mm"}}, row.ok, seen, true);
        SetPdfFileQuestion({});
        EXPECT_EQ(asked, row.file);
        EXPECT_EQ(seen.OkEnabled, row.okEnabled);
        EXPECT_EQ(seen.Shown.keys(), QStringList({kOptionMedia, kOptionResolution}));
        EXPECT_TRUE(printer.IsPdfPrinter());
        EXPECT_EQ(printer.CurrentPrinter().Port, row.fileAfter);
        EXPECT_EQ(printer.Settings()->Media, row.mediaAfter);
        EXPECT_TRUE(colour);
    }
}

TEST(PrinterProperties, UnreadableSettingsRaiseTheError)
{
    auto recording = std::make_shared<TPrinterRecording>();
    recording->Settings = std::nullopt;
    TPrinter printer(std::make_unique<TRecordingBackend>(recording));
    bool colour = true;
    try {
        EditPrinterProperties(nullptr, printer, colour);
        ADD_FAILURE() << "no error";
    } catch (const EPrinter &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Błąd przy pobieraniu ustawień drukarki !"));
    }
    EXPECT_TRUE(colour);
}

} // namespace
