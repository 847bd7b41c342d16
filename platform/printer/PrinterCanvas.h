#pragma once
// The drawing surface of the sheet being printed, in device pixels with the origin at the corner of
// the printable area. Pages arrive as pictures (drawn as vectors) or as image bands (copied 1:1).
#include "platform/metafile/PageMetafile.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace platform {

class TPrinterCanvas {
public:
    virtual ~TPrinterCanvas() = default;
    // Plays page stretched into target; change, when given, may alter each record before it is drawn.
    virtual void DrawPicture(const QRect &target, const PageMetafile &page, const RecordCallback &change) = 0;
    // Copies image unscaled with its top-left corner at topLeft.
    virtual void DrawImage(QPoint topLeft, const QImage &image) = 0;
};

} // namespace platform
