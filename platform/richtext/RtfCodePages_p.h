#pragma once
// Code pages of RTF text: a font's \fcharset to a Windows code page, and decoding bytes by it.
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <map>
#include <memory>

namespace platform::rtf {

constexpr int kSymbolCodePage = 42; // \fcharset2: the font's own symbols, not a code page

// The code page of a \fcharset value, or 0 when the charset stands for the document's \ansicpg.
int CodePageForRtfCharset(int charset);

// Decodes byte runs by Windows code page number, keeping one decoder per code page.
class CodePageDecoders {
public:
    // An unknown or unavailable code page decodes as Windows-1250, the host's own.
    QString Decode(const QByteArray &bytes, int codePage);

private:
    struct CodePage {
        std::unique_ptr<QStringDecoder> decoder;
        QString table; // the 256 characters of a single-byte code page; empty for double-byte ones
    };
    CodePage &Get(int codePage);
    std::map<int, CodePage> pages_;
};

} // namespace platform::rtf
