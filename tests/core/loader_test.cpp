// The printout loader: file names, opening, errors, progress, the page relay, cancelling and
// building again.
#include "tests/support/LayoutHelpers.h"
#include "tests/support/ReadHelpers.h"

#include "core/PrintoutFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace wydtest;

namespace {

// 170 one-line items: three pages (83 lines a page).
Document ThreePages()
{
    Document doc = DeviceDocument();
    for (int i = 1; i <= 170; ++i) {
        Record item;
        item.Title = BlockOf({TextLine("l" + QByteArray::number(i))});
        doc.Root.Items.push_back(item);
    }
    return doc;
}

} // namespace

TEST(Loader, NamesTheFileItLoaded)
{
    TWydruk loader;
    EXPECT_EQ(loader.WczytanyPlikNazwa(), "WYDRUK");
    EXPECT_EQ(loader.Tytul(), "");
    EXPECT_EQ(loader.WczytanyPlikSciezka(), "");

    QTemporaryDir dir;
    const QString path = dir.filePath("Raport.wyd");
    WriteWyd(path, ThreePages());
    loader.LoadFromFile(path);
    EXPECT_EQ(loader.WczytanyPlikNazwa(), "Raport");
    EXPECT_EQ(loader.Tytul(), path);
    EXPECT_EQ(loader.WczytanyPlikSciezka(), path);
    EXPECT_EQ(loader.Tekst().Root().Items().size(), 170u);
}

TEST(Loader, NamesTheFileEvenWhenItsBodyFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Zepsuty.v2.wyd");
    WriteBytes(path, FileFromBody(QByteArray(1, char(9))));
    TWydruk loader;
    EXPECT_THROW(loader.LoadFromFile(path), ENieczytelnyWydruk);
    EXPECT_EQ(loader.WczytanyPlikNazwa(), "Zepsuty.v2");
    EXPECT_EQ(loader.Tytul(), path);
}

// Every refusal names the file and says why in Polish: an empty file said "Stream read error", a cut
// one "Błąd czytania z pliku [101]", a missing one or a folder "Cannot open file".
TEST(Loader, RefusalsNameTheFileAndTheCause)
{
    QTemporaryDir dir;
    const QByteArray whole = FileBytes(ThreePages());
    Document v8 = DeviceDocument();
    v8.Version = 8;
    const auto P = [&](const char *name) { return dir.filePath(name); };
    WriteBytes(P("inny.wyd"), FileBytes(ThreePages(), {.Name = "WYDRUK"}));
    WriteBytes(P("pusty.wyd"), "");
    WriteBytes(P("krotki.wyd"), "WENOR");
    WriteBytes(P("tekst.wyd"), "nie");
    WriteBytes(P("uciety.wyd"), whole.left(whole.size() / 2));
    WriteBytes(P("zepsuty.wyd"), FileBytes(ThreePages(), {}, {.CorruptMarker = 5}));
    WriteBytes(P("zgnieciony.wyd"), HeaderBytes() + CompressThenBreak(BodyBytes(ThreePages()).left(40)));
    WriteBytes(P("v8.wyd"), FileBytes(v8));
    const QString reading = "Nie można odczytać wydruku \"%1\":\r";
    const QString opening = "Nie można otworzyć pliku \"%1\": ";
    const struct {
        const char *file;
        QString message; // the start of the message when it ends in "..."
    } rows[] = {
        {"inny.wyd", reading + kNotAPrintout},
        {"pusty.wyd", reading + "plik jest pusty"},
        {"krotki.wyd", reading + "plik jest za krótki, aby był wydrukiem Wenora"},
        {"tekst.wyd", reading + "plik jest za krótki, aby był wydrukiem Wenora"},
        {"uciety.wyd", reading + "plik jest niekompletny: kończy się przed końcem danych wydruku..."},
        {"zepsuty.wyd", reading + "dane wydruku są uszkodzone (Błąd czytania z pliku [5])"},
        {"zgnieciony.wyd", reading + "skompresowane dane wydruku są uszkodzone"},
        {"v8.wyd", reading + "Błąd odczytu - nieznana wersja pliku [8]"},
        {"brak.wyd", opening + "nie ma takiego pliku ani folderu"},
        {"", opening + "to jest folder, nie plik"},
    };
    for (const auto &row : rows) {
        const QString path = row.file[0] ? P(row.file) : dir.path();
        TWydruk loader;
        try {
            loader.LoadFromFile(path);
            ADD_FAILURE() << row.file << ": loaded";
        } catch (const EStreamError &e) {
            QString expected = row.message.arg(path);
            if (expected.endsWith("...")) {
                expected.chop(3);
                EXPECT_TRUE(e.Message().startsWith(expected)) << e.Message().toStdString();
            } else {
                EXPECT_EQ(e.Message(), expected) << row.file;
            }
        }
        // A header that does not pass leaves the names alone.
        if (row.file == std::string("inny.wyd")) {
            EXPECT_EQ(loader.WczytanyPlikNazwa(), "WYDRUK");
        }
    }
}

