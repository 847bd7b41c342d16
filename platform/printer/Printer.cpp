#include "platform/printer/Printer.h"

#include "platform/printer/CupsBackend.h"
#include "platform/printer/PdfPrinter_p.h"
#include "platform/printer/PrinterError.h"

#include <QCoreApplication>

namespace platform {

// Forwards drawing to the job and lets the abort procedure run after each call.
class TPrinter::Canvas_ : public TPrinterCanvas {
public:
    explicit Canvas_(TPrinter &printer) : printer_(printer) {}
    void DrawPicture(const QRect &target, const PageMetafile &page, const RecordCallback &change) override
    {
        printer_.Job().DrawPicture(target, page, change);
        AfterDrawing();
    }
    void DrawImage(QPoint topLeft, const QImage &image) override
    {
        printer_.Job().DrawImage(topLeft, image);
        AfterDrawing();
    }

private:
    void AfterDrawing()
    {
        // A copy: the procedure may replace itself while it runs.
        if (const std::function<void()> proc = printer_.abortProc_)
            proc();
    }
    TPrinter &printer_;
};

TPrinter::TPrinter(std::unique_ptr<TPrinterBackend> backend)
    : backend_(std::move(backend)), canvas_(std::make_unique<Canvas_>(*this))
{
}

TPrinter::~TPrinter() = default;

void TPrinter::List()
{
    int defaultIndex = -1;
    printers_ = backend_->Printers(defaultIndex);
    const int queues = int(printers_.size());
    virtualIndex_ = -1;
    if (backend_->OffersPdfPrinter()) {
        virtualIndex_ = queues;
        printers_.append(PdfPrinterInfo(pdfFile_));
    }
    if (defaultIndex >= 0 && defaultIndex < queues)
        index_ = defaultIndex;
    else
        index_ = virtualIndex_ >= 0 ? virtualIndex_ : (queues > 0 ? 0 : -1);
    listed_ = true;
}

const QList<TPrinterInfo> &TPrinter::Printers()
{
    if (!listed_)
        List();
    return printers_;
}

void TPrinter::Refresh()
{
    const std::optional<TPrinterInfo> current =
        listed_ && index_ >= 0 ? std::optional<TPrinterInfo>(printers_[index_]) : std::nullopt;
    const bool wasVirtual = listed_ && index_ >= 0 && IsVirtual(index_);
    List();
    bool same = false;
    if (wasVirtual) {
        index_ = virtualIndex_;
        same = true;
    } else if (current) {
        for (int i = 0; i < int(printers_.size()); ++i)
            if (printers_[i].Device == current->Device) {
                index_ = i;
                same = printers_[i] == *current;
            }
    }
    // Settings written for a printer that is still there unchanged are what its next job prints with;
    // everything else is read again.
    if (!same || !settingsWritten_) {
        settings_.reset();
        settingsWritten_ = false;
    }
    caps_.reset();
}

int TPrinter::PrinterIndex()
{
    Printers();
    return index_;
}

void TPrinter::CheckNotPrinting() const
{
    if (job_)
        throw EPrinter(QStringLiteral("Drukowanie jest w toku."));
}

void TPrinter::SetPrinterIndex(int index)
{
    CheckNotPrinting();
    Printers();
    if (index < 0 || index >= int(printers_.size()))
        throw EPrinter(QStringLiteral("Nie ma drukarki o numerze %1.").arg(index));
    if (index != index_ || !settingsWritten_) {
        settings_.reset();
        settingsWritten_ = false;
    }
    index_ = index;
    caps_.reset();
}

TPrinterInfo TPrinter::CurrentPrinter()
{
    Printers();
    if (index_ < 0)
        throw EPrinter(QStringLiteral("Brak zainstalowanej drukarki !"));
    return printers_[index_];
}

std::optional<TDevMode> TPrinter::Settings()
{
    Printers();
    if (!settings_)
        settings_ = IsVirtual(index_) ? PdfPrinterSettings() : backend_->DefaultSettings(CurrentPrinter());
    return settings_;
}

QList<TPrinterOption> TPrinter::Options(const TDevMode &settings)
{
    const TPrinterInfo printer = CurrentPrinter();
    return WithSettingsValues(IsVirtual(index_) ? PdfPrinterOptions() : backend_->Options(printer), settings);
}

bool TPrinter::IsPdfPrinter()
{
    Printers();
    return IsVirtual(index_);
}

bool TPrinter::PrintsBothSides()
{
    if (IsPdfPrinter())
        return true;
    try {
        return platform::PrintsBothSides(backend_->Options(CurrentPrinter()));
    } catch (const EPrinter &) {
        return false; // a printer that cannot be asked is offered only what every printer can do
    }
}

std::optional<TQueueState> TPrinter::QueueState()
{
    if (IsPdfPrinter())
        return std::nullopt;
    return backend_->QueueState(CurrentPrinter());
}

void TPrinter::SetPrinter(const TPrinterInfo &printer, const TDevMode &settings)
{
    CheckNotPrinting();
    Printers();
    int found = int(printers_.indexOf(printer));
    for (int i = 0; found < 0 && i < int(printers_.size()); ++i)
        if (printers_[i].Device == printer.Device && printers_[i].Driver == printer.Driver)
            found = i;
    if (found < 0) {
        printers_.append(printer);
        found = int(printers_.size()) - 1;
    }
    if (IsVirtual(found))
        SetPdfFile(printer.Port);
    index_ = found;
    settings_ = settings;
    settingsWritten_ = true;
    caps_.reset();
}

void TPrinter::SetPdfFile(const QString &path)
{
    pdfFile_ = path;
    if (listed_ && virtualIndex_ >= 0)
        printers_[virtualIndex_].Port = path;
}

TOrientation TPrinter::Orientation() const
{
    return orientation_;
}

void TPrinter::SetOrientation(TOrientation orientation)
{
    if (orientation != orientation_)
        caps_.reset();
    orientation_ = orientation;
}

TDeviceCaps TPrinter::Capabilities()
{
    if (!caps_) {
        const TDevMode settings = Settings().value_or(TDevMode{});
        caps_ = IsVirtual(index_) ? SheetCaps(PdfPrinterSheet(settings), orientation_)
                                  : backend_->Capabilities(CurrentPrinter(), settings, orientation_);
    }
    return *caps_;
}

void TPrinter::BeginDoc()
{
    CheckNotPrinting();
    TJobStart start;
    start.Printer = CurrentPrinter();
    const std::optional<TDevMode> settings = Settings();
    if (!settings)
        throw EPrinter(QStringLiteral("Nie można odczytać ustawień drukarki %1.").arg(start.Printer.Device));
    start.Settings = *settings;
    start.Orientation = orientation_;
    start.Caps = Capabilities();
    start.Title = Title;
    start.OneSided = OneSided;
    start.Copies = Copies;
    job_ = IsVirtual(index_) ? BeginPdfFileJob(start) : backend_->BeginJob(start);
    abortProc_ = [] {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    };
}

TPrintJob &TPrinter::Job() const
{
    if (!job_)
        throw EPrinter(QStringLiteral("Drukarka nie drukuje."));
    return *job_;
}

void TPrinter::NewPage()
{
    Job().NewSheet();
}

void TPrinter::EndDoc()
{
    Job();
    const std::unique_ptr<TPrintJob> job = std::move(job_);
    job->End();
}

void TPrinter::Abort()
{
    job_.reset();
}

bool TPrinter::Printing() const
{
    return job_ != nullptr;
}

TPrinterCanvas &TPrinter::Canvas()
{
    Job();
    return *canvas_;
}

void TPrinter::SetAbortProc(std::function<void()> proc)
{
    abortProc_ = std::move(proc);
}

namespace {

std::unique_ptr<TPrinter> &ProgramPrinter()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

} // namespace

TPrinter &Printer()
{
    std::unique_ptr<TPrinter> &printer = ProgramPrinter();
    if (!printer)
        printer = std::make_unique<TPrinter>(MakeCupsBackend());
    return *printer;
}

void SetPrinterBackend(std::unique_ptr<TPrinterBackend> backend)
{
    ProgramPrinter() = std::make_unique<TPrinter>(std::move(backend));
}

} // namespace platform
