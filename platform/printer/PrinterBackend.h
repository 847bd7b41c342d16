#pragma once
// Where printers come from and where jobs go: CUPS in the program, a recording backend in tests.
#include "platform/printer/PrinterCanvas.h"
#include "platform/printer/PrinterOptions.h"
#include "platform/printer/PrinterTypes.h"
#include "platform/printer/QueueState.h"

#include <QList>

#include <memory>
#include <optional>

namespace platform {

// Everything a job is begun with.
struct TJobStart {
    TPrinterInfo Printer;
    TDevMode Settings;
    TOrientation Orientation = TOrientation::Portrait;
    TDeviceCaps Caps;
    QString Title;
    // One side of each sheet whatever Settings.Sides says (a pass of manual two-sided printing).
    bool OneSided = false;
    // Copies the printer makes of the whole job, collated (each copy complete before the next).
    int Copies = 1;
};

// A job being written. The first sheet exists as soon as the job does; destroying a job that was
// not ended abandons it: nothing of it reaches the printer.
class TPrintJob : public TPrinterCanvas {
public:
    virtual void NewSheet() = 0;
    // Finishes the job and hands it to the printer; raises EPrinter with the system's message when
    // the printer refuses it.
    virtual void End() = 0;
};

class TPrinterBackend {
public:
    virtual ~TPrinterBackend() = default;
    // The printers in the system's order; defaultIndex gets the default one's index, or -1.
    virtual QList<TPrinterInfo> Printers(int &defaultIndex) = 0;
    // The settings block a printer starts with; nullopt when its settings cannot be read.
    virtual std::optional<TDevMode> DefaultSettings(const TPrinterInfo &printer) = 0;
    // The options the printer offers, each valued at the printer's default. Raises EPrinter with the
    // system's message when the printer cannot be asked.
    virtual QList<TPrinterOption> Options(const TPrinterInfo &printer) = 0;
    virtual TDeviceCaps Capabilities(const TPrinterInfo &printer, const TDevMode &settings,
                                     TOrientation orientation) = 0;
    // Whether the virtual PDF printer closes the list. Only a test backend that stands for a machine
    // without any printer says no.
    virtual bool OffersPdfPrinter() const { return true; }
    // Raises EPrinter when the job cannot be begun.
    virtual std::unique_ptr<TPrintJob> BeginJob(const TJobStart &start) = 0;
    // What the printer's queue is doing; nullopt when it cannot be asked (or has no queue).
    virtual std::optional<TQueueState> QueueState(const TPrinterInfo &) { return std::nullopt; }
};

} // namespace platform
