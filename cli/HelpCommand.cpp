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
                          "  pdf FILE -o OUT.pdf --tryb MODE [--odwrotnie] [--strony SET] [--margins L,T,R,B]\n"
                          "      [--mono]\n"
                          "              Impose the pages on sheets as printing does and write the sheet sides\n"
                          "              in the order a printer that prints both sides needs: MODE normalne (a\n"
                          "              page a side), zmniejszone (two pages a landscape side) or ksiazeczka\n"
                          "              (a booklet: fold the printed stack in half). --odwrotnie reverses the\n"
                          "              order of the sheets; SET chooses pages, e.g. 5-10,12.\n"
                          "  print FILE [-d QUEUE] [--strony SET] [--tryb MODE] [--dwustronnie] [--odwrotnie]\n"
                          "      [--kopie N] [--kolor] [--bitmapa] [--margins L,T,R,B]\n"
                          "              Print to the CUPS queue QUEUE (default: the system's default printer)\n"
                          "              as the program's print dialog does. --dwustronnie and ksiazeczka print\n"
                          "              in two passes and wait for Enter while the sheets are turned, so they\n"
                          "              need a terminal; other questions are answered yes on standard error.\n"
                          "              --kolor prints in colour (default black and white), --bitmapa sends\n"
                          "              pages as images, --kopie N prints N copies one after another.\n"
                          "  png FILE -o DIR [--dpi N] [--pages SET]\n"
                          "              Write each page (210 x 294 mm, white, no margins) as DIR/N.png at N dpi\n"
                          "              (default 96, 10 to 600); SET chooses pages, e.g. 1-3,5.\n"
                          "  thumbnail IN OUT SIZE\n"
                          "              Write the first page as a PNG SIZE pixels high (1 to 2048), laying out\n"
                          "              only that page: the thumbnailer of file managers.\n"
                          "  wersja FILE Print the version resource of a Windows executable as JSON: the\n"
                          "              translation, the eight predefined values and the other strings of its\n"
                          "              table. Exit code 1 when the file has none.\n"
                          "  paczka FILE [-o DIR]\n"
                          "              Check a package of printouts and list its records, one JSON object a\n"
                          "              line (name, time, length, sha256). With -o write them into DIR as adding\n"
                          "              them to the library does (NAME.WYD with the record's time); an existing\n"
                          "              file is left alone and reported (\"written\": false). Exit code 1 for a\n"
                          "              file that is not a package or a broken record, after the records before\n"
                          "              it.\n"
                          "  --help      Show this text.\n"
                          "\n"
                          "Long printouts show \"Tworzenie stron... N%\" on standard error while pages are built.\n"
                          "Exit codes: 0 success; 1 the file is not a valid printout (its message goes to\n"
                          "standard error); 2 the file cannot be opened or written, or the command line is wrong;\n"
                          "3 a print job failed or was cancelled (its message goes to standard error).\n");
}

int RunHelp()
{
    std::fputs(UsageText().toUtf8().constData(), stdout);
    return FinishStandardOutput();
}
