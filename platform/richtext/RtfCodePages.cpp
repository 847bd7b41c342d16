#include "platform/richtext/RtfCodePages_p.h"

namespace platform::rtf {

int CodePageForRtfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0; // 1 (default charset) and the unknown follow \ansicpg
    }
}

namespace {

QByteArray CodecName(int codePage)
{
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

// The Symbol font's bullet is the only symbol rich-edit controls write (list bullets);
// the rest of the font is close enough to Latin-1 for what shows in printouts.
QString DecodeSymbol(const QByteArray &bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        s.append(b == 0xB7 ? QChar(0x2022) : QChar(b));
    }
    return s;
}

bool IsDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

} // namespace

CodePageDecoders::CodePage &CodePageDecoders::Get(int codePage)
{
    const bool known =
        codePage == 874 || IsDoubleByte(codePage) || (codePage >= 1250 && codePage <= 1258) || codePage == 10000;
    if (!known)
        codePage = 1250;
    auto [it, added] = pages_.try_emplace(codePage);
    CodePage &page = it->second;
    if (added) {
        page.decoder =
            std::make_unique<QStringDecoder>(CodecName(codePage).constData(), QStringConverter::Flag::Stateless);
        if (!page.decoder->isValid())
            page.decoder = std::make_unique<QStringDecoder>("windows-1250", QStringConverter::Flag::Stateless);
        // Single-byte code pages decode through a table: most runs of text are a few bytes long,
        // and a converter call per run costs more than the text.
        if (!IsDoubleByte(codePage)) {
            page.table.reserve(256);
            for (int b = 0; b < 256; ++b) {
                const QString c = page.decoder->decode(QByteArray(1, char(b)));
                page.table.append(c.size() == 1 ? c.at(0) : QChar(QChar::ReplacementCharacter));
            }
        }
    }
    return page;
}

QString CodePageDecoders::Decode(const QByteArray &bytes, int codePage)
{
    if (codePage == kSymbolCodePage)
        return DecodeSymbol(bytes);
    CodePage &page = Get(codePage);
    if (page.table.isEmpty())
        return page.decoder->decode(bytes);
    QString s(bytes.size(), Qt::Uninitialized);
    QChar *out = s.data();
    const QChar *table = page.table.constData();
    for (char c : bytes)
        *out++ = table[static_cast<unsigned char>(c)];
    return s;
}

} // namespace platform::rtf
