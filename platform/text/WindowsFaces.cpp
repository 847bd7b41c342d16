#include "platform/text/WindowsFaces.h"

#include "platform/text/GdiFont.h"

#include <QFont>
#include <QHash>

namespace platform {

namespace {

struct Face {
    const char *name;
    FaceKind kind;
    bool substitute; // registered with Qt; the others are mapped only when a page or an EMF names them
};

// Faces such as DejaVu Sans are the system's own: Qt must keep finding them by their names.
constexpr Face kFaces[] = {
    {"Arial", FaceKind::Sans, true},
    {"Arial CE", FaceKind::Sans, true},
    {"Helvetica", FaceKind::Sans, true},
    {"MS Sans Serif", FaceKind::Sans, true},
    {"Microsoft Sans Serif", FaceKind::Sans, true},
    {"MS Shell Dlg", FaceKind::Sans, true},
    {"MS Shell Dlg 2", FaceKind::Sans, true},
    {"Tahoma", FaceKind::Sans, true},
    {"Verdana", FaceKind::Sans, true},
    {"System", FaceKind::Sans, true},
    {"Segoe UI", FaceKind::Sans, false},
    {"Calibri", FaceKind::Sans, false},
    {"Trebuchet MS", FaceKind::Sans, false},
    {"Arial Narrow", FaceKind::Sans, false},
    {"Arial Black", FaceKind::Sans, false},
    {"Arial Unicode MS", FaceKind::Sans, false},
    {"Univers", FaceKind::Sans, false},
    {"Lucida Sans Unicode", FaceKind::Sans, false},
    {"Liberation Sans", FaceKind::Sans, false},
    {"DejaVu Sans", FaceKind::Sans, false},
    {"Courier New", FaceKind::Mono, true},
    {"Courier New CE", FaceKind::Mono, true},
    {"Courier", FaceKind::Mono, true},
    {"Lucida Console", FaceKind::Mono, true},
    {"Consolas", FaceKind::Mono, false},
    {"Fixedsys", FaceKind::Mono, false},
    {"Terminal", FaceKind::Mono, false},
    {"Andale Mono", FaceKind::Mono, false},
    {"OCR-B", FaceKind::Mono, false},
    {"OCR A Extended", FaceKind::Mono, false},
    {"Liberation Mono", FaceKind::Mono, false},
    {"DejaVu Sans Mono", FaceKind::Mono, false},
    {"Times New Roman", FaceKind::Serif, true},
    {"Times New Roman CE", FaceKind::Serif, true},
    {"Times", FaceKind::Serif, true},
    {"MS Serif", FaceKind::Serif, true},
    {"Tms Rmn", FaceKind::Serif, false},
    {"Georgia", FaceKind::Serif, false},
    {"Garamond", FaceKind::Serif, false},
    {"Book Antiqua", FaceKind::Serif, false},
    {"Bookman Old Style", FaceKind::Serif, false},
    {"Cambria", FaceKind::Serif, false},
    {"Century", FaceKind::Serif, false},
    {"Century Schoolbook", FaceKind::Serif, false},
    {"Palatino Linotype", FaceKind::Serif, false},
    {"Liberation Serif", FaceKind::Serif, false},
    {"DejaVu Serif", FaceKind::Serif, false},
    {"Symbol", FaceKind::Symbol, false},
    {"Wingdings", FaceKind::Symbol, false},
    {"Wingdings 2", FaceKind::Symbol, false},
    {"Wingdings 3", FaceKind::Symbol, false},
    {"Webdings", FaceKind::Symbol, false},
    {"Marlett", FaceKind::Symbol, false},
};

} // namespace

QString LiberationFamily(FaceKind kind)
{
    switch (kind) {
    case FaceKind::Serif:
        return QStringLiteral("Liberation Serif");
    case FaceKind::Mono:
        return QStringLiteral("Liberation Mono");
    case FaceKind::Sans:
    case FaceKind::Symbol:
        break;
    }
    return QStringLiteral("Liberation Sans");
}

std::optional<FaceKind> KnownFaceKind(const QString &face)
{
    static const QHash<QString, FaceKind> byName = [] {
        QHash<QString, FaceKind> names;
        for (const Face &f : kFaces)
            names.insert(QString::fromLatin1(f.name).toLower(), f.kind);
        return names;
    }();
    const auto it = byName.constFind(face.trimmed().toLower());
    if (it == byName.constEnd())
        return std::nullopt;
    return *it;
}

double WindowsAverageWidth(FaceKind kind)
{
    switch (kind) {
    case FaceKind::Serif:
        return 821.0 / 2048; // Times New Roman
    case FaceKind::Mono:
        return 1229.0 / 2048; // Courier New
    case FaceKind::Sans:
    case FaceKind::Symbol:
        break;
    }
    return 904.0 / 2048; // Arial
}

double WindowsCellHeight(FaceKind kind)
{
    switch (kind) {
    case FaceKind::Serif:
        return 1.1074;
    case FaceKind::Mono:
        return 1.1328;
    case FaceKind::Sans:
    case FaceKind::Symbol:
        break;
    }
    return 1.1172;
}

void InstallFontSubstitutions()
{
    static const bool done = [] {
        for (const Face &f : kFaces) {
            if (!f.substitute)
                continue;
            const QString name = QString::fromLatin1(f.name);
            QFont::removeSubstitutions(name);
            QFont::insertSubstitution(name, LiberationFamily(f.kind));
        }
        return true;
    }();
    (void)done;
}

} // namespace platform
