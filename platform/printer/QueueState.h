#pragma once
// What a queue is doing once a job has been handed to it, and whether its printer prints both sides:
// the two things the print engine asks of a queue beyond its settings.
#include "platform/printer/PrinterOptions.h"

#include <QStringList>

namespace platform {

struct TQueueState {
    bool Stopped = false;      // the queue holds its jobs (CUPS: printer-state 5)
    bool AcceptingJobs = true; // false: new jobs are refused
    QStringList Reasons;       // printer-state-reasons as the server gives them ("media-empty-error")
    bool operator==(const TQueueState &) const = default;
};

// The Polish warning that a job handed to queue waits there instead of printing, naming why; empty
// when the queue prints (an idle or busy queue, reports and passing states only).
QString QueueWarning(const QString &queue, const TQueueState &state);

// Whether a printer with these options prints both sides of a sheet by itself.
bool PrintsBothSides(const QList<TPrinterOption> &options);

} // namespace platform
