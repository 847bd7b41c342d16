// TWenForm's events: the frame under the mouse, the window keys, the disabled flag, help mode and
// the posted messages.
#include "ui/HintBar.h"
#include "ui/bajery.h"
#include "ui/uWenForm_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

namespace {

bool IsSizing(int code)
{
    return code >= HTLEFT && code <= HTBOTTOMRIGHT;
}

Qt::Edges EdgesOf(int code)
{
    Qt::Edges edges;
    if (code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT)
        edges |= Qt::LeftEdge;
    if (code == HTRIGHT || code == HTTOPRIGHT || code == HTBOTTOMRIGHT)
        edges |= Qt::RightEdge;
    if (code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT)
        edges |= Qt::TopEdge;
    if (code == HTBOTTOM || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT)
        edges |= Qt::BottomEdge;
    return edges;
}

// The user's input, which help mode takes for itself.
bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// What a disabled window still gets: painting, moving, sizing, the pointer's moves and the window
// system's own notices; the user's input is dropped.
bool DroppedWhileDisabled(const QEvent &event)
{
    if (IsInput(event.type()))
        return event.type() != QEvent::MouseMove;
    switch (event.type()) {
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        return event.spontaneous(); // the user's request through the window manager
    default:
        return false;
    }
}

bool IsEnterOrEsc(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

bool TWenForm::TPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (helpMode && IsInput(event->type()))
        return HelpModeEvent(event);
    if (widget->window() != q)
        return false;
    if (disabled && DroppedWhileDisabled(*event))
        return true;
    if (event->type() == QEvent::Polish) {
        // Enter belongs to the hint bar's accept: no button of the window clicks on it.
        if (auto *button = qobject_cast<QPushButton *>(widget))
            button->setAutoDefault(false);
        return false;
    }
    if (widget == q->pCapIkona && event->type() == QEvent::MouseButtonDblClick) {
        q->close();
        return true;
    }
    return widget == q && FormEvent(event);
}

bool TWenForm::TPrivate::FormEvent(QEvent *event)
{
    if (event->type() == RefreshEvent()) {
        if (refreshPending) {
            q->UpdateActiveLook();
            q->update();
        }
        return true;
    }
    if (event->type() == DeferredShowEvent()) {
        q->DeferredShow();
        return true;
    }
    switch (event->type()) {
    case QEvent::Show:
        if (!shown) {
            shown = true;
            QCoreApplication::postEvent(q, new QEvent(DeferredShowEvent()));
        }
        q->SetActive(true);
        q->SetDisabled(false);
        return false;
    case QEvent::Hide:
        EndHelpMode();
        return false;
    case QEvent::Resize:
        Relayout();
        ResizeHandler();
        return false;
    case QEvent::Move:
    case QEvent::WindowStateChange:
        ResizeHandler();
        return false;
    case QEvent::WindowTitleChange:
        q->pCapText->SetCaption(QLatin1Char(' ') + q->windowTitle());
        return false;
    case QEvent::KeyPress: {
        // The dialog's own Enter and Esc (default button, reject) never run: the window's keys
        // are the hint bar's.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!IsEnterOrEsc(key->key()))
            return false;
        Keys(*key);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return FrameMouse(static_cast<QMouseEvent *>(event));
    default:
        return false;
    }
}

bool TWenForm::TPrivate::FrameMouse(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    QWindow *handle = q->windowHandle();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (event->button() != Qt::LeftButton)
            return false;
        const int code = q->FrameHitTest(pos);
        pressGlobal = global;
        if (code == HTCAPTION) {
            movePending = true;
            return true;
        }
        if (!IsSizing(code))
            return false;
        if (!handle || !handle->startSystemResize(EdgesOf(code))) {
            dragCode = code;
            dragStartBounds = q->frameGeometry();
        }
        return true;
    }
    case QEvent::MouseMove: {
        if (!(event->buttons() & Qt::LeftButton)) {
            const int code = q->FrameHitTest(pos);
            if (IsSizing(code))
                q->pFrame->setCursor(SizingCursor(code));
            else
                q->pFrame->unsetCursor();
            return false;
        }
        if (movePending && global != pressGlobal) {
            movePending = false;
            if (!handle || !handle->startSystemMove()) {
                dragCode = HTCAPTION;
                dragStartBounds = q->frameGeometry();
            }
        }
        if (dragCode == HTNOWHERE)
            return movePending;
        // Our own move or resize, where the window system offers none.
        const QPoint delta = global - pressGlobal;
        QRect bounds = dragStartBounds;
        if (dragCode == HTCAPTION) {
            SetOuterBounds(bounds.translated(delta));
            return true;
        }
        const Qt::Edges edges = EdgesOf(dragCode);
        if (edges & Qt::LeftEdge)
            bounds.setLeft(bounds.left() + delta.x());
        if (edges & Qt::RightEdge)
            bounds.setRight(bounds.right() + delta.x());
        if (edges & Qt::TopEdge)
            bounds.setTop(bounds.top() + delta.y());
        if (edges & Qt::BottomEdge)
            bounds.setBottom(bounds.bottom() + delta.y());
        SetOuterBounds(ClampSizing(bounds, dragCode, limits));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (event->button() != Qt::LeftButton)
            return false;
        const bool dragging = movePending || dragCode != HTNOWHERE;
        movePending = false;
        dragCode = HTNOWHERE;
        return dragging;
    }
    case QEvent::MouseButtonDblClick: {
        if (event->button() != Qt::LeftButton)
            return false;
        const QRect caption(q->pCaption->mapTo(q, QPoint(0, 0)), q->pCaption->size());
        if (q->FrameHitTest(pos) != HTCAPTION && !caption.contains(pos))
            return false;
        movePending = false;
        ClickMaximize();
        return true;
    }
    default:
        return false;
    }
}

