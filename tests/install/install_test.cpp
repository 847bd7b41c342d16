#include "install/Instalacja.h"
#include "tests/support/FileTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

class Install : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    TInstallPaths paths;
    QStringList shown; // message titles
    bool confirm = true;
    TInstallDialogs dialogs{[this](const QString &title, const QString &) { shown << title; },
                            [this](const QString &title, const QString &) {
                                shown << title;
                                return confirm;
                            }};

    void SetUp() override
    {
        // A library folder whose name needs quoting in a shell and in a desktop entry.
        const QString root = tmp.path();
        paths.Library = root + QStringLiteral("/Wydruki $firmy \"Ala\"/");
        QDir().mkpath(paths.Library);
        paths.Program = paths.Library + QStringLiteral("wenoglad");
        paths.Cli = paths.Library + QStringLiteral("wenoglad-cli");
        paths.DataHome = root + QStringLiteral("/data");
        paths.UserConfig = root + QStringLiteral("/config/Wenoglad");
        paths.ConfigFile = paths.UserConfig + QStringLiteral("/Wenoglad.conf");
        paths.Desktop = root + QStringLiteral("/Pulpit");
        QDir().mkpath(paths.Desktop);
        paths.TempDir = root + QStringLiteral("/tmp");
        QDir().mkpath(paths.TempDir);
        paths.Passwd = root + QStringLiteral("/passwd");
        paths.MimeApps = root + QStringLiteral("/config/mimeapps.list");
        paths.RunTools = false;
    }
};

} // namespace

TEST_F(Install, WritesTheEntriesTheDesktopReads)
{
    Instaluj(paths, dialogs);
    EXPECT_TRUE(shown.isEmpty());
    const QString entry = QString::fromUtf8(Read(paths.DataHome + "/applications/wenoglad.desktop"));
    const QString exe = QStringLiteral("\"%1/Wydruki \\\\$firmy \\\\\"Ala\\\\\"/wenoglad\"").arg(tmp.path());
    for (const QString &line :
         {QStringLiteral("Name=Wenoglad - przeglądarka wydruków Wenora"),
          QStringLiteral("Exec=") + exe + QStringLiteral(" %f"),
          QStringLiteral("Exec=") + exe + QStringLiteral(" UNINST"),
          QStringLiteral("MimeType=application/x-wenor-wydruk;"), QStringLiteral("Icon=wenoglad")})
        EXPECT_TRUE(entry.split(u'\n').contains(line)) << line.toStdString() << "\n" << entry.toStdString();
    const QByteArray mime = Read(paths.DataHome + "/mime/packages/wenoglad.xml");
    for (const char *part : {"type=\"application/x-wenor-wydruk\"", "<comment>Wydruk z programu WENOR 2001</comment>",
                             "value=\"WENOR2001\"", "value=\"WENOR2000\"", "<glob pattern=\"*.wyd\"/>"})
        EXPECT_TRUE(mime.contains(part)) << part;
    EXPECT_TRUE(Read(paths.DataHome + "/thumbnailers/wenoglad.thumbnailer").contains(" thumbnail %i %o %s\n"));
    EXPECT_TRUE(Read(paths.DataHome + "/icons/hicolor/scalable/apps/wenoglad.svg").startsWith("<svg"));
    // The shortcut is the entry, runnable.
    const QString shortcut = paths.Desktop + "/wenoglad.desktop";
    EXPECT_EQ(Read(shortcut), entry.toUtf8());
    EXPECT_TRUE(QFileInfo(shortcut).isExecutable());
    EXPECT_EQ(QSettings(paths.ConfigFile, QSettings::IniFormat).value("Katalog").toString(), paths.Library);

    // A second install writes the same files.
    const auto first = FileTree(tmp.path());
    Instaluj(paths, dialogs);
    EXPECT_EQ(FileTree(tmp.path()), first);
}

TEST_F(Install, WithoutADesktopFolderThereIsNoShortcutAndNoMessage)
{
    QDir(paths.Desktop).removeRecursively();
    paths.Desktop.clear();
    Instaluj(paths, dialogs);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(paths.DataHome + "/applications/wenoglad.desktop"));
    for (const TInstalledFile &file : InstalledFiles(paths))
        EXPECT_FALSE(file.Path.startsWith(tmp.path() + "/Pulpit")) << file.Path.toStdString();
}

TEST_F(Install, UninstallRemovesWhatInstallMadeAndTheScriptTheRest)
{
    Instaluj(paths, dialogs);
    Touch(paths.Program);
    Touch(paths.Library + "faktura.wyd");
    Touch(paths.Library + "RAPORT.WYD");
    Touch(paths.Library + "Wenoglad.bak");
    Touch(paths.UserConfig + "/inne.conf");

    // A refused confirmation changes nothing.
    confirm = false;
    const auto before = FileTree(tmp.path());
    EXPECT_TRUE(Odinstaluj(paths, dialogs).isEmpty());
    EXPECT_EQ(FileTree(tmp.path()), before);
    EXPECT_EQ(shown, QStringList{"Odinstalowanie przeglądarki wydruków Wenora 2001"});

    confirm = true;
    const QString script = Odinstaluj(paths, dialogs);
    ASSERT_FALSE(script.isEmpty());
    for (const TInstalledFile &file : InstalledFiles(paths))
        EXPECT_FALSE(QFileInfo::exists(file.Path)) << file.Path.toStdString();
    EXPECT_FALSE(QFileInfo::exists(paths.UserConfig));

    // The script: the program and the printouts go, a folder holding another file stays.
    EXPECT_EQ(QProcess::execute("/bin/sh", {script}), 0);
    EXPECT_EQ(QDir(paths.Library).entryList(QDir::Files), QStringList{"Wenoglad.bak"});
    EXPECT_FALSE(QFileInfo::exists(script));

    // With nothing else left, the folder goes too.
    QFile::remove(paths.Library + "Wenoglad.bak");
    Touch(paths.Program);
    QFile::remove(paths.ConfigFile);
    EXPECT_EQ(QProcess::execute("/bin/sh", {Odinstaluj(paths, dialogs)}), 0);
    EXPECT_FALSE(QFileInfo::exists(paths.Library));
}

