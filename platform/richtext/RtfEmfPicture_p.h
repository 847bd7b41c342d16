#pragma once
// The one place where EMF pictures of rich text are played.
#include <QByteArray>
#include <QRectF>

class QPainter;

namespace platform::rtf {

// Plays an EMF picture stretched into target; bytes that are not an EMF leave the box empty.
// The layout keeps the picture's size either way.
void DrawEmfPicture(QPainter &painter, const QRectF &target, const QByteArray &emf);

} // namespace platform::rtf
