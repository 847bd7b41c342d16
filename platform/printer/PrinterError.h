#pragma once
// Failures of the printer and its jobs, carrying the printing system's own message.
#include "platform/base/Exception.h"

class EPrinter : public Exception {
public:
    using Exception::Exception;
};
