#include "print/PrintEngine.h"

#include "print/DrawMetafile.h"
#include "print/PrintDlgError.h"

#include <QScopeGuard>

#include <algorithm>

namespace {

const QString kDuplexSuffix1 = QStringLiteral(" (1)");
const QString kDuplexSuffix2 = QStringLiteral(" (2)");

bool TwoUp(TPrintMode mode)
{
    return mode == TPrintMode::Zmniejszone || mode == TPrintMode::Ksiazeczka;
}

} // namespace

TPrintEngine::TPrintEngine(platform::TPrinter &printer, TPrintHost &host, const TPrintDlgSettings &options)
    : printer_(printer), host_(host), options_(options)
{
}

void TPrintEngine::Print(const TPrintRequest &request)
{
    PrepareColour();
    SelectPages(request);
    PrintSelected(request);
}

void TPrintEngine::SelectPages(const TPrintRequest &request)
{
    pages_ = request.Pages;
    title_ = request.Title;
    selection_ = BuildPageSelection(request.Range, request.PageSet, qint32(pages_.size()), request.CurrentPage);
}

void TPrintEngine::PrintSelected(const TPrintRequest &request)
{
    if (options_.DwustronnieAuto) {
        PrintBothSidesByPrinter(request);
        return;
    }
    PrepareGeometry(request, options_.Dwustronnie);
    // Every copy starts from the mirrored margins of a first pass; the turn moves the rectangles back.
    const TPrintJobGeometry firstPass = geometry_;

    host_.ProgressStart(int(std::max<qint64>(0, qint64(selection_.size()) * options_.Kopie)));
    const auto hide = qScopeGuard([this] { host_.ProgressEnd(); });
    const bool twoJobs = options_.Dwustronnie || options_.Tryb == TPrintMode::Ksiazeczka;
    for (qint32 copy = 1; copy <= options_.Kopie; ++copy) {
        if (copy >= 2 && options_.Dwustronnie &&
            !host_.PytanieTakNie(QStringLiteral("Drukowac kopie?"),
                                 QStringLiteral("Czy chcesz wydrukować kolejną kopię? Jeśli tak, proszę "
                                                "przygotować papier.")))
            break;
        try {
            geometry_ = firstPass;
            firstSheet_ = true;
            printer_.SetPrinterIndex(printer_.PrinterIndex());
            BeginJob(twoJobs ? kDuplexSuffix1 : QString(), twoJobs);
            PrintSelection();
            EndJob();
        } catch (...) {
            host_.ShowException(std::current_exception());
            if (printer_.Printing())
                printer_.Abort();
        }
    }
}

void TPrintEngine::PrintSides(const TPrintRequest &request, bool reverse)
{
    PrepareColour();
    SelectPages(request);
    PrepareGeometry(request, false);
    host_.ProgressStart(int(selection_.size()));
    const auto hide = qScopeGuard([this] { host_.ProgressEnd(); });
    PadSelection(selection_, options_.Tryb, true);
    PrintJoinedSides(reverse);
}

void TPrintEngine::PrintBothSidesByPrinter(const TPrintRequest &request)
{
    if (options_.Kopie < 1)
        return;
    if (!printer_.PrintsBothSides())
        throw EPrintDlgError(QStringLiteral("Drukarka \"%1\" nie drukuje dwustronnie: wybierz ręczny druk "
                                            "dwustronny.")
                                 .arg(printer_.CurrentPrinter().Device));
    // The sheets as the imposed file of a printer that prints both sides has them: no margins
    // mirrored, landscape sheets turned over their short edge.
    PrepareGeometry(request, false);
    std::optional<platform::TDevMode> settings = printer_.Settings();
    if (!settings)
        throw EPrintDlgError(QStringLiteral("Błąd przy pobieraniu ustawień drukarki !"));
    // Only this job is two-sided: the printer's settings are put back once it is sent.
    const platform::TDevMode before = *settings;
    settings->Sides =
        TwoUp(options_.Tryb) ? QStringLiteral("two-sided-short-edge") : QStringLiteral("two-sided-long-edge");
    printer_.SetPrinter(printer_.CurrentPrinter(), *settings);
    const auto restore = qScopeGuard([this, before] {
        if (!printer_.Printing())
            printer_.SetPrinter(printer_.CurrentPrinter(), before);
    });
    PadSelection(selection_, options_.Tryb, true);

    host_.ProgressStart(int(selection_.size()));
    const auto hide = qScopeGuard([this] { host_.ProgressEnd(); });
    printer_.Copies = options_.Kopie;
    const auto single = qScopeGuard([this] { printer_.Copies = 1; });
    try {
        if (options_.Tryb == TPrintMode::Ksiazeczka)
            ConfirmLongBooklet(int(selection_.size()));
        PrintJoinedSides(options_.Odwrotnie);
    } catch (...) {
        host_.ShowException(std::current_exception());
    }
}

void TPrintEngine::PrintJoinedSides(bool reverse)
{
    const TPass sides = JoinedSides(options_.Tryb, reverse, int(selection_.size()));
    firstSheet_ = true;
    printer_.SetPrinterIndex(printer_.PrinterIndex());
    try {
        BeginJob(QString(), false);
        for (const TSheetSide &side : sides) {
            if (TwoUp(options_.Tryb))
                PrintSheetTwo(side.Left, side.Right);
            else
                PrintSheetOne(side.Left);
        }
        EndJob();
    } catch (...) {
        if (printer_.Printing())
            printer_.Abort();
        throw;
    }
}

void TPrintEngine::EndJob()
{
    printer_.EndDoc();
    if (warned_)
        return;
    if (const std::optional<platform::TQueueState> state = printer_.QueueState()) {
        const QString warning = platform::QueueWarning(printer_.CurrentPrinter().Device, *state);
        if (!warning.isEmpty()) {
            warned_ = true;
            host_.Ostrzezenie(warning);
        }
    }
}

