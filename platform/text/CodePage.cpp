#include "platform/text/CodePage.h"

#include <QStringDecoder>

#include <cstring>

namespace platform {

namespace {

ByteTable BuildTable(const char *codePage)
{
    QStringDecoder decoder(codePage);
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1250");
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString c = decoder.decode(QByteArrayView(&byte, 1));
        table[size_t(b)] = c.size() == 1 ? c[0].unicode() : char16_t(0xFFFD);
    }
    return table;
}

} // namespace

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

const ByteTable &Windows1250Table()
{
    static const ByteTable table = BuildTable("windows-1250");
    return table;
}

ByteTable CharsetTable(int charset)
{
    const char *page = CodePageForCharset(charset);
    return std::strcmp(page, "windows-1250") == 0 ? Windows1250Table() : BuildTable(page);
}

} // namespace platform
