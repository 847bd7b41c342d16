// The version reader on executables the test writes: values, translations, the layouts real files
// use, and every construction error with its message.
#include "platform/versioninfo/FileVerInfo.h"
#include "tests/support/PeWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace petest;

namespace {

class FileVerInfo : public ::testing::Test {
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir_;
};

std::vector<Node> AllEight()
{
    std::vector<Node> s;
    for (const char *name : TFileVerInfo::kNazwy)
        s.push_back(StringNode(name, QString::fromLatin1(name).toLower()));
    return s;
}

} // namespace

TEST_F(FileVerInfo, PredefinedValuesAndCustomStrings)
{
    std::vector<Node> strings = AllEight();
    strings.push_back(StringNode("Rozmiar", "123456"));
    const QString path =
        Write("a.exe", WritePe({.version = Encode(VersionInfo({Table("041504E2", strings)}, {{0x415, 0x4E2}}))}));
    const TFileVerInfo info(path);
    for (int i = 0; i < TFileVerInfo::kKeyCount; ++i)
        EXPECT_EQ(info.Value(TFileVerInfo::Key(i)), QString::fromLatin1(TFileVerInfo::kNazwy[i]).toLower()) << i;
    EXPECT_EQ(info.Value(TFileVerInfo::Key::FileDescription), "filedescription");
    EXPECT_EQ(info.Value(TFileVerInfo::Key(8)), "");
    EXPECT_EQ(info.Value(TFileVerInfo::Key(-1)), "");
    EXPECT_EQ(info.ValueByName("Rozmiar"), "123456");
    EXPECT_EQ(info.ValueByName("Brak"), "");
    EXPECT_EQ(info.Tlumaczenie(), "041504e2");
}

// Only the first translation counts, whatever order the tables come in; table keys are matched
// without regard to case as the system's query does.
TEST_F(FileVerInfo, TheFirstTranslationChoosesTheTable)
{
    const Node root = VersionInfo({Table("041504e2", {StringNode("FileDescription", "polski")}),
                                   Table("040904B0", {StringNode("FileDescription", "English")})},
                                  {{0x409, 0x4B0}, {0x415, 0x4E2}});
    const TFileVerInfo info(Write("b.exe", WritePe({.version = Encode(root)})));
    EXPECT_EQ(info.Value(TFileVerInfo::Key::FileDescription), "English");
    EXPECT_EQ(info.Tlumaczenie(), "040904b0");
    ASSERT_EQ(info.Tablice().size(), 2u);
    EXPECT_EQ(info.Tablice()[0].Klucz, "041504e2");

    const Node none = VersionInfo({Table("041504e2", {StringNode("FileDescription", "polski")})}, {{0x409, 0x4B0}});
    EXPECT_EQ(
        TFileVerInfo(Write("c.exe", WritePe({.version = Encode(none)}))).Value(TFileVerInfo::Key::FileDescription), "")
        << "no table for the translation";
}

// Alignment is counted from the start of the resource, not of the file; keys and values of every
// length mod 4 need padding in every position; 64-bit headers and appended data change nothing.
TEST_F(FileVerInfo, LayoutsOfRealFiles)
{
    const std::vector<Node> strings = {StringNode("A", ""), StringNode("Bb", "x"), StringNode("Ccc", "yy"),
                                       StringNode("Dddd", "zzz"), StringNode("FileDescription", "Przeglądarka")};
    const Node root = VersionInfo({Table("041504e2", strings)}, {{0x415, 0x4E2}});
    for (const bool pe64 : {false, true})
        for (const int skew : {0, 1, 2, 3, 6})
            for (const QByteArray &appended : {QByteArray(), QByteArray(100001, 'W')}) {
                const QByteArray bytes =
                    WritePe({.version = Encode(root), .pe64 = pe64, .skew = skew, .appended = appended});
                const TFileVerInfo info(Write("d.exe", bytes));
                const QString where =
                    QStringLiteral("pe64 %1 skew %2 appended %3").arg(pe64).arg(skew).arg(appended.size());
                EXPECT_EQ(info.ValueByName("A"), "") << where.toStdString();
                EXPECT_EQ(info.ValueByName("Bb"), "x") << where.toStdString();
                EXPECT_EQ(info.ValueByName("Ccc"), "yy") << where.toStdString();
                EXPECT_EQ(info.ValueByName("Dddd"), "zzz") << where.toStdString();
                EXPECT_EQ(info.Value(TFileVerInfo::Key::FileDescription), QString::fromUtf8("Przeglądarka"))
                    << where.toStdString();
                EXPECT_EQ(TFileVerInfo(bytes, "d.exe").Value(TFileVerInfo::Key::FileDescription),
                          QString::fromUtf8("Przeglądarka"));
            }
}

