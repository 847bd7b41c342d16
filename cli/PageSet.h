#pragma once
// Page sets typed on the command line ("1-3,5"), read the way the print dialog reads them.
#include <QList>
#include <QString>

// The pages a set names, ascending, each once. Digits join across other characters, "-" makes a
// range, "," ends an element. Raises Exception with the Polish message for a set that names no page,
// a page outside 1..pageCount, a page named twice, a reversed range or a number that is not one.
QList<int> ParsePageSet(const QString &text, int pageCount);
// Raises what ParsePageSet would, without listing the pages: cheap for any set and count.
void CheckPageSet(const QString &text, int pageCount);
