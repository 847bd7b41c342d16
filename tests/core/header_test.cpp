// The uncompressed header: counted strings, the two magics and the printout name.
#include "core/HeaderFormat.h"
#include "core/PrintoutFile.h"
#include "tests/support/ReadHelpers.h"
#include "tests/support/WydWriter.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace wydtest;

namespace {

QByteArray ReadHeaderString(const QByteArray &bytes, qint64 *left = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QByteArray text = HeaderString(buffer);
    if (left)
        *left = buffer.bytesAvailable();
    return text;
}

bool Check(const QByteArray &bytes, qint64 *position = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool ok = CheckHeader(buffer, "Wydruk");
    if (position)
        *position = buffer.pos();
    return ok;
}

const QString kStreamRead = QStringLiteral("Stream read error");

} // namespace

TEST(HeaderString, ThreeFormsReadTheSameText)
{
    const QByteArray text("Wydruk");
    for (HeaderForm form : {HeaderForm::Byte, HeaderForm::Word, HeaderForm::Dword}) {
        qint64 left = -1;
        EXPECT_EQ(ReadHeaderString(HeaderStringBytes(text, form) + "tail", &left), text);
        EXPECT_EQ(left, 4) << "reads exactly its own bytes";
    }
}

TEST(HeaderString, ThreeHundredBytesUseTheWordEscape)
{
    const QByteArray name(300, 'x');
    const QByteArray bytes = HeaderStringBytes(name);
    EXPECT_EQ(bytes.left(3), QByteArray("\xFE\x2C\x01", 3));
    EXPECT_EQ(bytes.size(), 303);
    EXPECT_EQ(ReadHeaderString(bytes), name);
}

TEST(HeaderString, LengthOfZeroOrLessReadsNoText)
{
    qint64 left = -1;
    EXPECT_EQ(ReadHeaderString(QByteArray("\x00xyz", 4), &left), QByteArray());
    EXPECT_EQ(left, 3);
    EXPECT_EQ(ReadHeaderString(QByteArray("\xFF\xFB\xFF\xFF\xFFxyz", 8), &left), QByteArray()); // -5
    EXPECT_EQ(left, 3);
}

TEST(HeaderString, ShortReadsRaiseStreamReadError)
{
    const struct {
        const char *name;
        QByteArray bytes;
    } rows[] = {
        {"no length byte", QByteArray()},
        {"word length cut", QByteArray("\xFE\x05", 2)},
        {"dword length cut", QByteArray("\xFF\x05\x00", 3)},
        {"text shorter than its length", QByteArray("\x06Wydr", 5)},
        // Two gigabytes announced on a tiny input: fails by reading, not by allocating first.
        {"huge length", QByteArray("\xFF\xFF\xFF\xFF\x7FWydruk", 11)},
    };
    for (const auto &row : rows)
        EXPECT_TRUE(Raises<EStreamError>([&] { ReadHeaderString(row.bytes); }, kStreamRead)) << row.name;
}

TEST(HeaderCheck, BothMagicsAreAccepted)
{
    EXPECT_TRUE(Check(HeaderBytes({.Magic = "WENOR2001"})));
    EXPECT_TRUE(Check(HeaderBytes({.Magic = "WENOR2000"})));
    EXPECT_TRUE(Check(HeaderBytes({.Form = HeaderForm::Dword})));
}

TEST(HeaderCheck, RejectsOtherMagicsAndNames)
{
    const struct {
        const char *name;
        FileOptions options;
    } rows[] = {
        {"other magic", {.Magic = "WENOR2002"}},
        {"lower-case magic", {.Magic = "wenor2001"}},
        {"name in other case", {.Name = "WYDRUK"}},
        {"longer name", {.Name = "Wydruki"}},
        {"empty name", {.Name = ""}},
    };
    for (const auto &row : rows)
        EXPECT_FALSE(Check(HeaderBytes(row.options) + "more")) << row.name;
}

TEST(HeaderCheck, WrongMagicStopsAfterNineBytes)
{
    qint64 position = -1;
    EXPECT_FALSE(Check(QByteArray("NOTWENOR1\x06Wydruk"), &position));
    EXPECT_EQ(position, 9);
}

TEST(HeaderCheck, ShortHeaderRaisesStreamReadError)
{
    EXPECT_TRUE(Raises<EStreamError>([] { Check("WENOR"); }, kStreamRead));
    EXPECT_TRUE(Raises<EStreamError>([] { Check("WENOR2001"); }, kStreamRead));
    EXPECT_TRUE(Raises<EStreamError>([] { Check("WENOR2001\x06Wyd"); }, kStreamRead));
}

TEST(HeaderCheck, FileThatIsNoPrintoutIsRefusedWithThePrintoutMessage)
{
    TMLineWydruk model;
    const QString message = QStringLiteral("Plik nie zawiera prawidłowego wydruku Wenora");
    for (const FileOptions &options : {FileOptions{.Magic = "WENOR1999"}, FileOptions{.Name = "WYDRUK"}})
        EXPECT_TRUE(Raises<EStreamError>([&] { ReadFileBytes(FileBytes(Document{}, options), model); }, message));
}

TEST(HeaderCheck, SecondMagicReadsExactlyLikeTheFirst)
{
    Document doc;
    doc.Root.Title.Lines.push_back({.Fields = {{.X = 100, .Text = "Ala"}}});
    TMLineWydruk a, b;
    ReadFileBytes(FileBytes(doc, {.Magic = "WENOR2001"}), a);
    ReadFileBytes(FileBytes(doc, {.Magic = "WENOR2000"}), b);
    ASSERT_EQ(b.Root().Title.Count(), 1);
    EXPECT_EQ(b.Root().Title[0][0].Text(), a.Root().Title[0][0].Text());
    EXPECT_EQ(b.Root().Title[0][0].X(), a.Root().Title[0][0].X());
}
