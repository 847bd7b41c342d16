#pragma once
// The commands of wenoglad-cli. Each takes the arguments after its name and answers the exit
// code: 0 done, 1 a malformed printout, 2 a file that cannot be opened or a wrong command line.
#include <QStringList>

int RunInfo(const QStringList &args);
// Prints the usage text to standard output.
int RunHelp();
// The usage text.
QString UsageText();
