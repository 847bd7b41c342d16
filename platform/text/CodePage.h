#pragma once
// Printout text is stored as single bytes of the host's Windows code page; these decode it.
#include <QByteArray>
#include <QString>

namespace platform {

// The code page name ("windows-1250", ...) that a font character set stands for.
const char *CodePageForCharset(int charset);

// Decodes printout bytes by a style's character set (anything unknown decodes as Windows-1250).
QString DecodeCharset(const QByteArray &bytes, int charset);

// Windows-1250 bytes to text, the host's own code page.
QString DecodeAnsi(const QByteArray &bytes);

} // namespace platform
