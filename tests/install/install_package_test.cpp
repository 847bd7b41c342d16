// INST and UNINST in a program folder that the system's package installed change nothing and say
// so; in any other folder they run as before.
#include "install/Instalacja.h"
#include "install/InstalacjaPakietu.h"
#include "tests/support/FileTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

namespace {

void Write(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

TEST(PackagedFolder, IsTheOneTheMarkerNames)
{
    QTemporaryDir tmp;
    const QString root = tmp.path();
    const QString folder = root + "/opt/wenoglad/";
    QDir().mkpath(folder);
    QDir().mkpath(root + "/other");
    QFile::link(root + "/opt/wenoglad", root + "/link");
    const QString marker = root + "/pakiet";
    const QByteArray path = QFile::encodeName(folder);
    const struct {
        const char *name;
        QByteArray marker; // "-" leaves the marker out
        bool packaged;
    } rows[] = {
        {"no marker (an install from a folder of one's own)", "-", false},
        {"an empty marker", "", false},
        {"another folder", QFile::encodeName(root + "/other/\n"), false},
        {"the folder", path + "\n", true},
        {"the folder without its slash or line end", path.chopped(1), true},
        {"the folder through a link", QFile::encodeName(root + "/link\n"), true},
        {"the folder on a later line", "/nie/ma/takiego\n\n" + path + "\n", true},
        {"a parent of the folder", QFile::encodeName(root + "/opt\n"), false},
    };
    for (const auto &row : rows) {
        QFile::remove(marker);
        if (row.marker != "-")
            Write(marker, row.marker);
        EXPECT_EQ(KatalogZPakietu(folder, marker), row.packaged) << row.name;
    }
    // A FIFO in the marker's place is not read (reading it would block).
    QFile::remove(marker);
    ASSERT_EQ(mkfifo(QFile::encodeName(marker).constData(), 0600), 0);
    EXPECT_FALSE(KatalogZPakietu(folder, marker));
}

TEST(PackagedFolder, InstallAndUninstallChangeNothingThereAndRunElsewhere)
{
    for (const bool packaged : {true, false}) {
        for (const bool install : {true, false}) {
            SCOPED_TRACE(std::string(packaged ? "packaged " : "own folder ") + (install ? "INST" : "UNINST"));
            QTemporaryDir tmp;
            const QString root = tmp.path();
            TInstallPaths paths;
            paths.Library = root + "/opt/wenoglad/";
            QDir().mkpath(paths.Library);
            paths.Program = paths.Library + "wenoglad";
            paths.Cli = paths.Library + "wenoglad-cli";
            paths.DataHome = root + "/share";
            paths.UserConfig = root + "/config/Wenoglad";
            paths.ConfigFile = paths.UserConfig + "/Wenoglad.conf";
            paths.TempDir = root + "/tmp";
            QDir().mkpath(paths.TempDir);
            paths.Passwd = root + "/passwd";
            paths.RunTools = false;
            paths.PackageMarker = root + "/pakiet";
            Write(paths.PackageMarker, QFile::encodeName(packaged ? paths.Library : root + "/elsewhere/"));
            Write(paths.Library + "faktura.wyd", "WENOR2001");
            if (!install) {
                // What a package or an earlier INST left: the uninstall would remove it.
                QDir().mkpath(paths.DataHome + "/applications");
                Write(paths.DataHome + "/applications/wenoglad.desktop", "[Desktop Entry]\n");
            }
            QStringList titles, texts;
            const TInstallDialogs dialogs{[&](const QString &title, const QString &) { titles << "blad:" + title; },
                                          [&](const QString &title, const QString &) {
                                              titles << "tak:" + title;
                                              return true;
                                          },
                                          [&](const QString &title, const QString &text) {
                                              titles << "info:" + title;
                                              texts << text;
                                          }};
            const auto before = FileTree(root);
            QString script;
            if (install)
                Instaluj(paths, dialogs);
            else
                script = Odinstaluj(paths, dialogs);
            if (packaged) {
                EXPECT_EQ(FileTree(root), before);
                EXPECT_TRUE(script.isEmpty());
                ASSERT_EQ(titles.size(), 1);
                EXPECT_TRUE(titles[0].startsWith("info:"));
                EXPECT_TRUE(
                    texts[0].contains(install ? "jest już zainstalowany z pakietu" : "sudo apt remove wenoglad"))
                    << texts[0].toStdString();
            } else {
                EXPECT_NE(FileTree(root), before);
                EXPECT_FALSE(titles.join(' ').contains("info:"));
                EXPECT_EQ(QFileInfo::exists(paths.DataHome + "/applications/wenoglad.desktop"), install);
                EXPECT_EQ(script.isEmpty(), install);
            }
        }
    }
}
