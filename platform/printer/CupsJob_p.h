#pragma once
// A job for a CUPS queue: drawn into a temporary PDF, handed to CUPS with the job's options when it
// ends, and removed on every path.
#include "platform/printer/PrinterBackend.h"
#include "platform/printer/PrinterSheet_p.h"

namespace platform {

std::unique_ptr<TPrintJob> BeginCupsJob(const TJobStart &start, const TSheet &sheet);

} // namespace platform
