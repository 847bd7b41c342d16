#pragma once
// The application's standard error box: an exception that no window caught is shown with the
// title "Wenoglad", a stop sign and one OK button; the user's cancellation (EAbort) is never shown.
#include <QApplication>
#include <exception>

// The message as shown: a full stop is added when its last character sorts above ".".
QString ErrorBoxText(const QString &message);

// Shows the box modally.
void ShowErrorBox(const QString &message);

// Shows the exception the standard way (EAbort: nothing). For catch (...) blocks at the top of a
// piece of work that runs outside the event loop's protection.
void HandleUncaughtException(std::exception_ptr error);

// The program's application object: every exception that escapes an event handler reaches the
// standard error box instead of ending the program.
class TWenApplication : public QApplication {
    Q_OBJECT
public:
    TWenApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
