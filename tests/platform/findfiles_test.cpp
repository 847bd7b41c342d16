#include "platform/files/FileMask.h"
#include "platform/files/FindFiles.h"
#include "tests/support/FileTree.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder tree built by each test inside a temporary folder.
class FindFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }

    QString Path(const QString &rel) const { return tmp_.path() + u'/' + rel; }

    void File(const QString &rel, const QByteArray &bytes = "x") { ASSERT_TRUE(WriteTestFile(Path(rel), bytes)); }
    void Folder(const QString &rel) { ASSERT_TRUE(QDir().mkpath(Path(rel))); }

    // Runs the search on the temporary folder and gives the entries' names below it, in order.
    QStringList Find(TFindFiles &ff)
    {
        if (ff.Directory.isEmpty())
            ff.Directory = tmp_.path();
        ff.Execute();
        return Names(ff.Files);
    }
    static QStringList Names(const TFileList &files)
    {
        QStringList names;
        for (const TFileObj &f : files)
            names << f.RelName();
        return names;
    }

    QTemporaryDir tmp_;
};

// The message of the search's error, or "none".
QString ErrorOf(TFindFiles &ff)
{
    try {
        ff.Execute();
    } catch (const EFindFilesError &e) {
        return e.Message();
    }
    return "none";
}

// --- Properties and the folder that cannot be entered -------------------------------------------

TEST_F(FindFilesTest, MissingPropertiesAndFoldersThatCannotBeEnteredRaise)
{
    File("plik.wyd");
    TFindFiles ff;
    EXPECT_EQ(ErrorOf(ff), "Missing \"Directory\" property");
    ff.Directory = tmp_.path();
    ff.Mask.clear();
    EXPECT_EQ(ErrorOf(ff), "Missing \"Mask\" property");
    ff.Mask = "*.*";
    for (const QString &dir : {Path("brak"), Path("plik.wyd")}) {
        ff.Directory = dir;
        EXPECT_EQ(ErrorOf(ff), "Can not access the directory \"" + dir + "\".");
    }
}

// A locked root raises, a locked subfolder is skipped. Gives the first failure seen, or "".
std::string LockedFolderFailure()
{
    QTemporaryDir tmp;
    const QString locked = tmp.path() + "/zamkniety";
    QDir().mkpath(locked);
    QFile(tmp.path() + "/a.wyd").open(QIODevice::WriteOnly);
    chmod(QFile::encodeName(locked).constData(), 0);
    TFindFiles ff;
    ff.Directory = locked;
    if (ErrorOf(ff) != "Can not access the directory \"" + locked + "\".")
        return "locked root: " + ErrorOf(ff).toStdString();
    ff.Directory = tmp.path();
    ff.Recurse = true;
    ff.Execute();
    chmod(QFile::encodeName(locked).constData(), 0700);
    return ff.Files.Count() == 1 ? "" : "the locked subfolder was not skipped";
}

