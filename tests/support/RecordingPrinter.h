#pragma once
// A printer backend that prints nothing and remembers everything: the jobs with their titles and
// settings, their sheets, and every page or image placed with its rectangle.
#include "platform/printer/PrinterBackend.h"

#include <QImage>
#include <QRect>

#include <memory>

struct TRecordedPlacement {
    const platform::PageMetafile *Page = nullptr; // null for an image
    QRect Target;
    bool Recolored = false; // the page's records were changed as they were drawn
    QImage Image;
};

struct TRecordedJob {
    enum class TState { Open, Ended, Abandoned };
    platform::TJobStart Setup;
    QList<QList<TRecordedPlacement>> Sheets;
    TState State = TState::Open;
};

// What the backend offers and what it saw; shared between the test and the printer that owns the
// backend.
struct TPrinterRecording {
    QList<platform::TPrinterInfo> Printers{
        {QStringLiteral("biuro"), QStringLiteral("Test Printer"), QStringLiteral("test:/biuro")}};
    int DefaultIndex = 0;
    bool PdfPrinter = true; // false: the list holds only Printers
    std::optional<platform::TDevMode> Settings = platform::TDevMode{};
    // What every printer offers; empty: no options.
    QList<platform::TPrinterOption> Options;
    // Portrait capabilities; landscape swaps them. A4 at 600 pixels per inch with a 4 mm border.
    platform::TDeviceCaps Caps{4960, 7016, 100, 100, 600, 600};
    // What the queue reports after a job; nullopt: it cannot be asked.
    std::optional<platform::TQueueState> Queue;
    // When set, ending a job fails with this message (the job is gone, as with a refusing queue).
    QString RefuseWith;

    QList<TRecordedJob> Jobs;
    // The jobs that reached the printer.
    QList<TRecordedJob> Ended() const;
};

class TRecordingBackend : public platform::TPrinterBackend {
public:
    explicit TRecordingBackend(std::shared_ptr<TPrinterRecording> recording);

    QList<platform::TPrinterInfo> Printers(int &defaultIndex) override;
    std::optional<platform::TDevMode> DefaultSettings(const platform::TPrinterInfo &printer) override;
    QList<platform::TPrinterOption> Options(const platform::TPrinterInfo &printer) override;
    platform::TDeviceCaps Capabilities(const platform::TPrinterInfo &printer, const platform::TDevMode &settings,
                                       platform::TOrientation orientation) override;
    std::unique_ptr<platform::TPrintJob> BeginJob(const platform::TJobStart &start) override;
    bool OffersPdfPrinter() const override { return recording_->PdfPrinter; }
    std::optional<platform::TQueueState> QueueState(const platform::TPrinterInfo &) override
    {
        return recording_->Queue;
    }

private:
    std::shared_ptr<TPrinterRecording> recording_;
};