void TPrintEngine::PrepareColour()
{
    // Choosing the printer again drops its device context, so the job gets the settings written here.
    printer_.SetPrinterIndex(printer_.PrinterIndex());
    std::optional<platform::TDevMode> settings = printer_.Settings();
    if (!settings)
        throw EPrintDlgError(QStringLiteral("Błąd przy pobieraniu ustawień drukarki !"));
    settings->Fields |= platform::DM_COLOR;
    if (options_.Kolor)
        settings->Color = platform::DMCOLOR_COLOR;
    printer_.SetPrinter(printer_.CurrentPrinter(), *settings);
}

void TPrintEngine::PrepareGeometry(const TPrintRequest &request, bool twoSided)
{
    const bool twoUp = TwoUp(options_.Tryb);
    printer_.SetOrientation(twoUp ? platform::TOrientation::Landscape : platform::TOrientation::Portrait);
    const platform::TDeviceCaps caps = printer_.Capabilities();
    geometry_ = ComputeGeometry(caps, request.Margins, twoSided);
    // A rectangle turned inside out by the margins would draw its page squeezed and mirrored.
    const bool room =
        twoUp ? !geometry_.LeftHalf.isEmpty() && !geometry_.RightHalf.isEmpty() : !geometry_.Full.isEmpty();
    if (!room) {
        const auto mm = [](int pixels, int perInch) { return perInch > 0 ? qRound(pixels * 25.4 / perInch) : 0; };
        const TMarginsMm &m = request.Margins;
        throw EPrintDlgError(QStringLiteral("Marginesy (lewy %1, górny %2, prawy %3, dolny %4 mm) nie zostawiają "
                                            "miejsca na stronę %5 %6 x %7 mm !")
                                 .arg(m.Left)
                                 .arg(m.Top)
                                 .arg(m.Right)
                                 .arg(m.Bottom)
                                 .arg(twoUp ? QStringLiteral("w połowie arkusza") : QStringLiteral("arkusza"))
                                 .arg(mm(caps.PhysicalWidth, caps.LogPixelsX))
                                 .arg(mm(caps.PhysicalHeight, caps.LogPixelsY)));
    }
}

QString TPrintEngine::JobTitle(const QString &suffix) const
{
    return (title_.isEmpty() ? kDefaultJobTitle : title_) + suffix;
}

void TPrintEngine::BeginJob(const QString &suffix, bool byHand)
{
    printer_.Title = JobTitle(suffix);
    printer_.OneSided = byHand;
    printer_.BeginDoc();
    if (options_.NoAbort)
        printer_.SetAbortProc({});
}

void TPrintEngine::PrintSelection()
{
    PadSelection(selection_, options_.Tryb, options_.Dwustronnie);
    const int n = int(selection_.size());
    if (options_.Tryb == TPrintMode::Ksiazeczka)
        ConfirmLongBooklet(n);
    const QList<TPass> passes = PrintPasses(options_.Tryb, options_.Dwustronnie, options_.Odwrotnie, n);
    for (qsizetype pass = 0; pass < passes.size(); ++pass) {
        if (pass > 0)
            TurnSheets();
        for (const TSheetSide &side : passes[pass]) {
            if (TwoUp(options_.Tryb))
                PrintSheetTwo(side.Left, side.Right);
            else
                PrintSheetOne(side.Left);
        }
    }
}

void TPrintEngine::ConfirmLongBooklet(int positions)
{
    if (positions <= 40)
        return;
    const QString text = QStringLiteral("Przy tak długim wydruku (%1 stron)\rpowstanie plik %2 kartek, który\r"
                                        "może być ciężko zgiąć na pół !\rCzy na pewno chcesz kontynuować ?")
                             .arg(pages_.size())
                             .arg(positions / 4);
    if (!host_.PytanieTakNie(QStringLiteral("Potwierdź drukowanie \"książeczki\" !"), text))
        throw EAbort();
}

void TPrintEngine::TurnSheets()
{
    EndJob();
    if (!host_.PytanieOkAnuluj(QStringLiteral("Czekam na odwrócenie kartek ..."),
                               QStringLiteral("1. Zaczekaj aż drukarka skończy pierwszą część wydruku.\r"
                                              "2. Przełóż cały powstały plik kartek spowrotem\r"
                                              "   w taki sposób, aby drukować po ich drugiej stronie.\r"
                                              "3. Dopiero wtedy kliknij OK.")))
        throw EAbort();
    geometry_.MoveByShift();
    firstSheet_ = true;
    printer_.SetPrinterIndex(printer_.PrinterIndex());
    BeginJob(kDuplexSuffix2, true);
}

void TPrintEngine::PrintSheetOne(int position)
{
    if (!firstSheet_)
        printer_.NewPage();
    Place(position, geometry_.Full);
}

void TPrintEngine::PrintSheetTwo(int left, int right)
{
    if (!firstSheet_)
        printer_.NewPage();
    if (left == 0)
        left = right - 1;
    Place(left, geometry_.LeftHalf);
    Place(right != 0 ? right : left + 1, geometry_.RightHalf);
}

void TPrintEngine::Place(int position, const QRect &target)
{
    firstSheet_ = false;
    const qint32 page = position >= 1 && position <= selection_.size() ? selection_[position - 1] : 0;
    if (page < 1 || page > pages_.size() || !pages_[page - 1])
        return;
    DrawPageOnPrinter(printer_.Canvas(), target, *pages_[page - 1], !options_.Kolor, options_.NoEMF);
    host_.ProgressStep();
    if (host_.CancelRequested())
        throw EAbort();
}
