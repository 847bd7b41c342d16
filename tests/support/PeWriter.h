#pragma once
// Test-side writer of Windows executables that carry a version resource: just the headers, a
// code section and a resource section, enough for the version reader. Tests shape the version
// tree node by node, so they can write what real files do (odd value lengths, zero-length
// children) and what broken ones do (lengths past their parent, data outside the file).
#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace petest {

// One node of the version tree: key, value bytes and children, each child aligned to 4 bytes
// from the start of the resource. valueLength and type are written as given when set.
struct Node {
    QString key;
    QByteArray value;
    std::vector<Node> children;
    std::optional<quint16> valueLength;
    quint16 type = 1;
    std::optional<quint16> length; // written instead of the real length
};

QByteArray Utf16(const QString &text); // with its terminating NUL
Node StringNode(const QString &name, const QString &text);
Node Table(const QString &key, std::vector<Node> strings);
Node Translation(std::vector<std::pair<quint16, quint16>> pairs);
// "VS_VERSION_INFO" with the fixed part, a StringFileInfo of `tables` and, when `translations`
// is not empty, a VarFileInfo.
Node VersionInfo(std::vector<Node> tables, std::vector<std::pair<quint16, quint16>> translations);
QByteArray Encode(const Node &node);

struct Pe {
    std::optional<QByteArray> version; // the bytes of the version resource; none: no such resource
    bool pe64 = false;
    quint32 resourceType = 16;       // another type hides the version resource
    int skew = 0;                    // bytes before the version data inside its section (odd offsets)
    bool dataOutsideFile = false;    // the data entry points to an address no section holds
    std::optional<quint32> dataSize; // written instead of the data's size
    QByteArray appended;             // after the last section, as packages carry their printouts
};

QByteArray WritePe(const Pe &pe);

} // namespace petest

namespace petest {

// One printout record of a package; length is written instead of the data's size when set.
QByteArray PackageRecord(const QByteArray &name, quint32 dosTime, const QByteArray &data,
                         std::optional<qint32> length = {});
// A package: an executable described as the viewer's package whose "Rozmiar" is its own size,
// followed by records. description and size replace those values when set.
QByteArray Package(const QByteArray &records, const QString &description = "Przeglądarka Wenora 2001",
                   std::optional<QString> size = {});

} // namespace petest
