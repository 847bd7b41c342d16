#pragma once
// The printer's settings dialog behind the print dialog's "Właściwości..." button: the options the
// current printer offers (paper size, colour mode, resolution, sides, input tray) with their current
// values, and for the virtual PDF printer the file it writes.
#include <QString>

#include <functional>

class QWidget;

namespace platform {
class TPrinter;
}

// Shows the dialog for printer's current printer, modal over parent. colour is the print dialog's
// colour check box: when it is set the printer is asked in colour. OK makes the chosen values the
// printer's settings (and the chosen file the virtual printer's) and returns true; a monochrome
// answer clears colour, a colour answer leaves it as it was. Cancel changes nothing and returns
// false. Raises EPrinter when the printer's settings or options cannot be read.
bool EditPrinterProperties(QWidget *parent, platform::TPrinter &printer, bool &colour);

// Asks for the file the virtual PDF printer is to write, starting at current; empty when the user
// gave up. Tests answer it themselves.
using TPdfFileQuestion = std::function<QString(QWidget *parent, const QString &current)>;
// Replaces the question; an empty one restores the file dialog.
void SetPdfFileQuestion(TPdfFileQuestion question);
