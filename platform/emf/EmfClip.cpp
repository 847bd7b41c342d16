#include "platform/emf/EmfObjects_p.h"

namespace platform::emf {
namespace {

// Boolean operations on paths grow with the product of their sizes: a region of thousands of
// rectangles would take seconds. Past this many path elements an operation is left undone.
constexpr int kMaxClipElements = 4000;

bool IsAxisRect(const QPainterPath &path, QRectF &rect)
{
    if (path.elementCount() != 5 && path.elementCount() != 4)
        return false;
    const QPolygonF poly = path.toFillPolygon();
    if (poly.size() < 4)
        return false;
    const QRectF box = poly.boundingRect();
    for (const QPointF &p : poly)
        if ((p.x() != box.left() && p.x() != box.right()) || (p.y() != box.top() && p.y() != box.bottom()))
            return false;
    rect = box;
    return true;
}

} // namespace

ClipArea::ClipArea(const QPainterPath &path)
{
    QRectF rect;
    if (IsAxisRect(path, rect))
        rect_ = rect;
    else
        path_ = path;
}

QPainterPath ClipArea::Path() const
{
    if (path_)
        return *path_;
    QPainterPath p;
    p.addRect(rect_);
    return p;
}

bool ClipArea::IsEmpty() const
{
    if (path_)
        return path_->isEmpty() || path_->boundingRect().isEmpty();
    return rect_.isEmpty();
}

void ClipArea::Intersect(const ClipArea &other)
{
    Combine(other, RGN_AND);
}

void ClipArea::Combine(const ClipArea &other, int mode)
{
    if (mode == RGN_COPY) {
        *this = other;
        return;
    }
    if (mode == RGN_AND && IsRect() && other.IsRect()) {
        rect_ = rect_.intersected(other.rect_);
        return;
    }
    const QPainterPath a = Path(), b = other.Path();
    if (a.elementCount() + b.elementCount() > kMaxClipElements)
        return;
    QPainterPath result;
    switch (mode) {
    case RGN_AND:
        result = a.intersected(b);
        break;
    case RGN_OR:
        result = a.united(b);
        break;
    case RGN_XOR:
        result = a.united(b).subtracted(a.intersected(b));
        break;
    case RGN_DIFF:
        result = a.subtracted(b);
        break;
    default:
        return;
    }
    *this = ClipArea(result.simplified());
}

void ClipArea::Translate(const QPointF &offset)
{
    if (path_)
        path_->translate(offset);
    else
        rect_.translate(offset);
}

} // namespace platform::emf
