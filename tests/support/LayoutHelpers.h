#pragma once
// Small printouts for the layout tests: fields, lines and blocks in device units, written to a
// temporary file, loaded by a TWydruk and laid out into pages.
#include "PageRecords.h"
#include "WydWriter.h"
#include "core/Wydruki.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace wydtest {

// A document whose positions are device units already (Resolution 180).
Document DeviceDocument();

Field TextAt(qint32 x, qint32 width, QByteArray text, quint8 kind = 0);
// A text of n rows ("r1", "r2", ...), one default-style line (24 units) each.
QByteArray Rows(int n, const QByteArray &prefix = "r");
Line LineOf(std::vector<Field> fields, bool skipAtTop = false);
// A line with one field of text at x 100.
Line TextLine(QByteArray text);
Block BlockOf(std::vector<Line> lines, bool splittable = true, bool breakBefore = false);

struct Built {
    std::unique_ptr<TWydruk> Loader;
    std::vector<platform::PageMetafile *> Pages; // as delivered, owned by the loader
    std::vector<int> Progress;
    std::vector<bool> Building; // the drukowanie argument of each progress call
    // The texts of each page top to bottom, joined with "|".
    std::vector<QString> Texts() const;
    PageRecords Records(size_t page) const { return ReadPage(*Pages.at(page)); }
};

// Writes the document into a temporary file and loads it.
std::unique_ptr<TWydruk> Load(const Document &doc);
// Loads and builds, gathering the delivered pages and the progress.
Built Build(const Document &doc);
// Builds with a loader already loaded.
Built Build(std::unique_ptr<TWydruk> loader);

} // namespace wydtest
