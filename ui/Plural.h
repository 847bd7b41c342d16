#pragma once
// The Polish plural of a counted word: "1 strona", "3 strony", "5 stron", "22 strony", "112 stron".
#include <QString>

// 0 for the first form (one), 1 for the second (2-4, 22-24, ...), 2 for the third (the rest).
int PolishPluralForm(long long n);
const QString &PolishPlural(long long n, const QString &one, const QString &few, const QString &many);
