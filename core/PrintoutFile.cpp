#include "core/PrintoutFile.h"

#include "core/HeaderFormat.h"
#include "core/InflateStream.h"
#include "core/MemoryBudget.h"
#include "platform/base/NativePath.h"
#include "platform/base/SystemError.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why the file cannot be opened for reading, as it is now.
QString PrzyczynaNieotwarcia(const std::filesystem::path &native)
{
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0)
        return platform::SystemErrorText(errno);
    if (S_ISDIR(st.st_mode))
        return platform::SystemErrorText(EISDIR);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("to nie jest zwykły plik");
    if (::access(native.c_str(), R_OK) != 0)
        return errno == EACCES ? QStringLiteral("brak uprawnień do jego odczytu") : platform::SystemErrorText(errno);
    return QStringLiteral("system nie pozwolił go otworzyć");
}

// The reader's marker and string errors name a place in the file, not a cause.
bool BladZnacznika(const QString &message)
{
    return message.startsWith(QStringLiteral("Błąd czytania z pliku ["));
}

} // namespace

EFOpenError::EFOpenError(const QString &path) : EFOpenError(path, platform::NativePath(path)) {}

EFOpenError::EFOpenError(const QString &path, const std::filesystem::path &native)
    : EStreamError(QStringLiteral("Nie można otworzyć pliku \"%1\": %2").arg(path, PrzyczynaNieotwarcia(native)))
{
}

QString OpisBleduWydruku(const QString &path, const QFileDevice &file, const Exception &error, bool fileEnded)
{
    const QString message = error.Message();
    QString cause;
    if (file.error() == QFileDevice::ReadError)
        cause = QStringLiteral("błąd odczytu pliku z dysku");
    else if (message == kNotAPrintout)
        cause = message;
    else if (fileEnded)
        cause = QStringLiteral("plik jest niekompletny: kończy się przed końcem danych wydruku");
    else if (dynamic_cast<const ECompressionError *>(&error))
        cause = QStringLiteral("skompresowane dane wydruku są uszkodzone");
    else if (dynamic_cast<const EBodyEnded *>(&error))
        cause = QStringLiteral("dane wydruku kończą się przedwcześnie");
    else if (dynamic_cast<const EInvalidGraphic *>(&error))
        cause = QStringLiteral("obraz zapisany w wydruku jest uszkodzony");
    else if (dynamic_cast<const EReadFileError *>(&error))
        cause = BladZnacznika(message) ? QStringLiteral("dane wydruku są uszkodzone") : message;
    else if (dynamic_cast<const EStreamError *>(&error))
        // Only the header is read straight from the file: it ended before the header did.
        cause = file.size() == 0 ? QStringLiteral("plik jest pusty")
                                 : QStringLiteral("plik jest za krótki, aby był wydrukiem Wenora");
    else
        cause = message;
    if (BladZnacznika(message))
        cause += QStringLiteral(" (") + message + QLatin1Char(')');
    return QStringLiteral("Nie można odczytać wydruku \"%1\":\r%2").arg(path, cause);
}

void ReadPrintout(QIODevice &file, TMLineWydruk &model, const std::function<void()> &headerPassed)
{
    if (!CheckHeader(file, header::kPrintoutName))
        throw EStreamError(kNotAPrintout);
    if (headerPassed)
        headerPassed();
    TInflateStream body(file);
    model.ReadBody(body);
}

void ReadPrintoutFile(QFileDevice &file, const QString &path, TMLineWydruk &model,
                      const std::function<void()> &headerPassed)
{
    bool fileEnded = false;
    try {
        if (!CheckHeader(file, header::kPrintoutName))
            throw EStreamError(kNotAPrintout);
        if (headerPassed)
            headerPassed();
        TInflateStream body(file);
        try {
            model.ReadBody(body);
        } catch (const Exception &) {
            fileEnded = body.FileEnded() && !body.ReadFailed();
            throw;
        }
    } catch (const ETooLarge &) {
        throw;
    } catch (const EAbort &) {
        throw;
    } catch (const Exception &e) {
        throw ENieczytelnyWydruk(OpisBleduWydruku(path, file, e, fileEnded));
    }
}
