#include "ui/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TKeyPreview::TKeyPreview(QWidget *window) : QObject(window), window_(window)
{
    // Watching the application covers controls created after this, and sees a key before any
    // filter of the control it is meant for.
    qApp->installEventFilter(this);
}

const std::function<void()> *TKeyPreview::Action(const QKeyEvent &key) const
{
    if (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return nullptr;
    const std::function<void()> *action = nullptr;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        action = &OnAccept;
        break;
    case Qt::Key_Escape:
        action = &OnCancel;
        break;
    case Qt::Key_F1:
        action = &OnHelp;
        break;
    default:
        return nullptr;
    }
    return *action ? action : nullptr;
}

bool TKeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != window_)
        return false;
    if (Active && !Active())
        return false;
    const auto &key = *static_cast<const QKeyEvent *>(event);
    const std::function<void()> *action = Action(key);
    if (type == QEvent::ShortcutOverride) {
        // A window key comes to the window as a key press, whatever shortcut a control has for it.
        if (action)
            event->accept();
        return false;
    }
    // Run from copies: a handler may close the window and destroy this with it.
    if (action) {
        const std::function<void()> run = *action;
        run();
        return true;
    }
    if (!OnKey)
        return false;
    const auto handler = OnKey;
    return handler(key);
}
