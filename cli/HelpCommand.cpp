#include "cli/Commands.h"

#include <cstdio>

QString UsageText()
{
    return QStringLiteral(
        "Usage: wenoglad-cli COMMAND [ARGUMENTS]\n"
        "\n"
        "Works on Wenor printout files (.wyd) without a display.\n"
        "\n"
        "Commands:\n"
        "  info FILE   Read the printout and print a JSON summary of it: body version,\n"
        "              resolution, line spacing, lines per page, the text styles (index 0 is\n"
        "              the built-in default style), and the numbers of records, lines (as\n"
        "              counted for pagination), fields and pictures.\n"
        "  --help      Show this text.\n"
        "\n"
        "Exit codes: 0 success; 1 the file is not a valid printout (its message goes to\n"
        "standard error); 2 the file cannot be opened, or the command line is wrong.\n");
}

int RunHelp()
{
    std::fputs(UsageText().toUtf8().constData(), stdout);
    return 0;
}
