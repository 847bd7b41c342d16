#pragma once
// The commands of wenoglad-cli. Each takes the arguments after its name and answers the exit
// code: 0 done, 1 a malformed printout, 2 a file that cannot be opened or a wrong command line.
#include <QStringList>

int RunInfo(const QStringList &args);
// text FILE: every page's text, pages separated by form feeds.
int RunText(const QStringList &args);
// pdf FILE -o OUT.pdf [--margins L,T,R,B] [--mono]: one A4 page per page.
int RunPdf(const QStringList &args);
// png FILE -o DIR [--dpi N] [--pages SET]: one PNG per page, named by its number.
int RunPng(const QStringList &args);
// Prints the usage text to standard output.
int RunHelp();
// The usage text.
QString UsageText();
