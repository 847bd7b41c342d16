#pragma once
// What the program knows of a printer: how the list names it, its settings block (the options a job
// is sent with) and the capabilities of its drawing surface.
#include <QString>

namespace platform {

// One entry of the printer list.
struct TPrinterInfo {
    QString Device; // CUPS: the queue's name; the virtual printer: "PDF"
    QString Driver; // make and model
    QString Port;   // CUPS: the device URI; the virtual printer: the PDF file it writes
    bool operator==(const TPrinterInfo &) const = default;
};

enum class TOrientation { Portrait, Landscape };

// Field-mask bit and values of the colour field, as the settings block of the original platform has them.
constexpr quint32 DM_COLOR = 0x00000800;
constexpr qint16 DMCOLOR_MONOCHROME = 1;
constexpr qint16 DMCOLOR_COLOR = 2;

// A printer's settings block. CUPS: the colour field is print-color-mode (colour when DMCOLOR_COLOR,
// monochrome otherwise), Media is the PWG media name, Resolution the dots per inch (ResolutionY the
// vertical ones where they differ), Sides the sides option, MediaSource the input tray; an empty
// text or 0 leaves the queue's default.
struct TDevMode {
    quint32 Fields = 0; // which fields were set on purpose (DM_COLOR)
    qint16 Color = DMCOLOR_MONOCHROME;
    QString Media;
    int Resolution = 0;
    int ResolutionY = 0; // 0: as Resolution
    QString Sides;
    QString MediaSource;
    bool operator==(const TDevMode &) const = default;
};

// The device capabilities the print engine asks for, in device pixels of the current orientation:
// the whole sheet, where its printable area begins, and pixels per inch.
struct TDeviceCaps {
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int PhysicalOffsetX = 0;
    int PhysicalOffsetY = 0;
    int LogPixelsX = 0;
    int LogPixelsY = 0;
    bool operator==(const TDeviceCaps &) const = default;
};

} // namespace platform
