#pragma once
// The program's current printer, one object for the whole program: the list of printers (CUPS
// queues, then a virtual printer that writes a PDF file), the chosen one with its settings block, the
// paper's orientation, the device capabilities and the job being printed.
#include "platform/printer/PrinterBackend.h"

#include <functional>

namespace platform {

// The virtual printer's device name; it is always the last entry of the list.
inline const QString kPdfPrinterDevice = QStringLiteral("PDF");

class TPrinter {
public:
    explicit TPrinter(std::unique_ptr<TPrinterBackend> backend);
    ~TPrinter();
    TPrinter(const TPrinter &) = delete;
    TPrinter &operator=(const TPrinter &) = delete;

    // The backend's printers, then the virtual PDF printer. Read once; Refresh reads them again,
    // keeping the current printer (the default when it is gone) and the settings written for it.
    const QList<TPrinterInfo> &Printers();
    void Refresh();
    // The current printer; at start the backend's default (the virtual printer when there is none).
    // Setting the index, also to itself, discards the device context: the next use of the
    // capabilities or of a job reads them afresh, with the settings SetPrinter last wrote for this
    // printer or, when it wrote none, the printer's own read again.
    int PrinterIndex();
    void SetPrinterIndex(int index);

    // The current printer and its settings block (nullopt when it cannot be read).
    TPrinterInfo CurrentPrinter();
    std::optional<TDevMode> Settings();
    // The options the current printer offers, valued as settings (a block of this printer) sets them.
    // Raises EPrinter when the printer cannot be asked.
    QList<TPrinterOption> Options(const TDevMode &settings);
    // Whether the current printer is the virtual one that writes a PDF file.
    bool IsPdfPrinter();
    // Whether the current printer prints both sides by itself; the virtual printer does (its file is
    // the sheet sides in the order such a printer needs).
    bool PrintsBothSides();
    // What the current printer's queue is doing (nullopt for the virtual printer or when it cannot
    // be asked).
    std::optional<TQueueState> QueueState();
    // Makes printer current with settings; an unknown printer is added to the list's end.
    void SetPrinter(const TPrinterInfo &printer, const TDevMode &settings);
    // The file the virtual printer writes (its port).
    void SetPdfFile(const QString &path);

    TOrientation Orientation() const;
    void SetOrientation(TOrientation orientation);
    // The device capabilities of the current printer in the current orientation.
    TDeviceCaps Capabilities();

    QString Title;
    // Whether the next job asks for one side of each sheet even when the settings choose two: each
    // pass of two-sided printing done by hand.
    bool OneSided = false;
    // Copies of the next job the printer makes itself, collated.
    int Copies = 1;
    // Begins a job on the current printer titled Title. Installs the default abort procedure, which
    // handles pending window events each time something is drawn. Raises EPrinter.
    void BeginDoc();
    void NewPage();
    // Ends the job and hands it to the printer; raises EPrinter when the printer refuses it (the job
    // is gone either way).
    void EndDoc();
    // Abandons the job: nothing of it reaches the printer.
    void Abort();
    bool Printing() const;
    // The current sheet's surface; only while printing. Every drawing call runs the abort procedure
    // afterwards.
    TPrinterCanvas &Canvas();
    // Replaces the abort procedure; an empty one removes it (nothing is handled while printing).
    void SetAbortProc(std::function<void()> proc);

private:
    class Canvas_;
    void List();
    bool IsVirtual(int index) const { return index >= 0 && index == virtualIndex_; }
    void CheckNotPrinting() const;
    TPrintJob &Job() const;

    std::unique_ptr<TPrinterBackend> backend_;
    bool listed_ = false;
    QList<TPrinterInfo> printers_;
    int virtualIndex_ = -1;
    int index_ = -1;
    QString pdfFile_;
    // The current printer's settings: read from it, or written by SetPrinter (kept when it is
    // re-selected, as they are what the next job prints with).
    std::optional<TDevMode> settings_;
    bool settingsWritten_ = false;
    std::optional<TDeviceCaps> caps_;
    TOrientation orientation_ = TOrientation::Portrait;
    std::unique_ptr<TPrintJob> job_;
    std::unique_ptr<Canvas_> canvas_;
    std::function<void()> abortProc_;
};

// The program's printer, over CUPS, made on first use.
TPrinter &Printer();
// Replaces the program's printer's backend (tests use a recording one); the old printer is dropped.
void SetPrinterBackend(std::unique_ptr<TPrinterBackend> backend);

} // namespace platform
