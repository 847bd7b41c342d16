#include "tests/support/ListingPrintout.h"

namespace wydtest {

namespace {

// A deterministic generator, so that every run reads the same printout.
class Random {
public:
    int Below(int n)
    {
        x_ = x_ * 1664525u + 1013904223u;
        return static_cast<int>((x_ >> 8) % static_cast<quint32>(n));
    }

private:
    quint32 x_ = 42;
};

const char *const kNames[] = {
    "Papier ksero A4 80 g/m2 (ryza)",
    "D\xB3ugopis \xBF"
    "elowy niebieski",
    "Segregator A4 szer. 75 mm",
    "Toner HP 85A",
    "Kawa ziarnista 1 kg",
    "Herbata czarna 100 szt.",
    "Woda mineralna 1,5 l",
    "\x8Crodek do mycia szyb 750 ml",
    "R\xEA"
    "cznik papierowy ZZ",
    "Us\xB3uga serwisowa",
    "Krzes\xB3o biurowe",
    "Zszywacz 24/6",
    "Koperty C4 (50 szt.)",
    "Ta\x9Cma pakowa 48 mm",
    "Mleko UHT 3,2% 1 l",
};

QByteArray Money(qint64 grosze)
{
    QByteArray whole = QByteArray::number(grosze / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, ' ');
    return whole + ',' + QByteArray::number(grosze % 100).rightJustified(2, '0');
}

Line Row(Random &random, int lp)
{
    const int fields = 5 + random.Below(4);
    const qint64 price = 100 + random.Below(100000);
    const int qty = 1 + random.Below(300);
    const QByteArray texts[8] = {QByteArray::number(lp) + ".",
                                 kNames[random.Below(15)],
                                 "T" + QByteArray::number(1000 + random.Below(9000)),
                                 QByteArray::number(qty),
                                 Money(price),
                                 Money(price * qty),
                                 random.Below(2) ? "23%" : "8%",
                                 Money(price * qty * 123 / 100)};
    static const qint32 x[8] = {600, 1000, 4300, 4900, 5500, 6300, 7200, 7700};
    static const qint32 w[8] = {380, 3250, 550, 550, 750, 850, 450, 1200};
    Line line;
    for (int i = 0; i < fields; ++i)
        line.Fields.push_back({.X = x[i],
                               .Width = w[i],
                               .Alignment = static_cast<quint8>(i == 1 ? 0 : 1),
                               .StyleName = "Tabela",
                               .Text = texts[i]});
    return line;
}

Document ListingStyles()
{
    Document doc;
    doc.Styles = {{.FontName = "Arial", .Name = "Normalny"},
                  {.FontStyle = 1, .FontName = "Arial", .Name = "Naglowek"},
                  {.Name = "Tabela", .Alias = "T"}};
    return doc;
}

Record ListingRoot()
{
    Record root;
    root.Title.Lines.push_back({.Fields = {{.X = 600,
                                            .Width = 8300,
                                            .Alignment = 2,
                                            .StyleName = "Naglowek",
                                            .Text = "Zestawienie dokument\xF3w sprzeda\xBFy"}}});
    Random headerRandom;
    root.ColumnHeader.Lines.push_back(Row(headerRandom, 0));
    return root;
}

} // namespace

ListingWritten WriteListingPrintout(const QString &path, bool recordPerRow, int pages)
{
    StreamedWyd file(path);
    const Document doc = ListingStyles();
    BodyWriter w(7);
    w.SetSink([&](QByteArrayView bytes) { file.Write(bytes); });
    w.Globals(doc).Styles(doc);
    const Record root = ListingRoot();
    ListingWritten out;
    out.lines = 1;
    const qint64 target = qint64{pages} * kListingLinesPerPage;
    Random random;
    const int groups = static_cast<int>(target / (40 * 22));
    w.RecordHead(root, groups);
    for (int g = 0; g < groups; ++g) {
        Record group;
        group.Label = "Grupa " + QByteArray::number(g);
        group.Title.Lines.push_back({.Fields = {{.X = 600,
                                                 .Width = 5000,
                                                 .StyleName = "Naglowek",
                                                 .Text = "Kontrahent nr " + QByteArray::number(g)}}});
        w.RecordHead(group, 40);
        out.lines += 1;
        for (int d = 0; d < 40; ++d) {
            Record document;
            document.Label = "FV/" + QByteArray::number(g * 40 + d);
            const int rows = 10 + random.Below(21);
            document.Title.Lines.push_back(
                {.Fields = {{.X = 600, .Width = 4000, .StyleName = "Normalny", .Text = "Faktura " + document.Label}}});
            std::vector<Line> lines;
            for (int r = 0; r < rows; ++r)
                lines.push_back(Row(random, r + 1));
            for (const Line &l : lines)
                out.fields += static_cast<qint64>(l.Fields.size());
            if (recordPerRow) {
                for (Line &l : lines) {
                    Record row;
                    row.Title.Lines.push_back(std::move(l));
                    document.Items.push_back(std::move(row));
                }
            } else {
                document.Title.Lines.insert(document.Title.Lines.end(), lines.begin(), lines.end());
            }
            document.Summary.Lines.push_back(
                {.Fields = {
                     {.X = 5500, .Width = 3400, .Alignment = 1, .StyleName = "Normalny", .Text = "Razem: 12 345,67"}}});
            out.lines += rows + 2;
            out.fields += 2;
            w.RecordTree(document);
        }
        w.RecordTail(group);
    }
    w.RecordTail(root);
    w.Flush();
    out.body = w.Written();
    out.file = file.Finish();
    return out;
}

ListingWritten WriteItemListingPrintout(const QString &path, int pages)
{
    StreamedWyd file(path);
    const Document doc = ListingStyles();
    BodyWriter w(7);
    w.SetSink([&](QByteArrayView bytes) { file.Write(bytes); });
    w.Globals(doc).Styles(doc);
    const Record root = ListingRoot();
    // The rows' style is taller than the long listing's lines: about 43 of them fill a page.
    const int items = pages * 43;
    w.RecordHead(root, items);
    Random random;
    ListingWritten out;
    out.lines = 1;
    for (int i = 0; i < items; ++i) {
        Record item;
        item.Title.Lines.push_back(Row(random, i + 1));
        out.fields += static_cast<qint64>(item.Title.Lines.back().Fields.size());
        w.RecordTree(item);
    }
    out.lines += items;
    w.RecordTail(root);
    w.Flush();
    out.body = w.Written();
    out.file = file.Finish();
    return out;
}

} // namespace wydtest
