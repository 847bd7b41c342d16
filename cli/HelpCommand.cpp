#include "cli/BuildPrintout.h"
#include "cli/Commands.h"

#include <cstdio>

QString UsageText()
{
    return QStringLiteral("Usage: wenoglad-cli COMMAND [ARGUMENTS]\n"
                          "\n"
                          "Works on Wenor printout files (.wyd) without a display.\n"
                          "\n"
                          "Commands:\n"
                          "  info FILE   Read the printout and print a JSON summary of it: body version,\n"
                          "              resolution, line spacing, lines per page, the text styles (index 0 is\n"
                          "              the built-in default style), and the numbers of records, lines (as\n"
                          "              counted for pagination), fields and pictures.\n"
                          "  text FILE   Lay the printout out and print the text of every page, top to bottom\n"
                          "              and left to right, pages separated by a form feed.\n"
                          "  pdf FILE -o OUT.pdf [--margins L,T,R,B] [--mono]\n"
                          "              Write one A4 portrait page per page, the page stretched into the area\n"
                          "              inside the margins in millimetres (default 10,15,10,25; 0,0,0,0 for the\n"
                          "              bare page). The text stays text. --mono prints in black and white.\n"
                          "  png FILE -o DIR [--dpi N] [--pages SET]\n"
                          "              Write each page (210 x 294 mm, white, no margins) as DIR/N.png at N dpi\n"
                          "              (default 96, 10 to 600); SET chooses pages, e.g. 1-3,5.\n"
                          "  --help      Show this text.\n"
                          "\n"
                          "Long printouts show \"Tworzenie stron... N%\" on standard error while pages are built.\n"
                          "Exit codes: 0 success; 1 the file is not a valid printout (its message goes to\n"
                          "standard error); 2 the file cannot be opened or written, or the command line is wrong.\n");
}

int RunHelp()
{
    std::fputs(UsageText().toUtf8().constData(), stdout);
    return FinishStandardOutput();
}
