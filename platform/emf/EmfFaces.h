#pragma once
// Which installed face stands in for a face name an EMF asks for, with the metrics GDI would
// use for the original face.
#include <QString>

namespace platform::emf {

struct FaceInfo {
    QString family;   // the face to draw with: one of the Liberation faces, or a symbol face's own name
    double avgWidth;  // the original face's average character width per em (OS/2 xAvgCharWidth)
    double cell;      // ascent + descent per em
};

// Arial and the other sans faces map to Liberation Sans, Times New Roman and the serif faces to
// Liberation Serif, Courier New and the fixed faces to Liberation Mono; an unknown face goes by
// the family and pitch bits of the font request.
FaceInfo MapFace(const QString &face, quint8 pitchAndFamily);

} // namespace platform::emf
