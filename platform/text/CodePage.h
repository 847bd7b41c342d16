#pragma once
// Printout text is stored as single bytes of the host's Windows code page; these decode it.
#include <QByteArray>
#include <QString>

#include <array>

namespace platform {

// The code page name ("windows-1250", ...) that a font character set stands for.
const char *CodePageForCharset(int charset);

// Decodes printout bytes by a style's character set (anything unknown decodes as Windows-1250).
QString DecodeCharset(const QByteArray &bytes, int charset);

// Windows-1250 bytes to text, the host's own code page.
QString DecodeAnsi(const QByteArray &bytes);

// A single-byte code page as a table: each byte's character, U+FFFD for a byte it leaves undefined.
using ByteTable = std::array<char16_t, 256>;

// Windows-1250, built once.
const ByteTable &Windows1250Table();

// The table of the code page a character set stands for (Windows-1250's is Windows1250Table()).
ByteTable CharsetTable(int charset);

} // namespace platform