TEST(Loader, OpensAReadOnlyPrintout)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser opens read-only files for writing too";
    QTemporaryDir dir;
    const QString path = dir.filePath("tylko.wyd");
    WriteWyd(path, ThreePages());
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    TWydruk loader;
    EXPECT_NO_THROW(loader.LoadFromFile(path));
    EXPECT_EQ(loader.Tekst().Root().Items().size(), 170u);
}

TEST(Loader, ReportsProgressFromZeroToHundredWhileBuilding)
{
    Built b = Build(ThreePages());
    ASSERT_EQ(b.Pages.size(), 3u);
    ASSERT_EQ(b.Progress.size(), 170u);
    EXPECT_EQ(b.Progress.front(), 0); // 1 * 100 div 170
    EXPECT_EQ(b.Progress[1], 1);
    EXPECT_EQ(b.Progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(b.Progress.begin(), b.Progress.end()));
    EXPECT_EQ(std::count(b.Building.begin(), b.Building.end(), false), 0);
}

TEST(Loader, ProgressIsZeroWithoutCountedLines)
{
    // Column-header lines are reported but not counted, and the total is 0.
    Document doc = DeviceDocument();
    doc.Root.ColumnHeader = BlockOf({TextLine("h1"), TextLine("h2")});
    Built b = Build(doc);
    EXPECT_EQ(b.Pages.size(), 1u);
    EXPECT_EQ(b.Progress, std::vector<int>({0, 0}));
}

TEST(Loader, CancelDeliversThePagesSoFarAndThePartlyDrawnOne)
{
    auto loader = Load(ThreePages());
    std::vector<platform::PageMetafile *> pages;
    int linesAfterCancel = -1;
    loader->OnNextPage = [&](TWydruk *, platform::PageMetafile *page) { pages.push_back(page); };
    loader->OnProgress = [&](TWydruk *sender, bool, int) {
        if (linesAfterCancel >= 0)
            ++linesAfterCancel;
        if (pages.size() == 1 && linesAfterCancel < 0) {
            linesAfterCancel = 0;
            sender->CancelBuild();
        }
    };
    loader->BuildPages();
    ASSERT_EQ(pages.size(), 2u);
    // The build stopped right after the line that was being drawn when it was cancelled.
    EXPECT_EQ(linesAfterCancel, 0);
    EXPECT_EQ(ReadPage(*pages[1]).JoinedTexts(), "l84");

    // Not complete: the next build starts again from the beginning.
    pages.clear();
    loader->OnProgress = nullptr;
    loader->BuildPages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(ReadPage(*pages[0]).JoinedTexts().startsWith("l1|"));
}

TEST(Loader, ASecondBuildHandsTheSamePagesAgain)
{
    Built b = Build(ThreePages());
    ASSERT_EQ(b.Pages.size(), 3u);
    Built again = Build(std::move(b.Loader));
    EXPECT_EQ(again.Pages, b.Pages);
    EXPECT_TRUE(again.Progress.empty()); // nothing was drawn again
}

TEST(Loader, ChangedStylesMakeTheNextBuildDrawAgain)
{
    Document doc = ThreePages();
    doc.Styles.push_back({.Name = "s"});
    Built b = Build(doc);
    b.Loader->Tekst().Styles().SetChanged();
    Built again = Build(std::move(b.Loader));
    EXPECT_EQ(again.Pages.size(), 3u);
    EXPECT_EQ(again.Progress.size(), 170u);
    EXPECT_FALSE(again.Loader->Tekst().Styles().AnyChanged());
}

TEST(Loader, ClearForgetsTheModelAndItsPages)
{
    struct Counting : TWydruk {
        int afterClear = 0;
        void AfterClear() override { ++afterClear; }
    } loader;
    QTemporaryDir dir;
    const QString path = dir.filePath("a.wyd");
    WriteWyd(path, ThreePages());
    loader.LoadFromFile(path);
    loader.BuildPages();
    ASSERT_EQ(loader.Tekst().Pages().FinishedPages.size(), 3u);
    loader.Clear();
    EXPECT_EQ(loader.afterClear, 1);
    EXPECT_TRUE(loader.Tekst().Pages().FinishedPages.empty());
    EXPECT_TRUE(loader.Tekst().Root().Items().empty());
    int delivered = 0;
    loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *) { ++delivered; };
    loader.BuildPages();
    EXPECT_EQ(delivered, 0);
}

TEST(Loader, PagesAreIndependentCopies)
{
    Built b = Build(ThreePages());
    ASSERT_EQ(b.Pages.size(), 3u);
    // A page kept by copy outlives the loader.
    const platform::PageMetafile kept = *b.Pages[2];
    b.Loader.reset();
    EXPECT_EQ(ReadPage(kept).Texts.front().Text, "l167");
    EXPECT_FALSE(kept.IsEmpty());
}
