#pragma once
// A window's key preview: the window sees every key pressed in it before the control that has the
// focus, as a form with key preview on. The hint-bar keys mean the same in every window: Enter
// (either key) accepts, Esc cancels and F1 asks for help, each only without Shift, Ctrl and Alt,
// and the key is consumed. The window's own handler gets every other key.
#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

class TKeyPreview : public QObject {
public:
    // Owned by the window. It sees the keys of the window and of every control inside it, also of
    // controls added later, but none of another window, such as a dialog the window opened.
    explicit TKeyPreview(QWidget *window);

    // The hint-bar keys' actions; a key whose action is not set goes to OnKey like any other.
    std::function<void()> OnAccept, OnCancel, OnHelp;
    // Any other key, modifiers included; true when the window used it (no control then sees it).
    // A key left to a control that does not use it either comes back here on its way up to the
    // window, so a key that is not used must leave no trace.
    std::function<bool(const QKeyEvent &key)> OnKey;
    // Keys are previewed only while this holds; without it, always.
    std::function<bool()> Active;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The action of a hint-bar key without modifiers, or nullptr.
    const std::function<void()> *Action(const QKeyEvent &key) const;

    QWidget *window_;
};
