#pragma once
// The pages one print job sends, built from the range the user chose: the whole printout, the
// current page, or a page set typed as "5-10, 12, 15".
#include <QList>
#include <QString>

// 1-based page numbers into the viewer's page list; 0 is a blank page, which only the print engine
// adds when it pads the list to whole sheets.
using PageSelection = QList<qint32>;

// The range choice of the print dialog.
enum class TPageRange {
    Wszystkie, // the whole printout (rbStrony1)
    Biezaca,   // the page the viewer showed (rbStrony2)
    Zestaw,    // the page set typed into edStrony (rbStrony4)
};

// Inserts page at its sorted place. Raises EPrintDlgError for a page beyond pageCount, below 1 or
// already selected, checked in that order.
void AddSelectedPage(qint32 page, qint32 pageCount, PageSelection &selection);

// Adds the pages text names. Digits join across every character other than "-" and ",", so "1 2"
// is page 12; "-" makes the element a range, "," commits it. Raises EPrintDlgError with the user's
// message for an empty text, a reversed range, a page AddSelectedPage refuses or a text that names
// no page, and EConvertError for a number beyond 32 bits or an element committed without a first
// number (",5"). The first failure ends the parse.
void ParsePageSet(const QString &text, qint32 pageCount, PageSelection &selection);

// The selection for range; pageSet is trimmed of characters up to code 32 first, and currentPage
// is the viewer's page when the dialog opened. Raises what ParsePageSet raises.
PageSelection BuildPageSelection(TPageRange range, const QString &pageSet, qint32 pageCount, qint32 currentPage);
