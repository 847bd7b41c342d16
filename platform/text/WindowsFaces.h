#pragma once
// The one table of Windows face names and the metric-compatible Liberation faces that stand in for
// them, with the metrics GDI uses for the originals. Page fonts, the EMF player and the window fonts
// all read it; InstallFontSubstitutions registers its common faces with Qt.
#include <QString>

#include <optional>

namespace platform {

enum class FaceKind { Sans, Serif, Mono, Symbol };

// The Liberation family of a kind. Symbol faces have no stand-in; a caller that must have one of the
// Liberation faces gets Liberation Sans.
QString LiberationFamily(FaceKind kind);

// The kind of a face name in the table (any case, blanks around it ignored), or none for a face the
// table does not hold.
std::optional<FaceKind> KnownFaceKind(const QString &face);

// The original face's average character width per em (OS/2 xAvgCharWidth over 2048 units), which
// GDI stretches to an asked width, and its ascent + descent per em: Arial's for sans and symbol
// faces, Times New Roman's and Courier New's. Liberation's own values differ (its Arial look-alike
// says 1187), so the originals are kept.
double WindowsAverageWidth(FaceKind kind);
double WindowsCellHeight(FaceKind kind);

// Registers the Windows face names as Qt font substitutions (done once; CreateFont calls it too), so
// that text documents naming "Arial" or "MS Sans Serif" get the same faces on every machine.
void InstallFontSubstitutions();

} // namespace platform
