#pragma once
// The options a printer offers for its settings block (paper size, colour mode, resolution, sides,
// input tray), each with its choices, and how a chosen value is read from and written into the block.
#include "platform/printer/PrinterTypes.h"

#include <QList>

namespace platform {

// The options' keywords: the names CUPS and IPP give them.
inline const QString kOptionMedia = QStringLiteral("media");
inline const QString kOptionColorMode = QStringLiteral("print-color-mode");
inline const QString kOptionResolution = QStringLiteral("printer-resolution");
inline const QString kOptionSides = QStringLiteral("sides");
inline const QString kOptionMediaSource = QStringLiteral("media-source");

struct TPrinterChoice {
    QString Value; // as the settings block and the job carry it: "iso_a4_210x297mm", "600dpi", "color"
    QString Label; // as the user reads it
    bool operator==(const TPrinterChoice &) const = default;
};

struct TPrinterOption {
    QString Keyword; // one of the kOption names
    QString Label;   // the option's Polish name
    QList<TPrinterChoice> Choices;
    // A backend gives the printer's default; TPrinter::Options the value the settings block holds.
    QString Value;
    bool operator==(const TPrinterOption &) const = default;
};

// An option with its Polish name and no choices yet.
TPrinterOption MakePrinterOption(const QString &keyword);

// The Polish label of a value of the standard's own names (paper sizes by their PWG names, colour
// modes, sides, resolutions, the common input trays); empty for any other.
QString StandardChoiceLabel(const QString &keyword, const QString &value);

// A resolution as the options carry it: "600dpi", or "300x600dpi" when the two differ.
QString ResolutionValue(int x, int y);

// The option's value in settings: empty when the block leaves it to the printer.
QString OptionValue(const TDevMode &settings, const QString &keyword);
// Writes a chosen value into settings; an unknown keyword or a value that does not fit changes nothing.
void SetOptionValue(TDevMode &settings, const QString &keyword, const QString &value);

// The options with the values settings hold where they name one of the choices (a paper size in
// any of its names), the printer's default otherwise.
QList<TPrinterOption> WithSettingsValues(QList<TPrinterOption> options, const TDevMode &settings);

} // namespace platform
