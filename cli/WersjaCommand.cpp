#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"

#include "core/PrintoutFile.h"
#include "platform/base/NativePath.h"
#include "platform/versioninfo/FileVerInfo.h"

#include <QFile>

#include <algorithm>
#include <cstdio>

int RunWersja(const QStringList &args)
{
    if (args.size() != 1) {
        PrintError(QStringLiteral("wenoglad-cli wersja: podaj jeden plik programu\n\n") + UsageText());
        return kExitUsage;
    }
    const std::filesystem::path path = platform::NativePath(args.front());
    try {
        QFile file;
        if (!platform::OpenForReading(file, path)) {
            PrintError(EFOpenError(args.front()).Message());
            return kExitCannotOpen;
        }
        file.close();
        const TFileVerInfo info(path);
        JsonWriter json;
        json.BeginObject().Value("translation", info.Tlumaczenie());
        for (int i = 0; i < TFileVerInfo::kKeyCount; ++i)
            json.Value(TFileVerInfo::kNazwy[i], info.Value(TFileVerInfo::Key(i)));
        // The rest come from the first table in the file, whichever translation it is for.
        if (!info.Tablice().empty()) {
            for (const auto &[name, value] : info.Tablice().front().Napisy) {
                const QByteArray key = name.toUtf8();
                if (std::find_if(std::begin(TFileVerInfo::kNazwy), std::end(TFileVerInfo::kNazwy),
                                 [&name = name](const char *n) { // clang 14 cannot capture a binding
                                     return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
                                 }) == std::end(TFileVerInfo::kNazwy))
                    json.Value(key.constData(), value);
            }
        }
        json.EndObject();
        std::fwrite(json.Text().constData(), 1, static_cast<size_t>(json.Text().size()), stdout);
    } catch (const Exception &e) {
        PrintError(e.Message());
        return kExitBadPrintout;
    }
    return FinishStandardOutput();
}
