#pragma once
// The options a CUPS queue offers, as its server describes them (the supported and default values of
// the queue's IPP attributes, which a PPD queue's server derives from the PPD).
#include "platform/printer/PrinterOptions.h"

namespace platform {

// Paper sizes, colour modes, resolutions, sides and input trays the queue has choices for, with the
// labels CUPS localises where it has them, each valued at the queue's default. Raises EPrinter when
// the queue is unknown or its server does not answer.
QList<TPrinterOption> CupsQueueOptions(const QString &device);

} // namespace platform