// The desktop's own tools read what a per-user install wrote.
TEST_F(Install, TheDesktopsToolsKnowThePrintoutType)
{
    for (const char *tool : {"xdg-mime", "update-mime-database", "desktop-file-validate", "gio"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    qputenv("XDG_DATA_HOME", paths.DataHome.toUtf8());
    qputenv("XDG_CONFIG_HOME", (tmp.path() + "/config").toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    paths.RunTools = true;
    Instaluj(paths, dialogs);
    auto run = [](const QString &program, const QStringList &args) {
        QProcess p;
        p.start(program, args);
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    };
    const QString printout = QStringLiteral(WENOGLAD_SOURCE_DIR "/examples/faktura-vat.wyd");
    EXPECT_EQ(run("xdg-mime", {"query", "filetype", printout}), "application/x-wenor-wydruk");
    EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-wenor-wydruk"}), "wenoglad.desktop");
    QProcess validate;
    validate.start("desktop-file-validate", {paths.DataHome + "/applications/wenoglad.desktop"});
    validate.waitForFinished();
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();

    // Uninstalled, the type has no default any more and the folders made for it are gone, the
    // databases the tools built in them included.
    ASSERT_FALSE(Odinstaluj(paths, dialogs).isEmpty());
    EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-wenor-wydruk"}), "");
    EXPECT_FALSE(QFileInfo::exists(paths.DataHome));
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP"})
        qunsetenv(name);
}

// The script used to be saved to a fixed name in the shared temporary folder through a save that
// follows links: a link planted there made the uninstall overwrite the file it points to.
TEST_F(Install, TheRemovalScriptNeverFollowsWhatOthersPutInTheTemporaryFolder)
{
    Instaluj(paths, dialogs);
    const QString victim = tmp.path() + "/cudzy.txt";
    Touch(victim);
    for (const char *name : {"WenogladRemove.sh", "WenogladRemove-XXXXXX.sh"})
        ASSERT_TRUE(QFile::link(victim, paths.TempDir + "/" + name));

    const QString script = Odinstaluj(paths, dialogs);
    ASSERT_FALSE(script.isEmpty());
    EXPECT_EQ(Read(victim), "x");
    EXPECT_EQ(QFileInfo(script).absolutePath(), QFileInfo(paths.TempDir).absoluteFilePath());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(script).constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u) << "readable and runnable by its owner only";
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_TRUE(Read(script).contains("rm -f '" + QFile::encodeName(script) + "'"));
    // A second uninstall gets a name of its own.
    const QString second = Odinstaluj(paths, dialogs);
    EXPECT_NE(second, script);
    EXPECT_TRUE(QFileInfo::exists(script));
}

// After install and uninstall the association stayed in mimeapps.list, naming an entry that was
// gone, and the folders the install had made stayed behind empty.
TEST_F(Install, UninstallLeavesNoTrace)
{
    // Folders that were there before the install stay, even empty.
    QDir().mkpath(paths.DataHome + "/icons");
    QDir().mkpath(tmp.path() + "/config");
    const QByteArray others = "[Default Applications]\n"
                              "text/plain=gedit.desktop;\n";
    const struct {
        const char *name;
        QByteArray before, after;
    } rows[] = {
        // What xdg-mime default writes for a per-user install.
        {"ours", others + "application/x-wenor-wydruk=wenoglad.desktop;\n", others},
        {"ours first of two", others + "application/x-wenor-wydruk=wenoglad.desktop;okular.desktop;\n",
         others + "application/x-wenor-wydruk=okular.desktop;\n"},
        // Chosen by the user since: left alone.
        {"another program", others + "application/x-wenor-wydruk=okular.desktop;wenoglad.desktop;\n",
         others + "application/x-wenor-wydruk=okular.desktop;wenoglad.desktop;\n"},
        {"in another group", "[Added Associations]\napplication/x-wenor-wydruk=wenoglad.desktop;\n",
         "[Added Associations]\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Instaluj(paths, dialogs);
        QFile mimeApps(paths.MimeApps);
        ASSERT_TRUE(mimeApps.open(QIODevice::WriteOnly));
        mimeApps.write(row.before);
        mimeApps.close();
        ASSERT_FALSE(Odinstaluj(paths, dialogs).isEmpty());
        EXPECT_EQ(Read(paths.MimeApps), row.after);
        // Nothing left of the install but the folders that were there and the removal scripts.
        QStringList left;
        QDirIterator it(tmp.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(tmp.path().size() + 1);
            if (!path.startsWith("tmp") && !path.startsWith("Wydruki") && !path.startsWith("Pulpit"))
                left << path;
        }
        left.sort();
        EXPECT_EQ(left, QStringList({"config", "config/mimeapps.list", "data", "data/icons"}))
            << left.join(' ').toStdString();
    }
}
