#include "ui/ErrorBox.h"

#include "platform/base/Exception.h"
#include "platform/base/NativePath.h"
#include "platform/base/SystemError.h"
#include "ui/okienko.h"

#include <QMessageBox>

#include <filesystem>
#include <new>
#include <system_error>

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
    } catch (const std::bad_alloc &) {
        ShowErrorBox(QStringLiteral("Za mało pamięci, aby dokończyć tę czynność"));
    } catch (const std::filesystem::filesystem_error &e) {
        ShowErrorBox(QStringLiteral("Błąd dostępu do pliku \"%1\": %2")
                         .arg(platform::DisplayPath(e.path1()), platform::SystemErrorText(e.code().value())));
    } catch (const std::system_error &e) {
        ShowErrorBox(QStringLiteral("Błąd systemu: ") + platform::SystemErrorText(e.code().value()));
    } catch (const std::exception &e) {
        // A library's own text is English; it is kept after the Polish words for whoever looks into it.
        ShowErrorBox(QStringLiteral("Nieoczekiwany błąd programu (%1)").arg(QString::fromLocal8Bit(e.what())));
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
