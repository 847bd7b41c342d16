#include "platform/richtext/RtfUnits_p.h"

#include <QImage>

// Qt's own default resolution, the one its text layout scales format lengths from.
Q_GUI_EXPORT int qt_defaultDpi();

namespace platform::rtf {

QPaintDevice *LayoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780); // 96 dpi
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &device;
}

double FormatLength(double pixels)
{
    return pixels * qt_defaultDpi() / double(kLayoutDpi);
}

} // namespace platform::rtf
