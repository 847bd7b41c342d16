#pragma once
// The printers of the CUPS server the environment names (CUPS_SERVER, client.conf) and the jobs sent
// to them: each job is drawn into a temporary PDF and handed to CUPS when it ends.
#include "platform/printer/PrinterBackend.h"

namespace platform {

std::unique_ptr<TPrinterBackend> MakeCupsBackend();

} // namespace platform
