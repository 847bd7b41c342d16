#pragma once
// The causes the system gives for a failed file operation, in the user's words.
#include <QString>

namespace platform {

// A short Polish description of errno value error ("brak miejsca na dysku"); an unusual one is
// named by its number.
QString SystemErrorText(int error);

} // namespace platform
