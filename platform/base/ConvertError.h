#pragma once
// A text that is no 32-bit integer where one was required ("'' nie jest prawidłową liczbą całkowitą"). The
// windows that raise it do not catch it, so it reaches the standard error box.
#include "platform/base/Exception.h"

class EConvertError : public Exception {
public:
    using Exception::Exception;
};
