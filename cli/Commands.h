#pragma once
// The commands of wenoglad-cli. Each takes the arguments after its name and answers the exit
// code: 0 done, 1 a malformed printout, 2 a file that cannot be opened or a wrong command line.
#include <QStringList>

struct BuiltPrintout;
struct ExportOptions;

int RunInfo(const QStringList &args);
// text FILE: every page's text, pages separated by form feeds.
int RunText(const QStringList &args);
// pdf FILE -o OUT.pdf [--margins L,T,R,B] [--mono]: one A4 page per page.
int RunPdf(const QStringList &args);
// print FILE [-d QUEUE] [--strony SET] [--tryb MODE] [--dwustronnie | --dwustronnie-auto] [--odwrotnie] [--kopie N]
// [--kolor]
// [--bitmapa] [--margins L,T,R,B]: through the print engine to a CUPS queue.
int RunPrint(const QStringList &args);
// png FILE -o DIR [--dpi N] [--pages SET]: one PNG per page, named by its number.
int RunPng(const QStringList &args);
// pdf with --tryb: the imposed sheet sides through the virtual PDF printer.
int RunImposedPdf(const ExportOptions &options, const BuiltPrintout &printout);
// thumbnail IN OUT SIZE: the first page as a PNG SIZE pixels high, for file managers.
int RunThumbnail(const QStringList &args);
// wersja FILE: the version resource of an executable as JSON.
int RunWersja(const QStringList &args);
// paczka FILE [-o DIR]: the records of a package, one JSON object a line; with -o written into DIR.
int RunPaczka(const QStringList &args);
// find FILE TEXT: "page:line: text" of every page line holding TEXT (case and, for a plain TEXT,
// Polish diacritics ignored); exit 1 when none does.
int RunFind(const QStringList &args);
// Prints the usage text to standard output.
int RunHelp();
// The usage text.
QString UsageText();
