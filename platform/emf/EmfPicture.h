#pragma once
// An embedded picture: a Windows enhanced metafile (EMF) kept as its bytes, measured from its
// header and drawn by our own player onto any QPainter.
#include <QByteArray>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <memory>

class QPainter;

namespace platform {

namespace emf {
class DibCache;
}

// The values of an EMF header record that sizing and playback need.
struct TEmfHeader {
    QRect bounds;            // inclusive edges, reference device pixels (left() and right() as stored)
    QRect frame;             // inclusive edges, 0.01 mm
    QSize devicePixels;      // the reference device's size in pixels
    QSize deviceMillimetres; // ... and in millimetres
    quint32 bytes = 0;       // total size the header declares
    quint32 records = 0;
    quint16 handles = 0; // object table size, index 0 reserved
};

class TEmfPicture {
public:
    // Takes the bytes of a whole EMF file; throws EInvalidGraphic (kMetafileNotValid) when they
    // do not start with a valid EMF header.
    explicit TEmfPicture(QByteArray bytes);

    const TEmfHeader &Header() const { return header_; }
    const QByteArray &Bytes() const { return bytes_; }

    // The size the frame gives at 96 dpi, in whole screen pixels (0.01 mm * 96 / 2540, rounded); 0 by
    // 0 for a frame turned over or larger than 2^31 hundredths of a millimetre.
    int Width() const;
    int Height() const;
    QSize Size() const { return {Width(), Height()}; }

    // Plays the records onto `painter`, the frame stretched into `target` (painter coordinates).
    // The painter's state is left as it was found.
    void Draw(QPainter &painter, const QRectF &target) const;

private:
    QByteArray bytes_;
    TEmfHeader header_;
    // Shared by copies of the picture, which hold the same bytes.
    std::shared_ptr<emf::DibCache> dibs_;
};

} // namespace platform
