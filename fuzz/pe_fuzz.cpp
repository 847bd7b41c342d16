// Fuzzes the version reader: any bytes as an executable, every value it finds read back.
#include "platform/versioninfo/FileVerInfo.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const TFileVerInfo info(QByteArrayView(data, static_cast<qsizetype>(size)), QStringLiteral("fuzz.exe"));
        size_t sum =
            static_cast<size_t>(info.Tlumaczenie().size() + info.ValueByName(QStringLiteral("Rozmiar")).size());
        for (int i = 0; i < TFileVerInfo::kKeyCount; ++i)
            sum += static_cast<size_t>(info.Value(TFileVerInfo::Key(i)).size());
        for (const TTablicaNapisow &t : info.Tablice())
            for (const auto &[name, value] : t.Napisy)
                sum += static_cast<size_t>(name.size() + value.size() + t.Klucz.size());
        volatile size_t sink = sum;
        (void)sink;
    } catch (const EFileVerInfoError &) {
        // The expected answer to most inputs.
    }
    return 0;
}
