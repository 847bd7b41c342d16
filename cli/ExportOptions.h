#pragma once
// The command line of the export commands: FILE and the options each command allows.
#include "platform/base/Defaults.h"
#include "print/PrintDlgSettings.h"

#include <QMarginsF>
#include <QString>
#include <QStringList>

#include <optional>

struct ExportOptions {
    QString file;
    QString output; // -o
    QMarginsF margins{defaults::kMarginLeft, defaults::kMarginTop, defaults::kMarginRight,
                      defaults::kMarginBottom}; // --margins L,T,R,B in millimetres
    bool mono = false;                          // --mono
    int dpi = 96;                               // --dpi
    QString pages;                              // --pages or --strony, empty: every page
    bool pagesGiven = false;
    // Printing and imposed PDFs.
    QString queue;                  // -d
    std::optional<TPrintMode> mode; // --tryb normalne|zmniejszone|ksiazeczka
    bool twoSided = false;          // --dwustronnie
    bool printerTwoSided = false;   // --dwustronnie-auto
    bool reverse = false;           // --odwrotnie
    int copies = 1;                 // --kopie
    bool colour = false;            // --kolor
    bool bitmap = false;            // --bitmapa
};

// Reads args (after the command's name). allowed lists the options the command takes ("-o",
// "--margins", "--mono", "--dpi", "--pages", "--strony", "-d", "--tryb", "--dwustronnie", "--odwrotnie",
// "--kopie", "--kolor", "--bitmapa"); needOutput makes -o compulsory. Raises Exception with
// a Polish message for an unknown option, a missing value or one that does not parse.
ExportOptions ParseExportOptions(const QStringList &args, const QStringList &allowed, bool needOutput);

// Margins "L,T,R,B": four numbers of millimetres, none negative, leaving room on an A4 sheet.
QMarginsF ParseMargins(const QString &text);
