#include "platform/rtf/RtfEmfPicture.h"

namespace platform::rtf {

void DrawEmfPicture(QPainter &, const QRectF &, const QByteArray &)
{
}

} // namespace platform::rtf
