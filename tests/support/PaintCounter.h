#pragma once
// Counts the paint events a widget receives and the area they cover, to see what a change
// repaints.
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

namespace wydtest {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject *watched) { watched->installEventFilter(this); }
    int count = 0;
    QRegion region;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            region += static_cast<QPaintEvent *>(event)->region();
        }
        return false;
    }
};

} // namespace wydtest
