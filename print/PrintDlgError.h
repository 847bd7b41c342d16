#pragma once
// Errors of the print dialog and of the page sets typed into it; the dialog shows them in its own
// box and stays open.
#include "platform/base/Exception.h"

class EPrintDlgError : public Exception {
public:
    using Exception::Exception;
};
