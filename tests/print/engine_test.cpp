#include "platform/base/ConvertError.h"
#include "platform/printer/Printer.h"
#include "print/PrintDlgError.h"
#include "print/PrintEngine.h"
#include "tests/support/RecordingPrinter.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <gtest/gtest.h>

#include <deque>

namespace {

// Answers questions from a script (yes when it runs out) and remembers everything it was told.
class TScriptedHost : public TPrintHost {
public:
    std::deque<bool> Answers;
    QStringList Log;    // questions asked: "title | text"
    QStringList Errors; // errors shown, "abort" for a silent one
    QStringList Warnings;
    int Max = -1, Steps = 0, Shown = 0, Hidden = 0;
    bool Cancel = false;

    bool PytanieTakNie(const QString &title, const QString &text) override { return Ask(title, text); }
    bool PytanieOkAnuluj(const QString &title, const QString &text) override { return Ask(title, text); }
    void ProgressStart(int max) override
    {
        Max = max;
        ++Shown;
    }
    void ProgressStep() override { ++Steps; }
    void ProgressEnd() override { ++Hidden; }
    bool CancelRequested() override { return Cancel; }
    void Ostrzezenie(const QString &text) override { Warnings << text; }
    void ShowException(std::exception_ptr error) override
    {
        try {
            std::rethrow_exception(error);
        } catch (const EAbort &) {
            Errors << QStringLiteral("abort");
        } catch (const Exception &e) {
            Errors << e.Message();
        }
    }

private:
    bool Ask(const QString &title, const QString &text)
    {
        Log << title + QStringLiteral(" | ") + text;
        if (Answers.empty())
            return true;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

class PrintEngine : public ::testing::Test {
protected:
    std::shared_ptr<TPrinterRecording> recording = std::make_shared<TPrinterRecording>();
    platform::TPrinter printer{std::make_unique<TRecordingBackend>(recording)};
    TScriptedHost host;
    TPrintDlgSettings options;
    std::vector<std::unique_ptr<platform::PageMetafile>> pages;

    PrintEngine() { options.Odwrotnie = false; }

    TPrintRequest Request(int pageCount, const QString &pageSet = {})
    {
        pages.clear();
        TPrintRequest request;
        for (int i = 0; i < pageCount; ++i) {
            pages.push_back(std::make_unique<platform::PageMetafile>());
            request.Pages.append(pages.back().get());
        }
        request.Title = QStringLiteral("faktury");
        if (!pageSet.isEmpty()) {
            request.Range = TPageRange::Zestaw;
            request.PageSet = pageSet;
        }
        return request;
    }

    void Print(const TPrintRequest &request) { TPrintEngine(printer, host, options).Print(request); }

    int PageNumber(const platform::PageMetafile *page) const
    {
        for (size_t i = 0; i < pages.size(); ++i)
            if (pages[i].get() == page)
                return int(i) + 1;
        return -1;
    }

    // "title: sheet sheet", a sheet being its pages ("_" when empty), each with L or R for the half
    // it is on; abandoned jobs end with " [porzucone]".
    QString Jobs() const
    {
        QStringList jobs;
        for (const TRecordedJob &job : recording->Jobs) {
            const int half = job.Setup.Caps.PhysicalWidth / 2 - job.Setup.Caps.PhysicalOffsetX;
            const bool twoUp = job.Setup.Orientation == platform::TOrientation::Landscape;
            QStringList sheets;
            for (const auto &sheet : job.Sheets) {
                QStringList placed;
                for (const TRecordedPlacement &p : sheet)
                    placed << QString::number(PageNumber(p.Page)) +
                                  (twoUp ? (p.Target.left() < half ? QStringLiteral("L") : QStringLiteral("R"))
                                         : QString());
                sheets << (placed.isEmpty() ? QStringLiteral("_") : placed.join(u','));
            }
            jobs << job.Setup.Title + QStringLiteral(": ") + sheets.join(u' ') +
                        (job.State == TRecordedJob::TState::Abandoned ? QStringLiteral(" [porzucone]") : QString());
        }
        return jobs.join(QStringLiteral(" / "));
    }
};

const QString kTurn = QStringLiteral("Czekam na odwrócenie kartek ...");
const QString kCopy = QStringLiteral("Drukowac kopie?");
const QString kBooklet = QStringLiteral("Potwierdź drukowanie \"książeczki\" !");

} // namespace

TEST_F(PrintEngine, SheetsJobsAndQuestionsFollowTheModes)
{
    using M = TPrintMode;
    const struct Row {
        M mode;
        bool twoSided, reverse;
        int pages;
        qint32 copies;
        std::deque<bool> answers;
        const char *jobs;
        const char *asked; // titles of the questions, in order
    } rows[] = {
        {M::Normalne, false, true, 3, 1, {}, "faktury: 3 2 1", ""},
        {M::Normalne, true, true, 8, 1, {}, "faktury (1): 2 4 6 8 / faktury (2): 7 5 3 1", "T"},
        // One page two-sided: pass 1 is one blank side.
        {M::Normalne, true, false, 1, 1, {}, "faktury (1): _ / faktury (2): 1", "T"},
        {M::Zmniejszone, false, false, 3, 1, {}, "faktury: 1L,2R 3L", ""},
        // Five pages reduced two-sided are padded to eight: (7,8) is a blank side, 6 a blank half.
        {M::Zmniejszone, true, false, 5, 1, {}, "faktury (1): 3L,4R _ / faktury (2): 1L,2R 5L", "T"},
        {M::Ksiazeczka, false, true, 8, 1, {}, "faktury (1): 2L,7R 4L,5R / faktury (2): 6L,3R 8L,1R", "T"},
        // A booklet asks nothing between copies when the duplex box is off.
        {M::Ksiazeczka,
         false,
         false,
         4,
         2,
         {},
         "faktury (1): 2L,3R / faktury (2): 4L,1R / faktury (1): 2L,3R / faktury (2): 4L,1R",
         "T T"},
        // Three copies one-sided: three jobs, no question.
        {M::Normalne, false, false, 1, 3, {}, "faktury: 1 / faktury: 1 / faktury: 1", ""},
        // With the duplex box, copies 2 and 3 are asked for; "Nie" before copy 3 ends the loop.
        {M::Normalne,
         true,
         false,
         2,
         3,
         {true, true, true, false},
         "faktury (1): 2 / faktury (2): 1 / faktury (1): 2 / faktury (2): 1",
         "T C T C"},
        // A cancelled turn keeps pass 1 and goes on with the next copy.
        {M::Normalne,
         true,
         false,
         2,
         2,
         {false, true, true},
         "faktury (1): 2 / faktury (1): 2 / faktury (2): 1",
         "T C T"},
        // 41 pages make 44 positions, 11 sheets: asked; "Nie" abandons the job already begun.
        {M::Ksiazeczka, false, false, 41, 1, {false}, "faktury (1): _ [porzucone]", "B"},
        {M::Ksiazeczka, false, false, 40, 1, {}, nullptr, "T"},
        {M::Normalne, false, false, 2, 0, {}, "", ""},
    };
    for (const Row &r : rows) {
        recording->Jobs.clear();
        host = TScriptedHost();
        host.Answers = r.answers;
        options.Tryb = r.mode;
        options.Dwustronnie = r.twoSided;
        options.Odwrotnie = r.reverse;
        options.Kopie = r.copies;
        Print(Request(r.pages));
        if (r.jobs) {
            EXPECT_EQ(Jobs(), QString::fromUtf8(r.jobs)) << int(r.mode) << " " << r.pages;
        }
        QStringList asked;
        for (const QString &q : host.Log)
            asked << (q.startsWith(kTurn) ? "T" : q.startsWith(kCopy) ? "C" : q.startsWith(kBooklet) ? "B" : q);
        EXPECT_EQ(asked.join(u' '), QString::fromUtf8(r.asked)) << int(r.mode) << " " << r.pages;
        // The passes turned by hand, and only they, ask for one side whatever the printer's default.
        for (const TRecordedJob &job : recording->Jobs)
            EXPECT_EQ(job.Setup.OneSided, job.Setup.Title.endsWith(u')')) << job.Setup.Title.toStdString();
        EXPECT_EQ(printer.Printing(), false);
        EXPECT_EQ(host.Hidden, host.Shown);
    }
}

TEST_F(PrintEngine, LongBookletsAskWithThePrintoutsPageCount)
{
    options.Tryb = TPrintMode::Ksiazeczka;
    Print(Request(100, QStringLiteral("1-44")));
    ASSERT_FALSE(host.Log.isEmpty());
    EXPECT_EQ(host.Log.front(), kBooklet + QStringLiteral(" | Przy tak długim wydruku (100 stron)\rpowstanie plik 11 "
                                                          "kartek, który\rmoże być ciężko zgiąć na pół !\rCzy na "
                                                          "pewno chcesz kontynuować ?"));
    ASSERT_EQ(recording->Ended().size(), 2);
    EXPECT_EQ(recording->Ended()[0].Sheets.size(), 11);
    EXPECT_EQ(host.Max, 44);
    EXPECT_EQ(host.Steps, 44);
}

TEST_F(PrintEngine, TwoSidedPassesMirrorTheMarginsInEveryCopy)
{
    options.Dwustronnie = true;
    options.Kopie = 2;
    TPrintRequest request = Request(2);
    request.Margins = {30, 20, 10, 20};
    Print(request);
    ASSERT_EQ(recording->Ended().size(), 4);
    auto left = [&](int job) { return recording->Ended()[job].Sheets[0][0].Target.left(); };
    // At 600 dpi 30 and 10 mm are 709 and 236 pixels; the printable area starts 100 pixels in.
    EXPECT_EQ(left(0), 236 - 100);
    EXPECT_EQ(left(1), 709 - 100);
    EXPECT_EQ(left(2), left(0));
    EXPECT_EQ(left(3), left(1));
}

TEST_F(PrintEngine, MarginsThatLeaveAPageNoRoomPrintNothing)
{
    // A4 is 210 x 297 mm upright; a landscape half is 148.5 x 210 mm.
    const struct Row {
        TPrintMode mode;
        TMarginsMm margins;
        const char *refused; // the message's end, or null when it prints
    } rows[] = {
        {TPrintMode::Normalne, {80, 15, 80, 25}, nullptr},
        {TPrintMode::Zmniejszone, {70, 15, 70, 25}, nullptr},
        {TPrintMode::Zmniejszone, {80, 15, 80, 25}, "na stronę w połowie arkusza 297 x 210 mm !"},
        {TPrintMode::Ksiazeczka, {99, 15, 50, 25}, "na stronę w połowie arkusza 297 x 210 mm !"},
        {TPrintMode::Zmniejszone, {10, 110, 10, 100}, "na stronę w połowie arkusza 297 x 210 mm !"},
        {TPrintMode::Normalne, {110, 15, 100, 25}, "na stronę arkusza 210 x 297 mm !"},
    };
    for (const Row &r : rows) {
        recording->Jobs.clear();
        host = TScriptedHost();
        options.Tryb = r.mode;
        TPrintRequest request = Request(4);
        request.Margins = r.margins;
        if (!r.refused) {
            Print(request);
            EXPECT_FALSE(recording->Ended().isEmpty());
            continue;
        }
        try {
            Print(request);
            ADD_FAILURE() << "printed " << r.refused;
        } catch (const EPrintDlgError &e) {
            EXPECT_TRUE(e.Message().endsWith(QString::fromUtf8(r.refused))) << e.Message().toStdString();
        }
        EXPECT_TRUE(recording->Jobs.isEmpty());
        EXPECT_EQ(host.Shown, 0);
    }
}

TEST_F(PrintEngine, ErrorsEndOnlyTheirCopy)
{
    // A refusing queue: every copy reports, nothing stays open.
    recording->RefuseWith = QStringLiteral("The printer is not accepting jobs.");
    options.Kopie = 2;
    Print(Request(1));
    EXPECT_EQ(host.Errors, QStringList({"The printer is not accepting jobs.", "The printer is not accepting jobs."}));
    EXPECT_TRUE(recording->Ended().isEmpty());

    // A cancel request stays set: each copy places its first page and is abandoned silently.
    recording->RefuseWith.clear();
    recording->Jobs.clear();
    host = TScriptedHost();
    host.Cancel = true;
    Print(Request(3));
    EXPECT_EQ(Jobs(), QStringLiteral("faktury: 1 [porzucone] / faktury: 1 [porzucone]"));
    EXPECT_EQ(host.Errors, QStringList({"abort", "abort"}));
}

TEST_F(PrintEngine, APrinterThatPrintsBothSidesGetsOneJobOfSheetSides)
{
    // The same sheets as the manual rows above, each front followed by its back, in one job the
    // printer turns itself: no question, copies made by the printer.
    platform::TPrinterOption sides = platform::MakePrinterOption(platform::kOptionSides);
    sides.Choices = {{QStringLiteral("one-sided"), {}}, {QStringLiteral("two-sided-long-edge"), {}}};
    recording->Options = {sides};
    using M = TPrintMode;
    const struct Row {
        M mode;
        bool reverse;
        int pages;
        qint32 copies;
        const char *jobs;
        const char *sides;
    } rows[] = {
        {M::Normalne, false, 3, 1, "faktury: 1 2 3 _", "two-sided-long-edge"},
        // Reverse order moves whole sheets: each keeps its front before its back.
        {M::Normalne, true, 3, 1, "faktury: 3 _ 1 2", "two-sided-long-edge"},
        {M::Zmniejszone, false, 5, 1, "faktury: 1L,2R 3L,4R 5L _", "two-sided-short-edge"},
        {M::Ksiazeczka, false, 8, 2, "faktury: 8L,1R 2L,7R 6L,3R 4L,5R", "two-sided-short-edge"},
        {M::Ksiazeczka, true, 8, 1, "faktury: 6L,3R 4L,5R 8L,1R 2L,7R", "two-sided-short-edge"},
    };
    options.DwustronnieAuto = true;
    options.Dwustronnie = true; // the printer's own two-sided printing wins over the manual one
    for (const Row &r : rows) {
        SCOPED_TRACE(r.jobs);
        recording->Jobs.clear();
        host = TScriptedHost();
        options.Tryb = r.mode;
        options.Odwrotnie = r.reverse;
        options.Kopie = r.copies;
        Print(Request(r.pages));
        EXPECT_EQ(Jobs(), QString::fromUtf8(r.jobs));
        ASSERT_EQ(recording->Ended().size(), 1);
        const platform::TJobStart start = recording->Ended()[0].Setup; // Ended() gives a copy
        EXPECT_EQ(start.Settings.Sides, QString::fromUtf8(r.sides));
        EXPECT_FALSE(start.OneSided);
        EXPECT_EQ(start.Copies, r.copies);
        EXPECT_TRUE(host.Log.isEmpty()) << host.Log.join(u'/').toStdString();
        EXPECT_EQ(host.Hidden, host.Shown);
    }
    // The next job is one copy on one side again, and a printer that prints one side is refused
    // before anything.
    options.DwustronnieAuto = false;
    options.Dwustronnie = false;
    options.Tryb = M::Normalne;
    options.Kopie = 1;
    recording->Jobs.clear();
    Print(Request(1));
    ASSERT_EQ(recording->Jobs.size(), 1);
    EXPECT_EQ(recording->Jobs[0].Setup.Copies, 1);
    EXPECT_FALSE(recording->Jobs[0].Setup.Settings.Sides.startsWith(QStringLiteral("two-sided")));
    options.DwustronnieAuto = true;
    recording->Options.clear();
    recording->Jobs.clear();
    EXPECT_THROW(Print(Request(4)), EPrintDlgError);
    EXPECT_TRUE(recording->Jobs.isEmpty());
}

TEST_F(PrintEngine, AQueueThatHoldsTheJobIsWarnedOfOnce)
{
    options.Dwustronnie = true;
    options.Kopie = 2;
    Print(Request(2));
    EXPECT_TRUE(host.Warnings.isEmpty());
    recording->Queue = platform::TQueueState{true, true, {QStringLiteral("media-empty-error")}};
    Print(Request(2));
    ASSERT_EQ(host.Warnings.size(), 1); // four jobs, one warning
    EXPECT_TRUE(host.Warnings[0].contains(QStringLiteral("\"biuro\"")));
    EXPECT_TRUE(host.Warnings[0].contains(QStringLiteral("brak papieru")));
    EXPECT_TRUE(host.Errors.isEmpty());
}

TEST_F(PrintEngine, PreparationFailuresPrintNothing)
{
    recording->Settings.reset();
    try {
        Print(Request(5));
        FAIL();
    } catch (const EPrintDlgError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Błąd przy pobieraniu ustawień drukarki !"));
    }
    recording->Settings = platform::TDevMode();
    printer.Refresh();
    EXPECT_THROW(Print(Request(5, QStringLiteral("7"))), EPrintDlgError);
    EXPECT_THROW(Print(Request(5, QStringLiteral(",5"))), EConvertError);
    EXPECT_TRUE(recording->Jobs.isEmpty());
    EXPECT_EQ(host.Shown, 0);
}

TEST_F(PrintEngine, ColourTitleAndPageDrawingFollowTheOptions)
{
    const struct Row {
        bool colour;
        QString title;
        const char *jobTitle;
    } rows[] = {{false, QString(), "Wydruk z Wenora"}, {true, QStringLiteral("x"), "x"}};
    for (const Row &r : rows) {
        recording->Jobs.clear();
        options.Kolor = r.colour;
        TPrintRequest request = Request(1);
        request.Title = r.title;
        Print(request);
        ASSERT_EQ(recording->Ended().size(), 1);
        const TRecordedJob job = recording->Ended()[0];
        EXPECT_EQ(job.Setup.Title, QString::fromUtf8(r.jobTitle));
        EXPECT_TRUE(job.Setup.Settings.Fields & platform::DM_COLOR);
        EXPECT_EQ(job.Setup.Settings.Color, r.colour ? platform::DMCOLOR_COLOR : platform::DMCOLOR_MONOCHROME);
        EXPECT_EQ(job.Sheets[0][0].Recolored, !r.colour);
    }
}

// The cancel request comes from a window event; it arrives while the job is written only when the
// abort procedure handles events, which NoAbort removes.
TEST_F(PrintEngine, NoAbortHandlesNoEventsWhileTheJobIsWritten)
{
    for (const bool noAbort : {false, true}) {
        recording->Jobs.clear();
        host = TScriptedHost();
        options.NoAbort = noAbort;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this] { host.Cancel = true; }, Qt::QueuedConnection);
        Print(Request(3));
        EXPECT_EQ(Jobs(), noAbort ? QStringLiteral("faktury: 1 2 3") : QStringLiteral("faktury: 1 [porzucone]"));
        QCoreApplication::processEvents();
    }
}
