#include "core/MetafileImage.h"

#include "platform/base/Exception.h"

#include <QtEndian>

#include <algorithm>

namespace {
constexpr qsizetype kHeaderSize = 100;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr qsizetype kPiece = 64 * 1024;
} // namespace

std::unique_ptr<TMetafileImage> ReadMetafileImage(TInflateStream &stream, const std::function<void(qint64)> &charge)
{
    auto image = std::make_unique<TMetafileImage>();
    QByteArray &data = image->Data;
    try {
        data.resize(kHeaderSize);
        stream.Read(data.data(), kHeaderSize);
        const char *h = data.constData();
        const quint32 size = qFromLittleEndian<quint32>(h + 48);
        if (qFromLittleEndian<quint32>(h + 40) != kEmfSignature || size > kMaxMetafileBytes)
            throw EInvalidGraphic(kMetafileNotValid);
        if (charge)
            charge(size);
        image->Frame = QRect(QPoint(qFromLittleEndian<qint32>(h + 24), qFromLittleEndian<qint32>(h + 28)),
                             QPoint(qFromLittleEndian<qint32>(h + 32), qFromLittleEndian<qint32>(h + 36)));
        // A size below the 100 bytes already read asks for nothing more: the picture is those
        // bytes, played as far as its records go. The picture grows as its bytes arrive: a declared
        // size far beyond the body fails when the body ends, not by allocating the declared size first.
        while (data.size() < static_cast<qsizetype>(size)) {
            const qsizetype at = data.size();
            const qsizetype piece = std::min(kPiece, static_cast<qsizetype>(size) - at);
            data.resize(at + piece);
            stream.Read(data.data() + at, static_cast<size_t>(piece));
        }
    } catch (const EBodyEnded &) {
        throw EInvalidGraphic(kMetafileNotValid);
    }
    image->Emf.emplace(data);
    return image;
}
