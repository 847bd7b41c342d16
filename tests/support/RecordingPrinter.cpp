#include "tests/support/RecordingPrinter.h"

#include "platform/printer/PrinterError.h"

namespace {

using TState = TRecordedJob::TState;

class TRecordingJob : public platform::TPrintJob {
public:
    TRecordingJob(std::shared_ptr<TPrinterRecording> recording, qsizetype index)
        : recording_(std::move(recording)), index_(index)
    {
    }
    ~TRecordingJob() override
    {
        if (Job().State == TState::Open)
            Job().State = TState::Abandoned;
    }

    void DrawPicture(const QRect &target, const platform::PageMetafile &page,
                     const platform::RecordCallback &change) override
    {
        Job().Sheets.last().append(TRecordedPlacement{&page, target, bool(change), {}});
    }
    void DrawImage(QPoint topLeft, const QImage &image) override
    {
        Job().Sheets.last().append(TRecordedPlacement{nullptr, QRect(topLeft, image.size()), false, image});
    }
    void NewSheet() override { Job().Sheets.append(QList<TRecordedPlacement>()); }
    void End() override
    {
        if (!recording_->RefuseWith.isEmpty()) {
            Job().State = TState::Abandoned;
            throw EPrinter(recording_->RefuseWith);
        }
        Job().State = TState::Ended;
    }

private:
    TRecordedJob &Job() { return recording_->Jobs[index_]; }

    std::shared_ptr<TPrinterRecording> recording_;
    qsizetype index_;
};

} // namespace

QList<TRecordedJob> TPrinterRecording::Ended() const
{
    QList<TRecordedJob> ended;
    for (const TRecordedJob &job : Jobs)
        if (job.State == TState::Ended)
            ended.append(job);
    return ended;
}

TRecordingBackend::TRecordingBackend(std::shared_ptr<TPrinterRecording> recording) : recording_(std::move(recording)) {}

QList<platform::TPrinterInfo> TRecordingBackend::Printers(int &defaultIndex)
{
    defaultIndex = recording_->DefaultIndex;
    return recording_->Printers;
}

std::optional<platform::TDevMode> TRecordingBackend::DefaultSettings(const platform::TPrinterInfo &)
{
    return recording_->Settings;
}

QList<platform::TPrinterOption> TRecordingBackend::Options(const platform::TPrinterInfo &)
{
    return recording_->Options;
}

platform::TDeviceCaps TRecordingBackend::Capabilities(const platform::TPrinterInfo &, const platform::TDevMode &,
                                                      platform::TOrientation orientation)
{
    platform::TDeviceCaps c = recording_->Caps;
    if (orientation == platform::TOrientation::Landscape) {
        std::swap(c.PhysicalWidth, c.PhysicalHeight);
        std::swap(c.PhysicalOffsetX, c.PhysicalOffsetY);
        std::swap(c.LogPixelsX, c.LogPixelsY);
    }
    return c;
}

std::unique_ptr<platform::TPrintJob> TRecordingBackend::BeginJob(const platform::TJobStart &start)
{
    recording_->Jobs.append(TRecordedJob{start, {QList<TRecordedPlacement>()}, TState::Open});
    return std::make_unique<TRecordingJob>(recording_, recording_->Jobs.size() - 1);
}
