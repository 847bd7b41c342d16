// Opening files for reading without waiting on special files, and saving whole or not at all.
#include "platform/base/NativePath.h"
#include "platform/base/SaveFile.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The message ENotARegularFile carries for path, or "opened"/"not opened".
QString OpenMessage(const QString &path)
{
    QFile file;
    try {
        return platform::OpenForReading(file, platform::NativePath(path)) ? "opened" : "not opened";
    } catch (const platform::ENotARegularFile &e) {
        return e.Message();
    }
}

} // namespace

TEST(OpenForReading, TellsTheKindWithoutWaiting)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath("a.wyd"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    // A pipe with a writer that never writes: reading it would wait for ever.
    const QString fifo = dir.filePath("potok.wyd");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const struct {
        QString path, expected;
    } rows[] = {
        {plain.fileName(), "opened"},
        {dir.path(), "not opened"}, // a folder is a file that cannot be opened, as before
        {dir.filePath("brak.wyd"), "not opened"},
        {fifo,
         QString::fromUtf8("Nie można odczytać pliku \"%1\": to nie jest zwykły plik, lecz potok nazwany.").arg(fifo)},
        {"/dev/null", QString::fromUtf8(
                          "Nie można odczytać pliku \"/dev/null\": to nie jest zwykły plik, lecz urządzenie znakowe.")},
    };
    for (const auto &row : rows)
        EXPECT_EQ(OpenMessage(row.path), row.expected) << row.path.toStdString();
    ::close(writer);
}

TEST(WriteAll, AFullDeviceFailsWithItsCause)
{
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        GTEST_SKIP() << "no /dev/full";
    errno = 0;
    EXPECT_FALSE(platform::WriteAll(fd, "abc", 3));
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
}

TEST(SaveFile, AFailedWriteLeavesTheOldFileAndNoOther)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("OUT.pdf");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stary");
    old.close();
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

    {
        const FileSizeLimit limit(4096);
        platform::SaveFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // Small writes, as a PDF writer makes them: the one that crosses the limit is cut short.
        const QByteArray chunk(1000, 'x');
        bool allWritten = true;
        for (int i = 0; i < 10; ++i)
            allWritten = file.write(chunk) == chunk.size() && allWritten;
        EXPECT_FALSE(allWritten);
        EXPECT_FALSE(file.commit());
        EXPECT_EQ(file.Cause(), QString::fromUtf8("plik jest zbyt duży"));
        EXPECT_EQ(file.ErrorText(), QString::fromUtf8("Nie można zapisać pliku %1: plik jest zbyt duży").arg(target));
    }
    EXPECT_EQ(Read(target), "stary");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"OUT.pdf"});

    // A save that succeeds replaces the file whole and keeps its rights.
    {
        platform::SaveFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write("nowy"), 4);
        EXPECT_TRUE(file.commit()) << file.Cause().toStdString();
    }
    EXPECT_EQ(Read(target), "nowy");
    EXPECT_EQ(QFile::permissions(target) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"OUT.pdf"});

    // Not committed: dropped.
    {
        platform::SaveFile file(dir.filePath("porzucony.pdf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"OUT.pdf"});
}

TEST(SaveFile, ALinkInPlaceOfTheFileStaysALink)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("raporty/OUT.pdf");
    ASSERT_TRUE(QDir(dir.path()).mkdir("raporty"));
    QFile old(real);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stary");
    old.close();
    const QString link = dir.filePath("OUT.pdf");
    ASSERT_TRUE(QFile::link("raporty/OUT.pdf", link));

    platform::SaveFile file(link);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write("nowy"), 4);
    EXPECT_TRUE(file.commit()) << file.Cause().toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(real), "nowy");
}

TEST(CreateUniqueFile, FreshNamesForTheOwnerOnly)
{
    QTemporaryDir dir;
    std::filesystem::path a, b;
    const int fa = platform::CreateUniqueFile(platform::NativePath(dir.path()), "WenogladRemove-", ".sh", a);
    const int fb = platform::CreateUniqueFile(platform::NativePath(dir.path()), "WenogladRemove-", ".sh", b);
    ASSERT_GE(fa, 0);
    ASSERT_GE(fb, 0);
    EXPECT_NE(a, b);
    struct stat st {};
    ASSERT_EQ(::fstat(fa, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(a.parent_path(), platform::NativePath(dir.path()));
    EXPECT_TRUE(a.filename().native().starts_with("WenogladRemove-"));
    EXPECT_TRUE(a.filename().native().ends_with(".sh"));
    ::close(fa);
    ::close(fb);
}