TEST(FindFilesPermissions, FolderWithoutPermissions)
{
    if (geteuid() != 0) {
        EXPECT_EQ(LockedFolderFailure(), "");
        return;
    }
    // Permissions do not keep root out, so a child process gives up root first.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(3);
            const std::string failure = LockedFolderFailure();
            fputs(failure.c_str(), stderr);
            _exit(failure.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(FindFilesTest, RelativeFolderIsResolvedWithoutChangingTheCurrentFolder)
{
    File("sub/a.wyd");
    const QString before = QDir::currentPath(), here = QDir(tmp_.path()).canonicalPath();
    ASSERT_TRUE(QDir::setCurrent(here));
    TFindFiles ff;
    ff.Directory = "./sub/../sub/";
    EXPECT_EQ(Find(ff), QStringList{"a.wyd"});
    EXPECT_EQ(ff.Files[0].RootDir, here + "/sub/");
    ff.Directory = "brak";
    EXPECT_THROW(ff.Execute(), EFindFilesError);
    EXPECT_EQ(ff.Files.Count(), 0); // emptied by the failing search
    EXPECT_EQ(QDir::currentPath(), here);
    QDir::setCurrent(before);
}

// --- Attribute modes ----------------------------------------------------------------------------

struct AttrRow {
    const char *name;
    TFindMode readOnly, archive, system, hidden, directory;
    QStringList expected;
};

void PrintTo(const AttrRow &row, std::ostream *os)
{
    *os << row.name;
}

class FindFilesAttrTest : public FindFilesTest, public ::testing::WithParamInterface<AttrRow> {};

TEST_P(FindFilesAttrTest, ModesChooseTheEntries)
{
    File("a.wyd");
    File("ro.wyd");
    ASSERT_EQ(chmod(QFile::encodeName(Path("ro.wyd")).constData(), 0444), 0);
    File(".ukryty.wyd");
    Folder("kat");
    Folder(".ukrytykat");
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("kolejka")).constData(), 0644), 0);

    const AttrRow &row = GetParam();
    TFindFiles ff;
    ff.Mask = "*";
    ff.aReadOnly = row.readOnly;
    ff.aArchive = row.archive;
    ff.aSystem = row.system;
    ff.aHidden = row.hidden;
    ff.aDirectory = row.directory;
    // Entries come in name order ignoring case.
    EXPECT_EQ(Find(ff), row.expected);
}

using enum TFindMode;
INSTANTIATE_TEST_SUITE_P(
    Modes, FindFilesAttrTest,
    ::testing::Values(
        // Read-only and archive never hold an entry back: read-only files come with the defaults.
        AttrRow{"Defaults", fmNo, fmDontCare, fmNo, fmNo, fmNo, {"a.wyd", "ro.wyd"}},
        AttrRow{"AllNo", fmNo, fmNo, fmNo, fmNo, fmNo, {}},
        AttrRow{"OnlyReadOnlyAllowed", fmDontCare, fmNo, fmNo, fmNo, fmNo, {"a.wyd", "ro.wyd"}},
        AttrRow{"ReadOnlyRequired", fmYes, fmDontCare, fmNo, fmNo, fmNo, {"ro.wyd"}},
        AttrRow{"HiddenToo", fmNo, fmDontCare, fmNo, fmDontCare, fmNo, {".ukryty.wyd", "a.wyd", "ro.wyd"}},
        AttrRow{"HiddenRequired", fmNo, fmDontCare, fmNo, fmYes, fmDontCare, {".ukryty.wyd", ".ukrytykat"}},
        AttrRow{"PipeIsSystem", fmNo, fmDontCare, fmDontCare, fmNo, fmNo, {"a.wyd", "kolejka", "ro.wyd"}},
        AttrRow{"FoldersOnly", fmNo, fmDontCare, fmNo, fmNo, fmYes, {"kat"}},
        AttrRow{"FilesAndFolders", fmNo, fmDontCare, fmNo, fmNo, fmDontCare, {"a.wyd", "kat", "ro.wyd"}},
        AttrRow{"ArchiveRequiredDropsFolders", fmNo, fmYes, fmNo, fmNo, fmDontCare, {"a.wyd", "ro.wyd"}}),
    [](const ::testing::TestParamInfo<AttrRow> &p) { return std::string(p.param.name); });

// --- Masks and entry fields ---------------------------------------------------------------------

TEST_F(FindFilesTest, MasksRunInTurnEachIgnoringCase)
{
    for (const char *name : {"b.exe", "a.wyd", "RAPORT.WYD", "d.txt", "C.Exe"})
        File(name);
    TFindFiles ff;
    ff.Mask = "*.WYD;*.EXE";
    EXPECT_EQ(Find(ff), (QStringList{"a.wyd", "RAPORT.WYD", "b.exe", "C.Exe"}));
    // An empty piece is a mask that finds nothing; a mask repeated finds its entries again.
    ff.Mask = "*.wyd;;*.WYD;";
    EXPECT_EQ(Find(ff), (QStringList{"a.wyd", "RAPORT.WYD", "a.wyd", "RAPORT.WYD"}));
}

