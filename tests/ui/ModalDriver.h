#pragma once
// Drives a modal window from inside its own event loop: the action runs once the window is up.
// A second, later step closes whatever modal window is still open, so a test that expects the
// window to stay open fails instead of hanging.
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

struct ModalDriver {
    bool ran = false;
    bool closedBySafety = false;

    void Then(std::function<void(QWidget *)> action)
    {
        QTimer::singleShot(0, qApp, [this, action] {
            QWidget *w = QApplication::activeModalWidget();
            ran = w != nullptr;
            if (w)
                action(w);
            // Only the window acted on: a later modal window belongs to the next step of the test.
            QTimer::singleShot(0, qApp, [this, target = QPointer<QWidget>(w)] {
                if (target && target->isVisible()) {
                    closedBySafety = true;
                    target->close();
                }
            });
        });
    }
};
