// wenoglad-cli info on printouts the test writes: the JSON summary and the exit codes.
#include "tests/support/EmfBuilder.h"
#include "tests/support/WydWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace wydtest;

namespace {

struct CliRun {
    int code = -1;
    QByteArray out, err;
};

CliRun Cli(const QStringList &args, bool withDisplayUnset = true, const QString &outputFile = {})
{
    QProcess p;
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (withDisplayUnset) {
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    }
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli", args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

class CliInfo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR")); }
    QString Path(const char *name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

} // namespace

TEST_F(CliInfo, PrintsTheModelSummary)
{
    Document doc;
    doc.Version = 6;
    doc.Resolution = 600;
    doc.LineSpacing = 0.5f;
    doc.LinesPerPage = 72;
    // "Nagłówek" with a Windows-1250 ł; the Cyrillic style's alias is in Windows-1251.
    doc.Styles = {{.Color = 255,
                   .CharHeight = 4.5f,
                   .Columns = 90,
                   .CharWidth = 2.25f,
                   .FontStyle = 3,
                   .Charset = 238,
                   .FontName = "Arial",
                   .Name = "Nag\xB3\xF3wek",
                   .Alias = "H\"1"},
                  {.Charset = 204, .Name = "Ru", .Alias = "\xCF\xF0\xE8"}};
    const Line text{.Fields = {{.Text = "a"}, {.Text = "b"}}};
    Record item;
    item.Title.Lines = {text};
    item.Summary.Lines = {{.Fields = {{.Kind = 6, .Picture = EmfBuilder(0, 0, 10, 10, 1, 1).Finish()}}}};
    doc.Root.Items = {item, item};
    doc.Root.ColumnHeader.Lines = {text};
    WriteWyd(Path("a.wyd"), doc);

    const CliRun run = Cli({"info", Path("a.wyd")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(o.keys().size(), 9);
    EXPECT_TRUE(run.out.startsWith("{\n  \"version\": 6,\n  \"resolution\": 600,"))
        << "members in the documented order";
    EXPECT_EQ(o["version"].toInt(), 6);
    EXPECT_EQ(o["resolution"].toInt(), 600);
    EXPECT_EQ(o["lineSpacing"].toDouble(), 0.5);
    EXPECT_EQ(o["linesPerPage"].toInt(), 72);
    EXPECT_EQ(o["records"].toInt(), 3);
    EXPECT_EQ(o["lines"].toInt(), 4) << "two items of a title and a summary line each";
    EXPECT_EQ(o["fields"].toInt(), 8) << "column header fields count as fields";
    EXPECT_EQ(o["pictures"].toInt(), 2);

    const QJsonArray styles = o["styles"].toArray();
    ASSERT_EQ(styles.size(), 3);
    EXPECT_EQ(styles[0].toObject()["name"].toString(), "Domyslny");
    EXPECT_EQ(styles[0].toObject()["charHeight"].toDouble(), 3.5);
    EXPECT_EQ(styles[0].toObject()["charset"].toInt(), 186);
    const QJsonObject s1 = styles[1].toObject();
    EXPECT_EQ(s1["name"].toString(), QString::fromUtf8("Nagłówek"));
    EXPECT_EQ(s1["alias"].toString(), "H\"1");
    EXPECT_EQ(s1["fontName"].toString(), "Arial");
    EXPECT_EQ(s1["charHeight"].toDouble(), 4.5);
    EXPECT_EQ(s1["charWidth"].toDouble(), 2.25);
    EXPECT_EQ(s1["columns"].toInt(), 90);
    EXPECT_EQ(s1["fontStyle"].toInt(), 3);
    EXPECT_EQ(s1["color"].toInt(), 255);
    EXPECT_EQ(styles[2].toObject()["alias"].toString(), QString::fromUtf8("При"));
}

TEST_F(CliInfo, ExitCodes)
{
    Document doc;
    doc.Version = 8;
    WriteWyd(Path("v8.wyd"), doc);
    WriteBytes(Path("text.wyd"), "zwykły tekst, nie wydruk");

    const struct {
        const char *name;
        QStringList args;
        int code;
        QByteArray err;
    } rows[] = {
        {"unknown version",
         {"info", Path("v8.wyd")},
         1,
         "Nie można odczytać wydruku \"" + Path("v8.wyd").toUtf8() + "\":\nBłąd odczytu - nieznana wersja pliku [8]\n"},
        {"not a printout",
         {"info", Path("text.wyd")},
         1,
         "Nie można odczytać wydruku \"" + Path("text.wyd").toUtf8() +
             "\":\nPlik nie zawiera prawidłowego wydruku Wenora\n"},
        {"missing file",
         {"info", Path("brak.wyd")},
         2,
         "Nie można otworzyć pliku \"" + Path("brak.wyd").toUtf8() + "\": nie ma takiego pliku ani folderu\n"},
        {"a folder",
         {"info", dir_.path()},
         2,
         "Nie można otworzyć pliku \"" + dir_.path().toUtf8() + "\": to jest folder, nie plik\n"},
        {"no file named", {"info"}, 2, ""},
        {"unknown command", {"pokaz", Path("v8.wyd")}, 2, ""},
        {"nothing at all", {}, 2, ""},
    };
    for (const auto &row : rows) {
        const CliRun run = Cli(row.args);
        EXPECT_EQ(run.code, row.code) << row.name;
        EXPECT_TRUE(run.out.isEmpty()) << row.name;
        if (!row.err.isEmpty())
            EXPECT_EQ(run.err, row.err) << row.name;
        else
            EXPECT_TRUE(run.err.contains("Użycie: wenoglad-cli")) << row.name;
    }
}

TEST_F(CliInfo, HelpNamesTheCommands)
{
    const CliRun run = Cli({"--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.contains("info PLIK"));
    EXPECT_TRUE(run.out.contains("Kody wyjścia"));
}

// Output that never arrives (a full disk, here /dev/full) fails the command instead of exiting 0.
TEST_F(CliInfo, EveryCommandFailsWhenItsOutputCannotBeWritten)
{
    Document doc;
    doc.Root.Title.Lines = {{.Fields = {{.Text = "a"}}}};
    WriteWyd(Path("a.wyd"), doc);
    for (const QStringList &args :
         {QStringList{"info", Path("a.wyd")}, QStringList{"text", Path("a.wyd")}, QStringList{"--help"}}) {
        const CliRun run = Cli(args, true, "/dev/full");
        EXPECT_EQ(run.code, 2) << args.front().toStdString();
        EXPECT_TRUE(run.err.endsWith("Nie można zapisać na standardowe wyjście\n")) << run.err.toStdString();
    }
}
