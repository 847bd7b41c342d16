// The same printout written as every body version reads to the same model, apart from the
// values that a version does not store.
#include "core/MLineWydruk.h"
#include "tests/support/EmfBuilder.h"
#include "tests/support/ReadHelpers.h"
#include "tests/support/WydWriter.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace wydtest;

namespace {

Document Sample(quint8 version)
{
    Document doc;
    doc.Version = version;
    doc.LineSpacing = 0.25f;
    doc.Ignored1 = 77;
    doc.Ignored2 = 5;
    doc.LinesPerPage = 60;
    doc.Styles.push_back({.Color = 0x0000FF,
                          .CharHeight = 4.5f,
                          .Columns = 100,
                          .CharWidth = 2.1f,
                          .FontStyle = 1,
                          .Reserved = 9,
                          .Charset = 204,
                          .FontName = "Arial",
                          .Name = "Naglowek",
                          .Alias = "H1"});
    doc.Styles.push_back({.Name = "Tabela", .Alias = "T"});

    Record &root = doc.Root;
    root.Title.BreakBefore = 1;
    root.Title.Lines.push_back({.Fields = {{.X = 1200,
                                            .Width = 8000,
                                            .Alignment = 2,
                                            .AlignBottom = 1,
                                            .EndEllipsis = 1,
                                            .NoWrap = 1,
                                            .StyleName = "Naglowek",
                                            .Text = "Zestawienie sprzeda\xBFy"}}});
    root.ColumnHeader.Splittable = 0;
    root.ColumnHeader.Lines.push_back(
        {.SkipAtTop = 1,
         .Fields = {{.X = 0, .Width = 600, .Text = "Lp."}, {.X = 700, .Width = 3000, .Kind = 1, .Text = "Nazwa"}}});
    Record group;
    group.Label = "Grupa A";
    group.BreakBefore = 1;
    group.Title.Lines.push_back({.Fields = {{.X = 0, .Width = 9000, .Kind = 4, .RuleStyle = 2}}});
    Record item;
    item.Title.Lines.push_back({.Fields = {{.X = 0, .Width = 500, .Kind = 2, .Text = "Strona %n"},
                                           {.X = 600, .Width = 900, .Kind = 5, .Text = "Razem"},
                                           {.X = 0, .Width = 0, .Kind = 3, .Text = "ukryte"}}});
    item.Summary.Lines.push_back(
        {.Fields = {{.Kind = 6,
                     .Picture = EmfBuilder(0, 0, 5000, 2000, 189, 76).Rectangle(0, 0, 100, 40, 0x00FF00).Finish()}}});
    group.Items.push_back(item);
    group.Items.push_back(Record{});
    root.Items.push_back(group);
    root.SpareLines.Lines.push_back({.Fields = {{.Text = "zapas"}}});
    root.Summary.Lines.push_back(
        {.Fields = {{.X = 6000, .Width = 2400, .Kind = 7, .StyleName = "t", .Text = "{\\rtf1 Koniec}"}}});
    return doc;
}

// Everything that every version stores, as text.
QString Describe(const TLinie &block)
{
    QString out = QStringLiteral("block %1 %2:").arg(block.Splittable()).arg(block.BreakBefore());
    for (const TLinia &line : block) {
        out += QStringLiteral(" line %1[").arg(line.SkipAtTop);
        for (const TPole &f : line)
            out += QStringLiteral("(%1 %2 k%3 a%4 w%5 r%6 %7 '%8')")
                       .arg(f.X())
                       .arg(f.Width())
                       .arg(int(f.Kind()))
                       .arg(f.Alignment())
                       .arg(f.NoWrap())
                       .arg(f.RuleStyle())
                       .arg(QString::fromLatin1(f.StyleName()), QString::fromLatin1(f.Text()));
        out += "]";
    }
    return out + "\n";
}

QString Describe(const TMLine &r, int depth = 0)
{
    QString out = QString(depth, ' ') + "record\n";
    for (const TLinie *b : {&r.Title, &r.ColumnHeader, &r.SpareLines, &r.Summary})
        out += Describe(*b);
    for (const TMLine *item : r.Items())
        out += Describe(*item, depth + 1);
    return out;
}

QString Describe(const TMLineWydruk &m)
{
    QString out = QStringLiteral("spacing %1 ignored %2 %3 scale %4\n")
                      .arg(m.LineSpacing)
                      .arg(m.Ignored1)
                      .arg(m.Ignored2)
                      .arg(m.PositionScale);
    for (int i = 0; i < m.Styles().Count(); ++i) {
        const TStyl &s = *m.Styles()[i];
        out += QStringLiteral("style %1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                   .arg(s.Color)
                   .arg(s.CharHeight)
                   .arg(s.Columns)
                   .arg(s.CharWidth)
                   .arg(s.FontStyle)
                   .arg(s.Reserved)
                   .arg(QString::fromLatin1(s.FontName), QString::fromLatin1(s.Name), QString::fromLatin1(s.Alias));
    }
    return out + Describe(m.Root());
}

class EveryVersion : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(EveryVersion, ReadsTheSameModel)
{
    const auto version = static_cast<quint8>(GetParam());
    TMLineWydruk reference, model;
    ReadFileBytes(FileBytes(Sample(7)), reference);
    ReadFileBytes(FileBytes(Sample(version)), model);
    EXPECT_EQ(model.Version, version);
    EXPECT_EQ(Describe(model), Describe(reference));
    // Root title, group title, item title and summary, root summary; not the column header or spare lines.
    EXPECT_EQ(model.TotalLineCount(), 5);
}

TEST_P(EveryVersion, ValuesAVersionDoesNotStoreTakeTheirDefaults)
{
    const auto version = static_cast<quint8>(GetParam());
    TMLineWydruk m;
    ReadFileBytes(FileBytes(Sample(version)), m);
    const TMLine &group = *m.Root().Items()[0];
    const TPole &title = m.Root().Title[0][0];
    const TPole &picture = group.Items()[0]->Summary[0][0];

    EXPECT_EQ(m.LinesPerPage, version >= 2 ? 60 : 84);
    EXPECT_EQ(group.Label(), version >= 2 ? QByteArrayView("Grupa A") : QByteArrayView());
    EXPECT_EQ(group.BreakBefore, version >= 2);
    EXPECT_EQ(m.Styles()[1]->Charset, version >= 3 ? 204 : 186);
    EXPECT_EQ(m.Styles()[2]->Charset, version >= 3 ? 238 : 186);
    EXPECT_EQ(picture.Picture() != nullptr, version >= 4);
    EXPECT_EQ(m.PictureCount(), version >= 4 ? 1 : 0);
    EXPECT_EQ(m.Resolution, 1200);
    EXPECT_EQ(title.AlignBottom(), version >= 6);
    EXPECT_EQ(title.EndEllipsis(), version >= 6);
}

INSTANTIATE_TEST_SUITE_P(Versions, EveryVersion, ::testing::Range(0, 8));

TEST(Picture, KeepsTheBytesAndTheFrame)
{
    const QByteArray emf =
        EmfBuilder(-10, 20, 4990, 2019, 189, 76).Ellipse(0, 0, 189, 76, 0x0000FF).Rectangle(5, 5, 20, 20, 0).Finish();
    Document doc;
    doc.Root.Title.Lines.push_back({.Fields = {{.Kind = 6, .Text = "logo", .Picture = emf}, {.Text = "po"}}});
    TMLineWydruk m;
    ReadFileBytes(FileBytes(doc), m);
    const TMetafileImage *image = m.Root().Title[0][0].Picture();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Data, emf);
    EXPECT_EQ(image->Frame, QRect(QPoint(-10, 20), QPoint(4990, 2019)));
    // Reading goes on right after the picture.
    EXPECT_EQ(m.Root().Title[0][1].Text(), QByteArrayView("po"));
    EXPECT_EQ(m.Root().Title[0][0].Text(), QByteArrayView("logo"));
}

TEST(Picture, ASizeBelowTheHeaderTakesTheHundredBytesReadAndNoMore)
{
    // Regression: such pictures made the whole printout invalid. The reader reads 100 bytes and
    // then the rest of the size, which is nothing.
    for (const quint32 size : {0u, 88u, 99u}) {
        SCOPED_TRACE(size);
        // A header record of the basic 88 bytes and 12 bytes after it.
        QByteArray emf = EmfBuilder(0, 0, 1000, 500, 38, 19).Finish().left(100);
        qToLittleEndian(88u, emf.data() + 4);
        qToLittleEndian(size, emf.data() + kEmfSizeOffset);
        Document doc;
        doc.Root.Title.Lines.push_back({.Fields = {{.Kind = 6, .Picture = emf}, {.Text = "po"}}});
        TMLineWydruk m;
        ReadFileBytes(FileBytes(doc), m);
        const TMetafileImage *image = m.Root().Title[0][0].Picture();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Data, emf);
        EXPECT_EQ(m.Root().Title[0][1].Text(), QByteArrayView("po"));
    }
}

TEST(Picture, KindSixBelowVersionFourIsAnEmptyFieldWithoutPicture)
{
    Document doc = Sample(3);
    TMLineWydruk m;
    ReadFileBytes(FileBytes(doc), m);
    const TPole &f = m.Root().Items()[0]->Items()[0]->Summary[0][0];
    EXPECT_EQ(f.Kind(), TFieldKind::Picture);
    EXPECT_EQ(f.Picture(), nullptr);
    EXPECT_EQ(f.MeasuredHeight, 0);
}
