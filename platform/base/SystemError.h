#pragma once
// The causes the system gives for a failed file operation, as the user reads them: in Polish.
#include <QString>

namespace platform {

// The Polish text of an errno value, without a full stop: "nie ma takiego pliku ani folderu".
QString SystemErrorText(int errnum);

} // namespace platform
