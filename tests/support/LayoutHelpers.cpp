#include "LayoutHelpers.h"

#include <QDir>

#include <gtest/gtest.h>

namespace wydtest {

Document DeviceDocument()
{
    Document doc;
    doc.Resolution = 180;
    return doc;
}

Field TextAt(qint32 x, qint32 width, QByteArray text, quint8 kind)
{
    Field f;
    f.X = x;
    f.Width = width;
    f.Kind = kind;
    f.Text = std::move(text);
    return f;
}

QByteArray Rows(int n, const QByteArray &prefix)
{
    QByteArray s;
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            s += '\r';
        s += prefix + QByteArray::number(i);
    }
    return s;
}

Line LineOf(std::vector<Field> fields, bool skipAtTop)
{
    Line l;
    l.SkipAtTop = skipAtTop ? 1 : 0;
    l.Fields = std::move(fields);
    return l;
}

Line TextLine(QByteArray text)
{
    return LineOf({TextAt(100, 1000, std::move(text))});
}

Block BlockOf(std::vector<Line> lines, bool splittable, bool breakBefore)
{
    Block b;
    b.Splittable = splittable ? 1 : 0;
    b.BreakBefore = breakBefore ? 1 : 0;
    b.Lines = std::move(lines);
    return b;
}

std::vector<QString> Built::Texts() const
{
    std::vector<QString> out;
    for (size_t i = 0; i < Pages.size(); ++i)
        out.push_back(Records(i).JoinedTexts());
    return out;
}

std::unique_ptr<TWydruk> Load(const Document &doc)
{
    static QTemporaryDir dir;
    static int serial = 0;
    const QString path = dir.filePath(QStringLiteral("layout%1.wyd").arg(++serial));
    WriteWyd(path, doc);
    auto loader = std::make_unique<TWydruk>();
    loader->LoadFromFile(path);
    QFile::remove(path);
    return loader;
}

Built Build(std::unique_ptr<TWydruk> loader)
{
    Built b;
    b.Loader = std::move(loader);
    b.Loader->OnNextPage = [&b](TWydruk *, platform::PageMetafile *page) { b.Pages.push_back(page); };
    b.Loader->OnProgress = [&b](TWydruk *, bool drukowanie, int postep) {
        b.Progress.push_back(postep);
        b.Building.push_back(drukowanie);
    };
    b.Loader->BuildPages();
    b.Loader->OnNextPage = nullptr;
    b.Loader->OnProgress = nullptr;
    return b;
}

Built Build(const Document &doc)
{
    return Build(Load(doc));
}

} // namespace wydtest
