#include "platform/richtext/RtfEmfPicture_p.h"

#include "platform/base/Exception.h"
#include "platform/emf/EmfPicture.h"

namespace platform::rtf {

void DrawEmfPicture(QPainter &painter, const QRectF &target, const QByteArray &emf)
{
    try {
        TEmfPicture(emf).Draw(painter, target);
    } catch (const EInvalidGraphic &) {
        // A damaged picture inside rich text leaves its box empty; the text around it still prints.
    }
}

} // namespace platform::rtf
