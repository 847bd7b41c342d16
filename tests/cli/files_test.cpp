// wenoglad-cli on files that are not regular files, and exports onto a disk that fills up.
#include "tests/support/PeWriter.h"
#include "tests/support/WydWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

struct CliRun {
    bool finished = false;
    int code = -1;
    QByteArray out, err;
};

// A command that does not end within the time counts as hanging: it is killed and the test fails
// instead of waiting for ever. prefix runs the command through another program (unshare).
CliRun RunCli(const QStringList &args, int timeoutMs = 20000, const QStringList &prefix = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    static const QTemporaryDir runtime;
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    p.setProcessEnvironment(env);
    const QString cli = qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli";
    if (prefix.isEmpty())
        p.start(cli, args);
    else
        p.start(prefix.front(), prefix.mid(1) + QStringList{cli} + args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {true, p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// Every command that reads a file used to wait for ever on a named pipe called *.wyd; each now
// refuses it at once, naming the file, with exit code 1. (print reads the file as text and pdf do,
// once its queue is found; this machine has none.)
TEST(CliSpecialFiles, APipeIsRefusedWithoutWaiting)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR"));
    QTemporaryDir dir;
    const QString fifo = dir.filePath("potok.wyd");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString out = dir.filePath("out");
    const QList<QStringList> commands = {
        {"text", fifo},
        {"info", fifo},
        {"find", fifo, "x"},
        {"paczka", fifo},
        {"paczka", fifo, "-o", out},
        {"wersja", fifo},
        {"pdf", fifo, "-o", out + ".pdf"},
        {"png", fifo, "-o", out},
        {"thumbnail", fifo, out + ".png", "64"},
    };
    for (const QStringList &args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun run = RunCli(args, 10000);
        ASSERT_TRUE(run.finished) << "the command waits on the pipe";
        EXPECT_EQ(run.code, 1) << run.err.toStdString();
        const QString err = QString::fromUtf8(run.err);
        EXPECT_TRUE(err.contains(fifo) && err.contains(QString::fromUtf8("nie jest zwykły plik, lecz potok nazwany")))
            << run.err.toStdString();
    }
    // A device is refused the same way.
    const CliRun device = RunCli({"text", "/dev/zero"}, 10000);
    ASSERT_TRUE(device.finished);
    EXPECT_EQ(device.code, 1);
    EXPECT_TRUE(QString::fromUtf8(device.err).contains(QString::fromUtf8("urządzenie znakowe")))
        << device.err.toStdString();
}

// Exports onto a disk that fills up used to exit 0, leaving a PDF without its end in place of the
// good old one. Two ways to fill up: a private tmpfs of 64 KiB (where it can be mounted), and a
// limit on the size of a file the command may write (ulimit -f), which cuts a write short as a
// disk does. The exports fail with exit code 2 and a Polish message naming the file and the cause;
// the old file stays as it was and no other file is left.
TEST(CliFullDisk, FailedExportsLeaveTheOldFiles)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR"));
    QTemporaryDir dir;
    const QString disk = dir.filePath("disk");
    QDir().mkpath(disk);

    // Many pages of text in an embedded font: far more than 64 KiB of PDF and of PNG.
    wydtest::Document doc;
    for (int i = 0; i < 240; ++i) {
        wydtest::Record item;
        item.BreakBefore = 1;
        for (int j = 0; j < 40; ++j)
            item.Title.Lines.push_back({.Fields = {{.X = 100,
                                                    .Width = 9000,
                                                    .StyleName = "Domyslny",
                                                    .Text = "Wiersz " + QByteArray::number(i * 40 + j) +
                                                            " zawiera ABCDEFGHIJKLMNOPQRSTUVWXYZ"}}});
        doc.Root.Items.push_back(item);
    }
    const QString wyd = dir.filePath("duzy.wyd");
    wydtest::WriteWyd(wyd, doc);
    const QString pe = dir.filePath("paczka.exe");
    Write(pe, petest::Package(petest::PackageRecord("Duzy", 0, QByteArray(200 * 1024, 'x'))));

    // $0 the folder, $1 the old file, $2 the command: the old file is put in place, the command
    // runs, and the folder's listing and the old file's bytes are printed back for the checks.
    const QString run = QStringLiteral("printf stary > \"$1\" && \"$2\" \"${@:3}\"; code=$?; ls -A \"$0\"; cat \"$1\"; "
                                       "exit $code");
    const struct {
        const char *name;
        QStringList program;
        QString cause;
    } disks[] = {
        // The mount lives in a namespace of the command's own and goes with it.
        {"tmpfs",
         {"unshare", "-rm", "bash", "-c", "mount -t tmpfs -o size=64k tmpfs \"$0\" && " + run},
         QString::fromUtf8("brak miejsca na dysku")},
        {"ulimit", {"bash", "-c", "trap '' XFSZ; ulimit -f 64; " + run}, QString::fromUtf8("plik jest zbyt duży")},
    };
    const struct {
        const char *name;
        QStringList args;
        QString target; // the file whose old content must stay
    } rows[] = {
        {"pdf", {"pdf", wyd, "-o", disk + "/OUT.pdf"}, disk + "/OUT.pdf"},
        {"pdf --tryb", {"pdf", wyd, "-o", disk + "/OUT.pdf", "--tryb", "zmniejszone"}, disk + "/OUT.pdf"},
        {"png", {"png", wyd, "-o", disk, "--dpi", "300"}, disk + "/1.png"},
        {"paczka -o", {"paczka", pe, "-o", disk}, disk + "/inny.txt"},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // Qt's PNG writer leaks its row buffer when a write fails, which is none of ours to report.
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    for (const auto &way : disks) {
        if (way.program.front() == "unshare") {
            QProcess probe;
            probe.start("unshare", {"-rm", "sh", "-c", "mount -t tmpfs -o size=64k tmpfs \"$0\"", disk});
            if (!probe.waitForFinished(20000) || probe.exitCode() != 0) {
                std::printf("skipped: a small file system cannot be mounted here\n");
                continue;
            }
        }
        for (const auto &row : rows) {
            SCOPED_TRACE(std::string(way.name) + ": " + row.name);
            QDir(disk).removeRecursively();
            QDir().mkpath(disk);
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(way.program.front(),
                    way.program.mid(1) +
                        QStringList{disk, row.target, qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli"} +
                        row.args);
            ASSERT_TRUE(p.waitForFinished(60000));
            const QString err = QString::fromUtf8(p.readAllStandardError());
            const QString out = QString::fromUtf8(p.readAllStandardOutput());
            EXPECT_EQ(p.exitCode(), 2) << err.toStdString();
            EXPECT_TRUE(err.contains(row.target) || err.contains(disk)) << err.toStdString();
            EXPECT_TRUE(err.contains(way.cause)) << err.toStdString();
            EXPECT_EQ(out, QFileInfo(row.target).fileName() + "\nstary") << out.toStdString();
        }
    }
}
