#pragma once
// Which installed face stands in for a face name an EMF asks for, with the metrics GDI would
// use for the original face.
#include <QString>

namespace platform::emf {

struct FaceInfo {
    QString family;  // the face to draw with: one of the Liberation faces, or a symbol face's own name
    double avgWidth; // the original face's average character width per em (OS/2 xAvgCharWidth)
    double cell;     // ascent + descent per em
};

// A face in the Windows face table (platform/text/WindowsFaces.h) maps as the table says; an unknown
// face goes by the family and pitch bits of the font request.
FaceInfo MapFace(const QString &face, quint8 pitchAndFamily);

} // namespace platform::emf
