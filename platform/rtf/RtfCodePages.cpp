#include "platform/rtf/RtfCodePages.h"

namespace platform::rtf {

int CodePageForRtfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 0; // 1 (default charset) and the unknown follow \ansicpg
    }
}

namespace {

QByteArray CodecName(int codePage)
{
    switch (codePage) {
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    default: return "windows-" + QByteArray::number(codePage);
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

} // namespace

QStringDecoder &CodePageDecoders::DecoderFor(int codePage)
{
    auto &slot = decoders_[codePage];
    if (!slot) {
        slot = std::make_unique<QStringDecoder>(CodecName(codePage).constData(),
                                                QStringConverter::Flag::Stateless);
        if (!slot->isValid())
            slot = std::make_unique<QStringDecoder>("windows-1250", QStringConverter::Flag::Stateless);
    }
    return *slot;
}

QString CodePageDecoders::Decode(const QByteArray &bytes, int codePage)
{
    if (codePage == kSymbolCodePage)
        return DecodeSymbol(bytes);
    return DecoderFor(codePage).decode(bytes);
}

} // namespace platform::rtf
