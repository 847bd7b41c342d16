#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"

#include "adding/Dodawanie.h"
#include "core/PrintoutFile.h"
#include "platform/base/NativePath.h"
#include "platform/text/CodePage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

// Writing into a folder without a user: an existing file is kept and reported.
class TBezPytan : public TRozmowaDodawania {
public:
    bool PytanieTakNie(const QString &, const QString &) override { return false; }
    void PokazBlad(const QString &, const QString &tekst) override { PrintError(tekst); }
    void PokazBladAplikacji(const QString &komunikat) override { PrintError(komunikat); }
    void Postep(const QString &) override {}
    void Odmaluj() override {}
};

// file is null for the listing without a folder; an empty file is a record whose name was refused.
void PrintRecord(const TRekordPaczki &rekord, const QByteArray &sha256, const QString *file, bool written)
{
    const QDateTime time = CzasDos(rekord.Czas);
    JsonWriter json(0);
    json.BeginObject()
        .Value("name", platform::DecodeAnsi(rekord.Nazwa))
        .Value("time", time.isValid() ? time.toString(Qt::ISODate) : QString())
        .Value("length", qint64{rekord.Dlugosc})
        .Value("sha256", QString::fromLatin1(sha256.toHex()));
    if (file && !file->isEmpty())
        json.Value("file", *file);
    if (file)
        json.Boolean("written", written);
    json.EndObject();
    std::fwrite(json.Text().constData(), 1, static_cast<size_t>(json.Text().size()), stdout);
}

} // namespace

int RunPaczka(const QStringList &args)
{
    QString input, out;
    bool usage = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o")) {
            usage = usage || i + 1 == args.size() || !out.isEmpty();
            if (i + 1 < args.size())
                out = args[++i];
        } else {
            usage = usage || !input.isEmpty();
            input = args[i];
        }
    }
    if (usage || input.isEmpty() || (args.contains(QStringLiteral("-o")) && out.isEmpty())) {
        PrintError(QStringLiteral("wenoglad-cli paczka: podaj plik paczki i ewentualnie -o KATALOG\n\n") + UsageText());
        return kExitUsage;
    }
    const std::filesystem::path path = platform::NativePath(input);
    QFile file;
    try {
        if (!platform::OpenForReading(file, path)) {
            PrintError(EFOpenError(input).Message());
            return kExitCannotOpen;
        }
    } catch (const platform::ENotARegularFile &e) {
        PrintError(e.Message());
        return kExitBadPrintout;
    }
    if (!out.isEmpty() && !QDir().mkpath(out)) {
        PrintError(QStringLiteral("Nie można utworzyć folderu \"%1\"").arg(out));
        return kExitCannotOpen;
    }
    try {
        const qint32 offset = SprawdzPaczke(path);
        if (out.isEmpty()) {
            TCzytnikPaczki reader(file, offset, input);
            TRekordPaczki rekord;
            while (reader.Nastepny(rekord)) {
                QCryptographicHash hash(QCryptographicHash::Sha256);
                reader.Dane([&hash](QByteArrayView b) { hash.addData(b); });
                PrintRecord(rekord, hash.result(), nullptr, false);
            }
        } else {
            TBezPytan user;
            const std::filesystem::path folder = platform::NativePath(out);
            RozpakujPaczke(path, offset, folder, user, [](const TWynikRekordu &w) {
                const QString target = w.Plik.empty() ? QString() : platform::DisplayPath(w.Plik);
                PrintRecord(w.Rekord, w.Sha256, &target, w.Zapisany);
                if (!w.Zapisany && w.NazwaDozwolona)
                    PrintError(QStringLiteral("wenoglad-cli paczka: plik %1 już istnieje, pozostawiony bez zmian")
                                   .arg(target));
            });
        }
    } catch (const EZapisError &e) {
        std::fflush(stdout);
        PrintError(e.Message());
        return kExitCannotOpen;
    } catch (const Exception &e) {
        std::fflush(stdout);
        PrintError(e.Message());
        return kExitBadPrintout;
    }
    return FinishStandardOutput();
}
