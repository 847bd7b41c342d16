#include "platform/text/CodePage.h"

#include <QStringDecoder>

namespace platform {

const char *CodePageForCharset(int charset)
{
    switch (charset) {
    case 204:
        return "windows-1251";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 163:
        return "windows-1258";
    case 222:
        return "windows-874";
    default:
        return "windows-1250"; // 0, 1, 186, 238 and the unknown: the host's code page
    }
}

QString DecodeCharset(const QByteArray &bytes, int charset)
{
    QStringDecoder decoder(CodePageForCharset(charset));
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1250");
    return decoder.decode(bytes);
}

QString DecodeAnsi(const QByteArray &bytes)
{
    return DecodeCharset(bytes, 238);
}

} // namespace platform
