#include "ui/ErrorBox.h"

#include "platform/base/Exception.h"
#include "ui/okienko.h"

#include <QMessageBox>

QString ErrorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowErrorBox(const QString &message)
{
    QWidget *wlasciciel = WlascicielOkienka();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Wenoglad"), ErrorBoxText(message), QMessageBox::Ok,
                    wlasciciel);
    if (wlasciciel && wlasciciel->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void HandleUncaughtException(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort &) {
        // The user cancelled: nothing to show.
    } catch (const Exception &e) {
        ShowErrorBox(e.Message());
    } catch (const std::exception &e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Nieznany błąd"));
    }
}

TWenApplication::TWenApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TWenApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleUncaughtException(std::current_exception());
        return false;
    }
}
