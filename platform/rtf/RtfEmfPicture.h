#pragma once
// The one place where EMF pictures of rich text are played.
#include <QByteArray>
#include <QRectF>

class QPainter;

namespace platform::rtf {

// Plays an EMF picture stretched into target. Until the EMF player is connected here the
// picture's box stays empty; its size is kept by the layout either way.
void DrawEmfPicture(QPainter &painter, const QRectF &target, const QByteArray &emf);

} // namespace platform::rtf
