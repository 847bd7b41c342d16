#pragma once
// Sends the pages of one printout to the current printer: the sheet geometry, padding with blank
// pages, the imposition of the three modes, manual two-sided printing as two jobs with a pause for
// turning the paper, copies, progress and the user's cancel request.
#include "platform/metafile/PageMetafile.h"
#include "platform/printer/Printer.h"
#include "print/PageSelection.h"
#include "print/PrintDlgSettings.h"
#include "print/PrintGeometry.h"
#include "print/PrintHost.h"
#include "print/SheetOrder.h"

#include <QList>
#include <QString>

// One print action: the viewer's page list and margins, the range the user chose, the title.
struct TPrintRequest {
    QList<const platform::PageMetafile *> Pages;
    TPageRange Range = TPageRange::Wszystkie;
    QString PageSet;        // for TPageRange::Zestaw, as typed
    qint32 CurrentPage = 1; // for TPageRange::Biezaca
    TMarginsMm Margins;
    QString Title; // the printout's name; may be empty
};

// The title of jobs whose printout has no name.
inline const QString kDefaultJobTitle = QStringLiteral("Wydruk z Wenora");

class TPrintEngine {
public:
    TPrintEngine(platform::TPrinter &printer, TPrintHost &host, const TPrintDlgSettings &options);

    // The whole print action. Preparing (printer settings, page selection, geometry) raises
    // EPrintDlgError or EConvertError and prints nothing; once the copies loop runs, every error
    // ends only its copy and goes to the host's display.
    void Print(const TPrintRequest &request);
    // The steps of Print, for the print dialog, which handles each step's errors its own way: the
    // printer's colour, the page selection, then geometry, progress and the copies.
    void PrepareColour();
    void SelectPages(const TPrintRequest &request);
    void PrintSelected(const TPrintRequest &request);

    // Every sheet side of sides, in order, as one job on the current printer (a file of imposed
    // sheets for a printer that prints both sides). Prepares as Print does, with the selection
    // padded for two-sided printing; raises whatever fails.
    void PrintSides(const TPrintRequest &request, bool reverse);

private:
    // One job the printer prints on both sides: the sheet sides in the order it needs, its copies
    // collated by the printer. Errors go to the host's display.
    void PrintBothSidesByPrinter(const TPrintRequest &request);
    // The sides of the padded selection as one job; raises whatever fails, abandoning the job.
    void PrintJoinedSides(bool reverse);
    // A booklet of more than 40 positions asks first; "Nie" raises EAbort.
    void ConfirmLongBooklet(int positions);
    // Ends the job; the first time in this print that the queue holds it back, the host warns.
    void EndJob();
    void PrepareGeometry(const TPrintRequest &request, bool twoSided);
    // byHand: a pass of two-sided printing done by hand, which prints one side of the sheets whatever
    // the printer's settings say.
    void BeginJob(const QString &suffix, bool byHand);
    void PrintSelection();
    void TurnSheets();
    void PrintSheetOne(int position);
    void PrintSheetTwo(int left, int right);
    void Place(int position, const QRect &target);
    QString JobTitle(const QString &suffix) const;

    platform::TPrinter &printer_;
    TPrintHost &host_;
    TPrintDlgSettings options_;
    QList<const platform::PageMetafile *> pages_;
    PageSelection selection_;
    TPrintJobGeometry geometry_;
    QString title_;
    bool firstSheet_ = false;
    bool warned_ = false;
};
