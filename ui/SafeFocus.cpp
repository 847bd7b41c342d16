#include "ui/SafeFocus.h"

#include <QStringList>
#include <QWidget>

QString ControlPath(const QWidget *control)
{
    if (control == nullptr)
        return QStringLiteral("nil");
    QStringList levels;
    for (const QObject *o = control; o != nullptr; o = o->parent()) {
        QString level = QString::fromLatin1(o->metaObject()->className());
        const auto *w = qobject_cast<const QWidget *>(o);
        if (!(w && w->isWindow()))
            level += QLatin1Char('-') + o->objectName();
        levels.prepend(level);
    }
    return levels.join(QStringLiteral(", "));
}

void SafeSetFocus(QWidget *control)
{
    if (control != nullptr) {
        const bool canFocus = control->isVisible() && control->isEnabled() && control->focusPolicy() != Qt::NoFocus;
        if (canFocus) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const int visible = control && !control->isHidden() ? 1 : 0;
    const int enabled = control && !control->testAttribute(Qt::WA_ForceDisabled) ? 1 : 0;
    const int canFocus =
        control && control->isVisible() && control->isEnabled() && control->focusPolicy() != Qt::NoFocus ? 1 : 0;
    throw ESetFocusError(
        QStringLiteral("Problem z SetFocus dla: ") + ControlPath(control) + QLatin1Char('\r') +
        QStringLiteral("(Visible=%1, Enabled=%2, CanFocus=%3)").arg(visible).arg(enabled).arg(canFocus));
}
