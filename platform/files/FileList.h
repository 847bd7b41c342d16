#pragma once
// One entry found by the file search (TFileObj) and the ordered list of them (TFileList).
#include <QDateTime>
#include <QFlags>
#include <QString>
#include <vector>

// The five attributes an entry can carry, in the order the search reports them.
enum class TFileAttr : unsigned {
    ReadOnly = 0x01,  // the owner may not write it
    Archive = 0x02,   // a regular file
    System = 0x04,    // neither a regular file nor a folder: device, socket, pipe
    Hidden = 0x08,    // the name begins with "."
    Directory = 0x10, // a folder
};
using TFileAttrs = QFlags<TFileAttr>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileAttrs)

// One folder entry: where it was found, its name split at the extension, attributes, time, size.
struct TFileObj {
    QString RootDir; // the searched folder, absolute, ending with "/"
    QString SubDir;  // the entry's folder below RootDir, ending with "/", empty for the root itself
    QString Name;    // the name without extension
    QString Ext;     // the extension with its point, or empty
    TFileAttrs Attr;
    QDateTime Time; // last write, local time, to two seconds
    qint32 Size = 0;
    QByteArray NativeName; // the file name as the system holds it: Name + Ext may not give it back
    QByteArray NativeDir;  // Dir() as the system holds it, ending with "/"

    QString Dir() const { return RootDir + SubDir; }
    QString FullName() const { return Dir() + Name + Ext; }
    QString RelName() const { return SubDir + Name + Ext; }
    QString FileName() const { return Name + Ext; }
    // The entry's real path, to act on; FullName() only shows it.
    QByteArray NativeFullName() const { return NativeDir + NativeName; }
};

// The result of a search: an ordered list that owns its entries.
class TFileList {
public:
    // By full name ignoring case (locale collation), by full name with case, by time.
    enum SortKind { SortByNameNoCase, SortByName, SortByTime };

    int Count() const { return static_cast<int>(items_.size()); }
    const TFileObj &operator[](int index) const { return items_.at(static_cast<size_t>(index)); }
    void Add(TFileObj file) { items_.push_back(std::move(file)); }
    void Clear() { items_.clear(); }
    // Reorders by one of the kinds (not stable); a value outside them leaves the order.
    void Sort(SortKind kind);

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TFileObj> items_;
};
