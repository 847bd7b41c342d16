#pragma once
// The inside of TWenForm, shared by the files that define it: uWenForm.cpp (building, limits,
// states, look) and uWenFormEvents.cpp (events: mouse on the frame, keys, the disabled flag, help
// mode, the deferred messages).
#include "ui/WenFormGeometry.h"
#include "ui/uWenForm.h"

#include <QEvent>
#include <QPointer>

class QMouseEvent;
class TKeyPreview;

// The private messages, posted to the window so that they run after the current event. Their
// numbers are registered with Qt, so no other part of the program can post the same ones.
inline QEvent::Type RefreshEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}
inline QEvent::Type DeferredShowEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

struct TWenForm::TPrivate : QObject {
    explicit TPrivate(TWenForm *form) : q(form) {}

    TWenForm *q;
    unsigned borderIcons = biHelp;
    TWenSizeLimits limits;
    TWenWindowState state = wsNormal;
    QRect normalBounds;
    bool active = false;
    bool disabled = false;
    bool refreshPending = false;
    bool helpMode = false;
    bool shown = false;
    QPointer<TWenForm> owner;
    QPointer<TWenForm> sub;
    TKeyPreview *keys = nullptr;

    // A press on the caption starts the move only when the pointer moves, so that a double click
    // stays a double click.
    bool movePending = false;
    QPoint pressGlobal;
    // Our own move or resize, where the window system offers none.
    int dragCode = 0;
    QRect dragStartBounds;

    // uWenForm.cpp
    QRect WorkArea() const;
    void ApplyLimits();
    void SetOuterBounds(const QRect &bounds);
    void LayoutCaptionButtons();
    void Relayout();
    void ResizeHandler();
    void RequestRefresh();
    void SetCaptionColours(bool active, bool lit);

    // uWenFormEvents.cpp
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool FormEvent(QEvent *event);
    bool FrameMouse(QMouseEvent *event);
    bool HelpModeEvent(QEvent *event);
    bool Keys(const QKeyEvent &key);
    void StartHelpMode();
    void EndHelpMode();
    void ControlHelp(QWidget *control);
    void ClickMaximize();
};
