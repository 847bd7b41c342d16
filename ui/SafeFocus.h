#pragma once
// Moving the keyboard focus where a refusal is an error worth reporting, with the control's path.
#include "platform/base/Exception.h"

class QWidget;

class ESetFocusError : public Exception {
public:
    using Exception::Exception;
};

// The control's path: "ClassName" for a window, "ClassName-objectName" for anything else, from
// the outermost parent down, joined by ", "; "nil" without a control.
QString ControlPath(const QWidget *control);

// Gives control the focus; raises ESetFocusError when it cannot take it (hidden, disabled, not
// focusable, or no control at all).
void SafeSetFocus(QWidget *control);