TEST_F(FileVerInfo, LengthsThatCannotBeTrusted)
{
    Node bytesNotWords = StringNode("Bytes", "abc");
    bytesNotWords.valueLength = 8; // some writers count bytes
    Node zero = StringNode("Zero", "def");
    zero.valueLength = 0;
    zero.type = 0;
    Node huge = StringNode("Huge", "ghi");
    huge.valueLength = 0xFFFF;
    Node nulInside{.key = "Nul", .value = Utf16("jk") + Utf16("junk")};
    const struct {
        const char *name;
        std::vector<Node> strings;
        std::vector<std::pair<QString, QString>> expected;
    } rows[] = {
        {"declared value lengths ignored",
         {bytesNotWords, zero, huge, nulInside},
         {{"Bytes", "abc"}, {"Zero", "def"}, {"Huge", "ghi"}, {"Nul", "jk"}}},
        // A child of length 0 ends its parent's list: what follows it is not read.
        {"zero length ends the list",
         {StringNode("Before", "1"), Node{.key = "Empty", .length = 0}, StringNode("After", "2")},
         {{"Before", "1"}, {"After", ""}}},
        {"child running past its parent ends the list",
         {StringNode("Before", "1"), Node{.key = "Long", .value = Utf16("x"), .length = 4000}},
         {{"Before", "1"}, {"Long", ""}}},
    };
    for (const auto &row : rows) {
        const Node root = VersionInfo({Table("041504e2", row.strings)}, {{0x415, 0x4E2}});
        const TFileVerInfo info(Write("e.exe", WritePe({.version = Encode(root)})));
        for (const auto &[name, value] : row.expected)
            EXPECT_EQ(info.ValueByName(name), value) << row.name << " " << name.toStdString();
    }
}

TEST_F(FileVerInfo, ConstructionErrors)
{
    const QByteArray good = Encode(VersionInfo({Table("041504e2", AllEight())}, {{0x415, 0x4E2}}));
    const QByteArray pe = WritePe({.version = good});
    Node wrongKey = VersionInfo({}, {{0x415, 0x4E2}});
    wrongKey.key = "VS_VERSION_INF0";
    Node shortTranslation = VersionInfo({}, {});
    shortTranslation.children.push_back(
        {.key = "VarFileInfo", .children = {{.key = "Translation", .value = "\x15\x04"}}});
    QByteArray badPeMagic = pe;
    badPeMagic[0x81] = 'X';
    const struct {
        const char *name;
        std::optional<QByteArray> bytes; // none: the file does not exist
        QString message;
    } rows[] = {
        {"missing file", std::nullopt, kBrakWersji},
        {"empty file", QByteArray(), kBrakWersji},
        {"text file", QByteArray("MZ to nie jest program"), kBrakWersji},
        {"cut inside the headers", pe.left(0x100), kBrakWersji},
        {"no PE signature", badPeMagic, kBrakWersji},
        {"resources without a version", WritePe({.version = good, .resourceType = 3}), kBrakWersji},
        {"no resources at all", WritePe({}), kBrakWersji},
        {"version of size 0", WritePe({.version = good, .dataSize = 0}), kBrakWersji},
        {"cut inside the resource section", pe.left(0x600 + 0x70), kBladOdczytuWersji},
        {"data at an address no section holds", WritePe({.version = good, .dataOutsideFile = true}),
         kBladOdczytuWersji},
        {"size past the section", WritePe({.version = good, .dataSize = 0x10000}), kBladOdczytuWersji},
        {"root is not VS_VERSION_INFO", WritePe({.version = Encode(wrongKey)}), kBladOdczytuWersji},
        {"no VarFileInfo", WritePe({.version = Encode(VersionInfo({Table("041504e2", AllEight())}, {}))}),
         kBrakWersjiJezykowej},
        {"translation of two bytes", WritePe({.version = Encode(shortTranslation)}), kBrakWersjiJezykowej},
    };
    for (const auto &row : rows) {
        const QString path = dir_.filePath(row.name);
        if (row.bytes)
            Write(row.name, *row.bytes);
        try {
            TFileVerInfo info(path);
            ADD_FAILURE() << row.name << ": no error";
        } catch (const EFileVerInfoError &e) {
            EXPECT_EQ(e.Message(), row.message + "\r(plik: " + path + ")") << row.name;
        }
    }
    EXPECT_THROW(TFileVerInfo(dir_.path()), EFileVerInfoError) << "a folder";
}
