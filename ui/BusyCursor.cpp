#include "ui/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
int gCount = 0;
bool gOverridden = false;
} // namespace

void BusyCursor(bool on, bool light)
{
    gCount = on ? gCount + 1 : std::max(gCount - 1, 0);
    if (gCount == 0) {
        if (gOverridden)
            QGuiApplication::restoreOverrideCursor();
        gOverridden = false;
        return;
    }
    const QCursor shape(light ? Qt::BusyCursor : Qt::WaitCursor);
    if (gOverridden) {
        QGuiApplication::changeOverrideCursor(shape);
    } else {
        QGuiApplication::setOverrideCursor(shape);
        gOverridden = true;
    }
}

int BusyCursorCount()
{
    return gCount;
}
