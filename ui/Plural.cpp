#include "ui/Plural.h"

int PolishPluralForm(long long n)
{
    if (n == 1)
        return 0;
    const long long a = n < 0 ? -n : n;
    const long long lastTwo = a % 100;
    const long long last = a % 10;
    // 12, 13 and 14 take the third form in every hundred ("112 stron"), not only below 20.
    if (last >= 2 && last <= 4 && !(lastTwo >= 12 && lastTwo <= 14))
        return 1;
    return 2;
}

const QString &PolishPlural(long long n, const QString &one, const QString &few, const QString &many)
{
    switch (PolishPluralForm(n)) {
    case 0:
        return one;
    case 1:
        return few;
    default:
        return many;
    }
}
