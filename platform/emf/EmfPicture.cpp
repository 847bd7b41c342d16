#include "platform/emf/EmfPicture.h"

#include "platform/base/Exception.h"
#include "platform/emf/EmfPlayer_p.h"
#include "platform/emf/EmfRecord_p.h"
#include "platform/emf/EmfTypes_p.h"

#include <QPainter>
#include <climits>
#include <cmath>

namespace platform {
namespace {

// MulDiv of the Windows API: a * b / c rounded half away from zero in 64-bit arithmetic.
int MulDiv(qint64 a, qint64 b, qint64 c)
{
    if (c == 0)
        return 0;
    const qint64 product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const qint64 q = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
    return int(negative ? -q : q);
}

// A frame turned over, or wider or higher than 2^31 hundredths of a millimetre (21 km), measures
// nothing: such a picture takes no room instead of pushing the rest of the printout off its pages.
bool FrameIsAbsurd(const QRect &frame)
{
    const qint64 width = qint64(frame.right()) - frame.left();
    const qint64 height = qint64(frame.bottom()) - frame.top();
    return width < 0 || height < 0 || width > INT_MAX || height > INT_MAX;
}

} // namespace

TEmfPicture::TEmfPicture(QByteArray bytes) : bytes_(std::move(bytes))
{
    using namespace emf;
    const auto *data = reinterpret_cast<const uchar *>(bytes_.constData());
    if (bytes_.size() < 88)
        throw EInvalidGraphic(kMetafileNotValid);
    const Record head(data, 88);
    const quint32 size = head.U32(4).value_or(0);
    if (head.Type() != EMR_HEADER || head.U32(40).value_or(0) != kEmfSignature || size < 88 ||
        size > quint32(bytes_.size()))
        throw EInvalidGraphic(kMetafileNotValid);
    const auto b = *head.RectL(8), f = *head.RectL(24);
    header_.bounds = QRect(QPoint(b.left, b.top), QPoint(b.right, b.bottom));
    header_.frame = QRect(QPoint(f.left, f.top), QPoint(f.right, f.bottom));
    header_.bytes = *head.U32(48);
    header_.records = *head.U32(52);
    header_.handles = *head.U16(56);
    header_.devicePixels = QSize(*head.I32(72), *head.I32(76));
    header_.deviceMillimetres = QSize(*head.I32(80), *head.I32(84));
    dibs_ = std::make_shared<emf::DibCache>();
}

int TEmfPicture::Width() const
{
    return FrameIsAbsurd(header_.frame) ? 0 : MulDiv(qint64(header_.frame.right()) - header_.frame.left(), 96, 2540);
}

int TEmfPicture::Height() const
{
    return FrameIsAbsurd(header_.frame) ? 0 : MulDiv(qint64(header_.frame.bottom()) - header_.frame.top(), 96, 2540);
}

void TEmfPicture::Draw(QPainter &painter, const QRectF &target) const
{
    if (!painter.isActive() || !target.isValid())
        return;
    painter.save();
    emf::Player player(bytes_, header_, painter, target);
    player.SetDibCache(dibs_.get());
    player.Play();
    painter.restore();
}

} // namespace platform
