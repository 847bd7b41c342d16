#include "view/RamkaOkna.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

TRamkaOkna::TRamkaOkna(QWidget *window, QSize minimum) : QObject(window), window_(window), minimum_(minimum)
{
    window_->setMinimumSize(minimum_);
    window_->installEventFilter(this);
}

void TRamkaOkna::Ustaw(const QRect &outer)
{
    czeka_ = outer;
    // A window's position is that of its frame already; its size is that of its inside.
    window_->move(outer.topLeft());
    window_->resize(outer.size());
    Dopasuj();
}

QRect TRamkaOkna::Obramowanie() const
{
    return window_->frameGeometry();
}

bool TRamkaOkna::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_) {
        switch (event->type()) {
        // Not on the change of state: leaving the maximised state, the frame is still the
        // maximised one (without borders) until the window manager gives the window back its
        // size, which comes as a resize.
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            Dopasuj();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TRamkaOkna::Dopasuj()
{
    const QWindow *handle = window_->windowHandle();
    if (!handle || !window_->isVisible())
        return;
    const QMargins ramka = handle->frameMargins();
    if (ramka.isNull())
        return;
    const QSize grubosc(ramka.left() + ramka.right(), ramka.top() + ramka.bottom());
    if (!minimumUstawione_) {
        minimumUstawione_ = true;
        window_->setMinimumSize((minimum_ - grubosc).expandedTo(QSize(0, 0)));
    }
    if (!czeka_ || (window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect outer = *czeka_;
    czeka_.reset();
    window_->move(outer.topLeft());
    window_->resize(outer.size() - grubosc);
}