bool TWenForm::TPrivate::Keys(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    THintBar *bar = q->hb;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (bar->TextAccept().isEmpty() || !bar->HasAcceptHandler())
            return false;
        Q_EMIT bar->OnAccept();
        return true;
    case Qt::Key_Escape:
        if (bar->TextCancel().isEmpty() || !bar->HasCancelHandler())
            return false;
        Q_EMIT bar->OnCancel();
        return true;
    default:
        return false;
    }
}

void TWenForm::TPrivate::ClickMaximize()
{
    QToolButton *button = q->btnCapMaximize;
    if (!button->isHidden() && button->isEnabled())
        button->click();
}

bool TWenForm::TPrivate::HelpModeEvent(QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            return true;
        EndHelpMode();
        if (key->key() == Qt::Key_F1)
            ControlHelp(q->btnCapHelp);
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const QPoint local = q->mapFromGlobal(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        if (!q->rect().contains(local)) {
            EndHelpMode();
            return true;
        }
        QWidget *control = q->childAt(local);
        ControlHelp(control ? control : q);
    }
    return true;
}

void TWenForm::TPrivate::StartHelpMode()
{
    if (helpMode)
        return;
    helpMode = true;
    q->btnCapHelp->setChecked(true);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    q->grabMouse();
}

void TWenForm::TPrivate::EndHelpMode()
{
    if (!helpMode)
        return;
    helpMode = false;
    q->btnCapHelp->setChecked(false);
    QApplication::restoreOverrideCursor();
    q->releaseMouse();
}

void TWenForm::TPrivate::ControlHelp(QWidget *control)
{
    EndHelpMode();
    if (!control || control == q->btnCapHelp || control == q->btnCapMinimize || control == q->btnCapMaximize ||
        control == q->btnCapClose || control == q->hb || q->hb->isAncestorOf(control))
        return;
    for (QWidget *w = control; w; w = w->parentWidget()) {
        const QString text = q->ShowControlHelp(w);
        if (!text.isEmpty()) {
            QToolTip::showText(w->mapToGlobal(QPoint(w->width() / 2, w->height() / 2)), text, w);
            return;
        }
        if (w == q)
            return;
    }
}
