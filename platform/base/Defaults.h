#pragma once
// The values the program starts from and the names it knows its files by, each written here once
// for every part that uses them: the preview, the command line, the library and the install.
#include <QLatin1String>
#include <QString>

namespace defaults {

// The margins a page is shown and exported with until the user sets others, in millimetres.
inline constexpr int kMarginLeft = 10;
inline constexpr int kMarginTop = 15;
inline constexpr int kMarginRight = 10;
inline constexpr int kMarginBottom = 25;

// The margins as the command line writes them: "L,T,R,B".
inline QString MarginsText()
{
    return QStringLiteral("%1,%2,%3,%4").arg(kMarginLeft).arg(kMarginTop).arg(kMarginRight).arg(kMarginBottom);
}

// The MIME type the desktop knows printouts by.
inline constexpr QLatin1String kPrintoutMimeType("application/x-wenor-wydruk");

// A printout's extension without its point. Names are compared without regard to case: the
// library names the files it makes in small letters, the host named them in capitals.
inline constexpr QLatin1String kPrintoutSuffix("wyd");

// ".wyd"
inline QString PrintoutExtension()
{
    return QLatin1Char('.') + QString(kPrintoutSuffix);
}

// ".WYD"
inline QString PrintoutExtensionUpper()
{
    return PrintoutExtension().toUpper();
}

// "*.wyd", the mask that finds printouts.
inline QString PrintoutMask()
{
    return QLatin1Char('*') + PrintoutExtension();
}

} // namespace defaults
