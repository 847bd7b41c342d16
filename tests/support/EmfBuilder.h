#pragma once
// Builds small enhanced metafiles (EMF, as the public format documentation describes it) for
// the pictures of kind-6 fields: a header, solid shapes and the end record.
#include <QByteArray>

namespace wydtest {

class EmfBuilder {
public:
    // `frame` corners in 0.01 mm (inclusive, as the EMF header has them); shapes are drawn in
    // device units of a picture `widthPx` x `heightPx`.
    EmfBuilder(int frameLeft, int frameTop, int frameRight, int frameBottom, int widthPx, int heightPx);

    // Solid shapes in a Windows colour 0x00BBGGRR, without an outline.
    EmfBuilder &Rectangle(int left, int top, int right, int bottom, quint32 color);
    EmfBuilder &Ellipse(int left, int top, int right, int bottom, quint32 color);
    // The whole file: header (with the final size and record count), shapes, end record.
    QByteArray Finish() const;

private:
    EmfBuilder &Shape(quint32 type, int left, int top, int right, int bottom, quint32 color);

    int frame_[4];
    int width_, height_;
    QByteArray records_;
    int recordCount_ = 0;
    int handles_ = 1;
};

// Offsets of the EMF header fields that the reader checks.
inline constexpr int kEmfFrameOffset = 24;
inline constexpr int kEmfSignatureOffset = 40;
inline constexpr int kEmfSizeOffset = 48;

} // namespace wydtest