TEST(FileMask, MatchesLikeFindFirst)
{
    struct Row {
        const char *mask, *name;
        bool match;
    } rows[] = {
        {"*.*", "README", true}, // no extension still matches "*.*"
        {"*.*", ".profile", true},
        {"*.", "README", true}, // "*." asks for names without an extension
        {"*.", "a.wyd", false},
        {"rap??.*", "RAPOR", true},
        {"rap??.*", "RAPORT.wyd", false},
        {"rap??.wyd", "Rap12.WYD", true},
        {"?", "", false},
        {"*a*b*c", "xaxbxbxc", true}, // backtracks over the first "b"
        {"*a*b*c", "xaxbxbx", false},
        {"[a].wyd", "[A].WYD", true}, // brackets are plain characters
        {"[a].wyd", "a.wyd", false},
        {"", "a", false},
        {"*", "", true},
        {"żółw.wyd", "ŻÓŁW.WYD", true},
    };
    for (const Row &r : rows)
        EXPECT_EQ(MaskMatches(QString::fromUtf8(r.mask), QString::fromUtf8(r.name)), r.match)
            << r.mask << " / " << r.name;
}

TEST_F(FindFilesTest, EntryFieldsDescribeTheFile)
{
    File("sub/raport.2024.wyd", QByteArray(1234, 'x'));
    File("sub/README");
    // 10:20:31 local is kept as 10:20:30, as a packed DOS time holds it.
    const QDateTime written(QDate(2023, 5, 17), QTime(10, 20, 31, 400));
    {
        QFile f(Path("sub/raport.2024.wyd"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
    TFindFiles ff;
    ff.Directory = tmp_.path() + "/./";
    ff.Recurse = true;
    ASSERT_EQ(Find(ff), (QStringList{"sub/raport.2024.wyd", "sub/README"}));

    const TFileObj &f = ff.Files[0];
    EXPECT_EQ(f.RootDir, QDir::cleanPath(tmp_.path()) + "/");
    EXPECT_EQ(f.SubDir, "sub/");
    EXPECT_EQ(f.Name, "raport.2024");
    EXPECT_EQ(f.Ext, ".wyd");
    EXPECT_EQ(f.FullName(), f.RootDir + "sub/raport.2024.wyd");
    EXPECT_EQ(f.FileName(), "raport.2024.wyd");
    EXPECT_EQ(f.Size, 1234);
    EXPECT_EQ(f.Attr, TFileAttrs(TFileAttr::Archive));
    EXPECT_EQ(f.Time, QDateTime(QDate(2023, 5, 17), QTime(10, 20, 30)));
    EXPECT_EQ(ff.Files[1].Name, "README");
    EXPECT_EQ(ff.Files[1].Ext, "");
}

// --- Recursion ----------------------------------------------------------------------------------

TEST_F(FindFilesTest, RecursionIsBreadthFirst)
{
    File("z.wyd");
    File("a/a1.wyd");
    File("a/gleboko/d.wyd");
    File("b/b1.wyd");
    TFindFiles ff;
    ff.Mask = "*.wyd";
    ff.Recurse = true;
    EXPECT_EQ(Find(ff), (QStringList{"z.wyd", "a/a1.wyd", "b/b1.wyd", "a/gleboko/d.wyd"}));
    ff.Recurse = false;
    EXPECT_EQ(Find(ff), QStringList{"z.wyd"});
}

TEST_F(FindFilesTest, HiddenFoldersAreSearchedButNotListed)
{
    File(".ukryty/w.wyd");
    File("jawny/j.wyd");
    TFindFiles ff;
    ff.Mask = "*";
    ff.aDirectory = fmDontCare;
    ff.Recurse = true;
    EXPECT_EQ(Find(ff), (QStringList{"jawny", ".ukryty/w.wyd", "jawny/j.wyd"}));
}

// Regression: a link to a folder above used to be followed round and round for ever.
TEST_F(FindFilesTest, LinkBackUpTheTreeIsSearchedOnce)
{
    File("a/a.wyd");
    const QByteArray up = QFile::encodeName(tmp_.path()), link = QFile::encodeName(Path("a/wstecz"));
    ASSERT_EQ(symlink(up.constData(), link.constData()), 0);
    File("b/b.wyd");
    ASSERT_EQ(symlink("../b", QFile::encodeName(Path("a/dob")).constData()), 0);
    TFindFiles ff;
    ff.Mask = "*.wyd";
    ff.Recurse = true;
    EXPECT_EQ(Find(ff), (QStringList{"a/a.wyd", "b/b.wyd"}));
}

// --- Progress and stopping ----------------------------------------------------------------------

TEST_F(FindFilesTest, ProgressIsTheShareOfQueuedFoldersAndNeverFalls)
{
    struct Row {
        const char *name;
        QStringList folders;
        QList<int> expected;
    } rows[] = {
        {"ThreeSubfolders", {"a", "b", "c"}, {0, 25, 50, 75, 100}},
        // 1 of 8 is 12.5: halves go to the even neighbour (12), 3 of 8 gives 38.
        {"HalvesToEven", {"a", "b", "c", "d", "e", "f", "g"}, {0, 12, 25, 38, 50, 62, 75, 88, 100}},
        // The queue grows from 2 to 5 folders while "a" is read: 2 of 5 (40) would fall below 50.
        {"QueueGrows", {"a/x", "a/y", "a/z"}, {0, 50, 50, 60, 80, 100}},
    };
    for (const Row &row : rows) {
        QTemporaryDir dir;
        for (const QString &f : row.folders)
            QDir().mkpath(dir.path() + u'/' + f);
        TFindFiles ff;
        ff.Directory = dir.path();
        ff.Recurse = true;
        QList<int> seen;
        QStringList dirs;
        ff.OnProgress = [&](int progress, const QString &dirName, bool &) {
            seen << progress;
            dirs << dirName;
        };
        ff.Execute();
        EXPECT_EQ(seen, row.expected) << row.name;
        EXPECT_EQ(dirs.first(), QDir::cleanPath(dir.path()) + "/") << row.name;
        EXPECT_EQ(dirs.last(), "") << row.name;
    }
}

TEST_F(FindFilesTest, StopFromProgressAbortsSilentlyKeepingEarlierEntries)
{
    File("r.wyd");
    File("a/a.wyd");
    File("b/b.wyd");
    TFindFiles ff;
    ff.Directory = tmp_.path();
    ff.Recurse = true;
    ff.OnProgress = [&](int, const QString &dirName, bool &stop) { stop = dirName.endsWith("/b"); };
    EXPECT_FALSE(ff.Execute());
    EXPECT_EQ(Names(ff.Files), (QStringList{"r.wyd", "a/a.wyd"}));
}

TEST_F(FindFilesTest, AddFileAcceptsRefusesAndStops)
{
    for (const char *name : {"a.wyd", "b.wyd", "c.wyd", "d.wyd"})
        File(name);
    struct Row {
        const char *name;
        std::function<void(const TFileObj &, bool &, bool &)> handler;
        QStringList expected;
        bool aborts;
    } rows[] = {
        {"RefuseOne",
         [](const TFileObj &f, bool &accept, bool &) { accept = f.Name != "b"; },
         {"a.wyd", "c.wyd", "d.wyd"},
         false},
        // The stopping entry is kept when it was accepted, dropped when refused.
        {"StopAccepted", [](const TFileObj &f, bool &, bool &stop) { stop = f.Name == "b"; }, {"a.wyd", "b.wyd"}, true},
        {"StopRefused",
         [](const TFileObj &f, bool &accept, bool &stop) { stop = accept = f.Name != "b"; },
         {"a.wyd"},
         true},
        // A handler that fails loses its entry only.
        {"HandlerFails",
         [](const TFileObj &f, bool &, bool &) {
             if (f.Name == "c")
                 throw Exception("zepsuty");
         },
         {"a.wyd", "b.wyd", "d.wyd"},
         false},
    };
    for (const Row &row : rows) {
        TFindFiles ff;
        ff.Directory = tmp_.path();
        ff.OnAddFile = row.handler;
        EXPECT_EQ(ff.Execute(), !row.aborts) << row.name;
        EXPECT_EQ(Names(ff.Files), row.expected) << row.name;
    }
    // Running out of memory is no failing entry: it ends the search.
    TFindFiles ff;
    ff.Directory = tmp_.path();
    ff.OnAddFile = [](const TFileObj &, bool &, bool &) { throw std::bad_alloc(); };
    EXPECT_THROW(ff.Execute(), std::bad_alloc);
}

// --- Sorting ------------------------------------------------------------------------------------

TEST(FileListSort, ByNameWithAndWithoutCaseAndByTime)
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    struct Row {
        const char *name;
        TFileList::SortKind kind;
        QStringList given, expected; // given newest first
    } rows[] = {
        // Polish collation puts "ć" right after "c", not after every ASCII letter.
        {"NoCaseLocale", TFileList::SortByNameNoCase, {"dom", "ćma", "Cebula", "ala"}, {"ala", "Cebula", "ćma", "dom"}},
        {"WithCase", TFileList::SortByName, {"B", "a", "b", "A"}, {"a", "A", "b", "B"}},
        {"ByTime", TFileList::SortByTime, {"c", "a", "b"}, {"b", "a", "c"}},
        {"UnknownKind", TFileList::SortKind(3), {"c", "a", "b"}, {"c", "a", "b"}},
    };
    for (const Row &row : rows) {
        const QDate day(2024, 1, 1);
        TFileList list;
        for (int i = 0; i < row.given.size(); ++i)
            list.Add({"/lib/", "", row.given[i], ".wyd", {}, QDateTime(day, QTime(12, 59 - i))});
        list.Sort(row.kind);
        QStringList names;
        for (const TFileObj &f : list)
            names << f.Name;
        EXPECT_EQ(names, row.expected) << row.name;
    }
    QLocale::setDefault(QLocale::c());
}

} // namespace

// A subfolder whose name is not UTF-8 (Windows-1250 bytes) was queued by its shown text, which
// does not name it: its printouts were never found. The walk keeps the bytes.
TEST_F(FindFilesTest, FoldersNamedInAnotherCodePageAreSearched)
{
    const QByteArray root = QFile::encodeName(tmp_.path());
    const QByteArray zam = root + "/Zam\xf3wienia", sub = zam + "/Wyp\xb3"
                                                                "aty";
    ASSERT_EQ(::mkdir(zam.constData(), 0700), 0);
    ASSERT_EQ(::mkdir(sub.constData(), 0700), 0);
    File("a.wyd");
    for (const QByteArray &path : {zam + "/b.wyd", sub + "/c.wyd"}) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    TFindFiles ff;
    ff.Mask = "*.wyd";
    ff.Recurse = true;
    Find(ff);
    ASSERT_EQ(ff.Files.Count(), 3);
    QList<QByteArray> paths;
    for (const TFileObj &f : ff.Files)
        paths << f.NativeFullName();
    EXPECT_EQ(paths, QList<QByteArray>({root + "/a.wyd", zam + "/b.wyd", sub + "/c.wyd"}));

    // The folder itself given by its bytes.
    TFindFiles inside;
    inside.NativeDirectory = sub;
    inside.Mask = "*.wyd";
    inside.Execute();
    ASSERT_EQ(inside.Files.Count(), 1);
    EXPECT_EQ(inside.Files[0].NativeFullName(), sub + "/c.wyd");
    EXPECT_EQ(inside.Files[0].FileName(), "c.wyd");
}
