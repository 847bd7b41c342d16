// wenoglad-cli text, pdf and png on printouts the tests write, checked with poppler's tools.
#include "tests/support/EmfBuilder.h"
#include "tests/support/ListingPrintout.h"
#include "tests/support/WydWriter.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace wydtest;

namespace {

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result Tool(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    // Without a runtime folder Qt warns on standard error, which the tests read.
    static const QTemporaryDir runtime;
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

Result Cli(const QStringList &args)
{
    return Tool(qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli", args);
}

Line TextLine(const QByteArray &text, qint32 x = 1200, const QByteArray &style = "Domyslny")
{
    return {.Fields = {{.X = x, .Width = 6000, .StyleName = style, .Text = text}}};
}

// Three pages: every item starts a page of its own; the middle one is red.
Document ThreePages()
{
    Document doc;
    doc.Styles = {{.Color = 255, .CharHeight = 8, .FontName = "Arial", .Name = "Czerwony"}};
    const QByteArray texts[3] = {"Pierwsza strona", "Druga strona", "Trzecia strona"};
    for (int i = 0; i < 3; ++i) {
        Record item;
        item.BreakBefore = 1;
        item.Title.Lines = {TextLine(texts[i], 1200, i == 1 ? "Czerwony" : "Domyslny"),
                            TextLine("Wiersz " + QByteArray::number(i + 1) + " \xBF\xF3\xB3w")}; // żółw
        doc.Root.Items.push_back(item);
    }
    return doc;
}

class CliExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR"));
        WriteWyd(Path("three.wyd"), ThreePages());
    }
    QString Path(const QString &name) const { return dir_.filePath(name); }
    QString PdfText(const QString &pdf, int page, bool layout = false)
    {
        QStringList args = {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"};
        if (layout)
            args.prepend("-bbox");
        return QString::fromUtf8(Tool("pdftotext", args).out);
    }
    QTemporaryDir dir_;
};

// Left edge in points of the first word `word` in a pdftotext -bbox page.
double WordLeft(const QString &bbox, const QString &word)
{
    const QRegularExpression re("<word xMin=\"([0-9.]+)\"[^>]*>" + QRegularExpression::escape(word) + "</word>");
    const QRegularExpressionMatch m = re.match(bbox);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

int CountPixels(const QImage &img, const std::function<bool(QColor)> &test)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += test(img.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool Reddish(QColor c)
{
    return c.red() > 150 && c.green() < 100 && c.blue() < 100;
}

} // namespace

TEST_F(CliExport, PdfHasOneA4PagePerPageWithItsTexts)
{
    const Result run = Cli({"pdf", Path("three.wyd"), "-o", Path("out.pdf")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QString info = QString::fromUtf8(Tool("pdfinfo", {Path("out.pdf")}).out);
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("595.276 x 841.89 pts (A4)")) << info.toStdString();

    const char *expected[3] = {"Pierwsza strona", "Druga strona", "Trzecia strona"};
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const QString text = PdfText(Path("out.pdf"), page);
        for (int other = 1; other <= 3; ++other)
            EXPECT_EQ(text.contains(expected[other - 1]), other == page) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("Wiersz %1 żółw").arg(page))) << text.toStdString();
    }
    const QString fonts = QString::fromUtf8(Tool("pdffonts", {Path("out.pdf")}).out);
    EXPECT_TRUE(fonts.contains("CID TrueType")) << fonts.toStdString();
    EXPECT_FALSE(fonts.contains(" no ")) << "every font embedded, subset, with a Unicode map\n" << fonts.toStdString();
}

// Regression: text so large that the font engine stands in a box engine for its face crashed the
// PDF writer, which asked that engine for its family. Such text is written as outlines.
TEST_F(CliExport, PdfOfTextTooLargeForTheFontEngine)
{
    Document doc;
    doc.Styles = {{.CharHeight = 1e30f, .Name = "wielki"}};
    doc.Root.Title.Lines = {{.Fields = {{.X = 600, .Width = 8000, .StyleName = "wielki", .Text = "Wenor"}}},
                            {.Fields = {{.X = 600, .Width = 8000, .Text = "po nim"}}}};
    WriteWyd(Path("wielki.wyd"), doc);
    const Result run = Cli({"pdf", Path("wielki.wyd"), "-o", Path("wielki.pdf")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(Tool("pdftotext", {Path("wielki.pdf"), "-"}).out).contains("po nim"));
}

TEST_F(CliExport, PdfMarginsPlaceThePage)
{
    // A field at X 1200 at resolution 1200 starts 180 units from the page's left edge, of 1429 units
    // that are stretched across the sheet's width less the margins.
    const struct {
        const char *margins;
        double left; // points
    } rows[] = {
        {"0,0,0,0", 180.0 / 1429 * 595.276},
        {"10,15,10,25", 10 * 72 / 25.4 + 180.0 / 1429 * 190 * 72 / 25.4}, // the default
        {"40.5,0,0,0", 40.5 * 72 / 25.4 + 180.0 / 1429 * 169.5 * 72 / 25.4},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.margins);
        QStringList args = {"pdf", Path("three.wyd"), "-o", Path("m.pdf")};
        if (row.margins != std::string("10,15,10,25"))
            args << "--margins" << row.margins;
        ASSERT_EQ(Cli(args).code, 0);
        EXPECT_NEAR(WordLeft(PdfText(Path("m.pdf"), 1, true), "Pierwsza"), row.left, 1.0);
    }
}

TEST_F(CliExport, MonoMakesColouredTextBlack)
{
    ASSERT_EQ(Cli({"pdf", Path("three.wyd"), "-o", Path("colour.pdf")}).code, 0);
    ASSERT_EQ(Cli({"pdf", Path("three.wyd"), "-o", Path("mono.pdf"), "--mono"}).code, 0);
    for (const char *name : {"colour", "mono"}) {
        Tool("pdftoppm",
             {"-r", "100", "-f", "2", "-l", "2", "-singlefile", "-png", Path(QString(name) + ".pdf"), Path(name)});
    }
    const QImage colour(Path("colour.png")), mono(Path("mono.png"));
    ASSERT_FALSE(colour.isNull());
    ASSERT_FALSE(mono.isNull());
    EXPECT_GT(CountPixels(colour, Reddish), 20) << "the red heading of page 2";
    EXPECT_EQ(CountPixels(mono, Reddish), 0);
    EXPECT_GT(CountPixels(mono, [](QColor c) { return c.lightness() < 60; }), 20);
    // Monochrome changes colours only: the text is all there.
    EXPECT_TRUE(PdfText(Path("mono.pdf"), 2).contains("Druga strona"));
}

TEST_F(CliExport, PngOnePerChosenPageAtTheResolution)
{
    const struct {
        const char *name;
        QStringList extra;
        QStringList files;
        QSize size;
    } rows[] = {
        // 210 x 294 mm at 96 dpi: 793.7 x 1111.2 pixels.
        {"default", {}, {"1.png", "2.png", "3.png"}, {794, 1111}},
        // At 50 dpi 413.39 x 578.74.
        {"dpi and pages", {"--dpi", "50", "--pages", "3, 1"}, {"1.png", "3.png"}, {413, 579}},
        {"range", {"--pages=2-3"}, {"2.png", "3.png"}, {794, 1111}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString out = Path(QString("png-") + row.name);
        const Result run = Cli(QStringList{"png", Path("three.wyd"), "-o", out} + row.extra);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), row.files);
        const QImage first(QDir(out).filePath(row.files.front()));
        EXPECT_EQ(first.size(), row.size);
        EXPECT_EQ(first.pixelColor(2, 2), QColor(Qt::white));
        EXPECT_GT(CountPixels(first, [](QColor c) { return c.lightness() < 128; }), 50) << "text drawn";
    }
}

TEST_F(CliExport, TextSeparatesPagesWithFormFeeds)
{
    const Result run = Cli({"text", Path("three.wyd")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QStringList pages = QString::fromUtf8(run.out).split(u'\f');
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].toStdString(), "Pierwsza strona\nWiersz 1 żółw\n");
    EXPECT_EQ(pages[1].toStdString(), "Druga strona\nWiersz 2 żółw\n");
    EXPECT_EQ(pages[2].toStdString(), "Trzecia strona\nWiersz 3 żółw\n");
    EXPECT_TRUE(run.err.isEmpty()) << "a short printout shows no progress: " << run.err.toStdString();
}

TEST_F(CliExport, TextReadsFieldsOfALineLeftToRight)
{
    Document doc;
    // Fields written right to left still read left to right; far apart they are separated by a blank.
    doc.Root.Title.Lines = {{.Fields = {{.X = 6000, .Width = 1500, .Text = "prawy"},
                                        {.X = 600, .Width = 1500, .Text = "lewy"},
                                        {.X = 3000, .Width = 1500, .Text = "środek"}}}};
    doc.Root.Title.Lines[0].Fields[2].Text = "\x9Crodek"; // środek in Windows-1250
    WriteWyd(Path("fields.wyd"), doc);
    const Result run = Cli({"text", Path("fields.wyd")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "lewy środek prawy\n");
}

TEST_F(CliExport, LongPrintoutsShowProgress)
{
    Document doc;
    for (int i = 0; i < 3000; ++i)
        doc.Root.Title.Lines.push_back(TextLine("Wiersz " + QByteArray::number(i)));
    WriteWyd(Path("long.wyd"), doc);
    const Result run = Cli({"text", Path("long.wyd")});
    ASSERT_EQ(run.code, 0);
    // Not a terminal: one line at every tenth percent.
    const QString err = QString::fromUtf8(run.err);
    EXPECT_TRUE(err.contains("Tworzenie stron... 0%\n")) << err.toStdString();
    EXPECT_TRUE(err.contains("Tworzenie stron... 50%\n")) << err.toStdString();
    EXPECT_TRUE(err.endsWith("Tworzenie stron... 100%\n")) << err.toStdString();
    EXPECT_FALSE(err.contains("37%"));
    // Pages are taken in batches on another thread: every one comes, in its place.
    const QStringList pages = QString::fromUtf8(run.out).split(u'\f');
    EXPECT_GT(pages.size(), 32) << "3000 lines at about 84 a page";
    int next = 0;
    for (const QString &page : pages) {
        ASSERT_TRUE(page.endsWith(u'\n'));
        for (const QStringView line : QStringView(page).chopped(1).split(u'\n'))
            ASSERT_EQ(line.toString().toStdString(), "Wiersz " + std::to_string(next++));
    }
    EXPECT_EQ(next, 3000);
}

TEST_F(CliExport, ErrorsAndExitCodes)
{
    WriteBytes(Path("text.wyd"), "zwykły tekst, nie wydruk");
    WriteWyd(Path("empty.wyd"), Document{});
    const QString three = Path("three.wyd");
    const struct {
        const char *name;
        QStringList args;
        int code;
        QString err; // the start of standard error
    } rows[] = {
        {"missing file", {"text", Path("brak.wyd")}, 2, "Nie można otworzyć pliku \"" + Path("brak.wyd") + "\": "},
        {"missing file, pdf", {"pdf", Path("brak.wyd"), "-o", Path("x.pdf")}, 2, "Nie można otworzyć pliku "},
        {"not a printout",
         {"pdf", Path("text.wyd"), "-o", Path("x.pdf")},
         1,
         "Nie można odczytać wydruku \"" + Path("text.wyd") + "\":\nPlik nie zawiera prawidłowego wydruku Wenora\n"},
        {"not a printout, png",
         {"png", Path("text.wyd"), "-o", Path("p")},
         1,
         "Nie można odczytać wydruku \"" + Path("text.wyd") + "\":\nPlik nie zawiera prawidłowego wydruku Wenora\n"},
        // No lines make no pages, and a PDF without pages is no document.
        {"no pages",
         {"pdf", Path("empty.wyd"), "-o", Path("x.pdf")},
         1,
         QString::fromUtf8("Wydruk nie zawiera żadnej strony\n")},
        {"three margins",
         {"pdf", three, "-o", Path("x.pdf"), "--margins", "1,2,3"},
         2,
         QString::fromUtf8("wenoglad-cli pdf: Nieprawidłowe marginesy \"1,2,3\"")},
        {"negative margin",
         {"pdf", three, "-o", Path("x.pdf"), "--margins", "10,-1,10,10"},
         2,
         QString::fromUtf8("wenoglad-cli pdf: Nieprawidłowe marginesy")},
        {"margins leave no page",
         {"pdf", three, "-o", Path("x.pdf"), "--margins", "100,0,110,0"},
         2,
         QString::fromUtf8("wenoglad-cli pdf: Marginesy \"100,0,110,0\" nie zostawiają miejsca")},
        {"no output", {"pdf", three}, 2, QString::fromUtf8("wenoglad-cli pdf: Nie podano, gdzie zapisać wynik (-o)")},
        {"option value missing",
         {"pdf", three, "-o"},
         2,
         QString::fromUtf8("wenoglad-cli pdf: Brak wartości opcji -o")},
        {"option of another command",
         {"pdf", three, "-o", Path("x.pdf"), "--dpi", "90"},
         2,
         QString::fromUtf8("wenoglad-cli pdf: Nieznana opcja \"--dpi\"")},
        {"unwritable pdf",
         {"pdf", three, "-o", Path("brak/x.pdf")},
         2,
         QString::fromUtf8("Nie można zapisać pliku ") + Path("brak/x.pdf")},
        {"dpi zero",
         {"png", three, "-o", Path("p"), "--dpi", "0"},
         2,
         QString::fromUtf8("wenoglad-cli png: Nieprawidłowa rozdzielczość \"0\"")},
        {"no file", {"text"}, 2, QString::fromUtf8("wenoglad-cli text: Nie podano pliku wydruku")},
        {"two files", {"text", three, three}, 2, QString::fromUtf8("wenoglad-cli text: Podano więcej niż jeden")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Result run = Cli(row.args);
        EXPECT_EQ(run.code, row.code);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(QString::fromUtf8(run.err).startsWith(row.err)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("x.pdf"))) << "no PDF left behind by a failed export";
}

TEST_F(CliExport, PageSetsAreCheckedWithPolishMessages)
{
    const struct {
        const char *set;
        QString err; // empty: accepted
        QStringList files;
    } rows[] = {
        {"3-", "", {"3.png"}},
        {"2,", "", {"2.png"}},
        {"3,-5", "", {"3.png"}}, // a lone "-5" at the end names nothing
        {"4", QString::fromUtf8("Podany numer strony (4)\nprzekracza ilość dostepnych stron !"), {}},
        {"2-5", QString::fromUtf8("Podany numer strony (4)\nprzekracza ilość dostepnych stron !"), {}},
        {"0", QString::fromUtf8("Podany numer strony (0) jest za mały !"), {}},
        {"1,1", QString::fromUtf8("Strona 1 jest podana kilka razy !"), {}},
        {"3-1", QString::fromUtf8("Podany zakres stron (3-1) jest nieprawidłowy !"), {}},
        {"  ", QString::fromUtf8("Nie podano zestawu stron !"), {}},
        {"abc", QString::fromUtf8("Podane numery stron (abc)\nsą nieprawidłowe !"), {}},
        {",2", "'' nie jest prawidłową liczbą całkowitą", {}},
        {"99999999999", "'99999999999' nie jest prawidłową liczbą całkowitą", {}},
        {"1,2-9", QString::fromUtf8("Podany numer strony (4)\nprzekracza ilość dostepnych stron !"), {}},
        {"3,1-5", QString::fromUtf8("Strona 3 jest podana kilka razy !"), {}},
        {"1-2,2-3", QString::fromUtf8("Strona 2 jest podana kilka razy !"), {}},
        {"2-3,1", "", {"1.png", "2.png", "3.png"}},
    };
    int n = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.set);
        const QString out = Path("set" + QString::number(n++));
        const Result run = Cli({"png", Path("three.wyd"), "-o", out, "--dpi", "10", "--pages", row.set});
        if (row.err.isEmpty()) {
            EXPECT_EQ(run.code, 0) << run.err.toStdString();
            EXPECT_EQ(QDir(out).entryList(QDir::Files), row.files);
        } else {
            EXPECT_EQ(run.code, 2);
            EXPECT_EQ(run.err.toStdString(), ("wenoglad-cli png: " + row.err + "\n").toStdString());
            EXPECT_FALSE(QDir(out).exists());
        }
    }
}

// Runs the command line in a shell that first applies `limits` (ulimit arguments), with the
// file-size signal ignored so that a write past the limit fails instead of killing the process.
// Qt's PNG writer leaks its row buffer when a write fails, which is none of ours to report.
Result LimitedCli(const QString &limits, const QStringList &args)
{
    return Tool("bash", QStringList{"-c",
                                    "trap '' XFSZ; export ASAN_OPTIONS=detect_leaks=0; ulimit " + limits +
                                        " && exec \"$0\" \"$@\"",
                                    qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli"} +
                            args);
}

// A page set of a billion pages was expanded before the printout was read: gigabytes, then an
// uncaught std::bad_alloc under a memory limit.
TEST_F(CliExport, HugePageSetIsReadAgainstThePageCount)
{
#if defined(__SANITIZE_ADDRESS__)
    const QString limit = "-c 0"; // the sanitizer reserves terabytes of address space
#else
    const QString limit = "-v 1500000";
#endif
    const Result run =
        LimitedCli(limit, {"png", Path("three.wyd"), "-o", Path("big"), "--dpi", "10", "--pages", "1-999999999"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(QString::fromUtf8(run.err),
              QString::fromUtf8("wenoglad-cli png: Podany numer strony (4)\nprzekracza ilość dostepnych stron !\n"));
}

// A page that cannot be written (the disk full, here a file-size limit) must not truncate the
// complete file of an earlier run, and the message names the page.
TEST_F(CliExport, PngThatCannotBeWrittenLeavesCompleteFiles)
{
    const QString out = Path("png");
    ASSERT_EQ(Cli({"png", Path("three.wyd"), "-o", out, "--pages", "1"}).code, 0);
    QFile first(out + "/1.png");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray good = first.readAll();
    first.close();
    const Result run = LimitedCli("-f 4", {"png", Path("three.wyd"), "-o", out, "--dpi", "300"});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8("Nie można zapisać strony 1 ")))
        << run.err.toStdString();
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), good);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"1.png"});
}

// Pages are encoded, and PDF streams packed, on every core: the files must be those of one core,
// byte for byte.
TEST_F(CliExport, ExportsAreTheSameOnOneCoreAndOnAll)
{
    WriteListingPrintout(Path("listing.wyd"), false, 12);
    const auto onOneCore = [&](const QStringList &args) {
        return Tool("taskset",
                    QStringList{"-c", "0", qEnvironmentVariable("WENOGLAD_BIN_DIR") + "/cli/wenoglad-cli"} + args);
    };
    const QStringList args = {"png", Path("listing.wyd"), "--dpi", "60", "--pages", "8,2-7,1"};
    const Result one = onOneCore(args + QStringList{"-o", Path("one")});
    ASSERT_EQ(one.code, 0) << one.err.toStdString();
    const Result all = Cli(args + QStringList{"-o", Path("all")});
    ASSERT_EQ(all.code, 0) << all.err.toStdString();
    QStringList files = QDir(Path("one")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 8);
    EXPECT_EQ(QDir(Path("all")).entryList(QDir::Files, QDir::Name), files);

    for (const QStringList &pdf : {QStringList{"pdf", Path("listing.wyd")},
                                   QStringList{"pdf", Path("listing.wyd"), "--tryb", "ksiazeczka", "--mono"}}) {
        const QString name = QString::number(files.size()) + ".pdf";
        ASSERT_EQ(onOneCore(pdf + QStringList{"-o", QDir(Path("one")).filePath(name)}).code, 0);
        ASSERT_EQ(Cli(pdf + QStringList{"-o", QDir(Path("all")).filePath(name)}).code, 0);
        files.append(name);
    }
    for (const QString &name : files) {
        QFile a(QDir(Path("one")).filePath(name)), b(QDir(Path("all")).filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
    }
}

// The first page that cannot be written is the one reported, and none after it is written, though
// later pages may be encoded by then.
TEST_F(CliExport, PngStopsAtTheFirstPageThatCannotBeWritten)
{
    Document doc;
    for (int page = 0; page < 4; ++page) {
        Record item;
        item.BreakBefore = 1;
        // The second page is full of text, the others hold a word: a file-size limit only it exceeds.
        for (int line = 0; line < (page == 1 ? 70 : 1); ++line)
            item.Title.Lines.push_back(TextLine("Wiersz " + QByteArray::number(line) + " 0123456789 abcdefghij"));
        doc.Root.Items.push_back(item);
    }
    WriteWyd(Path("tall.wyd"), doc);
    const QString out = Path("limited");
    const Result run = LimitedCli("-f 12", {"png", Path("tall.wyd"), "-o", out});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(QString::fromUtf8(run.err).startsWith(QString::fromUtf8("Nie można zapisać strony 2 ")))
        << run.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"1.png"});
}

TEST_F(CliExport, ImposedPdfHoldsTheSheetSidesInOrder)
{
    Document doc;
    for (int i = 1; i <= 8; ++i) {
        Record item;
        item.BreakBefore = 1;
        item.Title.Lines = {TextLine("Strona " + QByteArray::number(i))};
        doc.Root.Items.push_back(item);
    }
    WriteWyd(Path("eight.wyd"), doc);
    // Each side's page numbers, "left,right" on landscape sides, "_" for a blank page.
    auto sides = [&](const QString &pdf) {
        const QString info = QString::fromUtf8(Tool("pdfinfo", {pdf}).out);
        const int pages = info.section("Pages:", 1).section('\n', 0, 0).trimmed().toInt();
        const bool landscape = info.contains("841.89 x 595.276");
        auto number = [&](int page, const QStringList &crop) {
            const QString text =
                QString::fromUtf8(Tool("pdftotext", crop + QStringList{"-f", QString::number(page), "-l",
                                                                       QString::number(page), pdf, "-"})
                                      .out);
            const QRegularExpressionMatch m = QRegularExpression("Strona (\\d+)").match(text);
            return m.hasMatch() ? m.captured(1) : QStringLiteral("_");
        };
        QStringList out;
        for (int p = 1; p <= pages; ++p)
            out << (landscape ? number(p, {"-x", "0", "-y", "0", "-W", "421", "-H", "595"}) + "," +
                                    number(p, {"-x", "421", "-y", "0", "-W", "421", "-H", "595"})
                              : number(p, {}));
        return out.join(' ');
    };
    const struct Row {
        QStringList options;
        const char *sides;
    } rows[] = {
        {{"--tryb", "ksiazeczka"}, "8,1 2,7 6,3 4,5"},
        {{"--tryb", "ksiazeczka", "--odwrotnie"}, "6,3 4,5 8,1 2,7"},
        {{"--tryb", "zmniejszone", "--strony", "1-6"}, "1,2 3,4 5,6 _,_"},
        {{"--tryb", "normalne", "--strony", "1-3", "--odwrotnie"}, "3 _ 1 2"},
    };
    for (const Row &r : rows) {
        const Result run = Cli(QStringList{"pdf", Path("eight.wyd"), "-o", Path("sheets.pdf")} + r.options);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(sides(Path("sheets.pdf")), QString::fromUtf8(r.sides)) << r.options.join(' ').toStdString();
    }
    const Result bad = Cli({"pdf", Path("eight.wyd"), "-o", Path("bad.pdf"), "--odwrotnie"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_FALSE(QFile::exists(Path("bad.pdf")));
}

TEST_F(CliExport, ThumbnailIsTheFirstPageAtTheAskedHeight)
{
    const Result run = Cli({"thumbnail", Path("three.wyd"), Path("t.png"), "128"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QImage image(Path("t.png"));
    EXPECT_EQ(image.height(), 128);
    EXPECT_EQ(image.width(), 91); // the page's 1429 x 2000 shape
    // Inside the grey border: the first page's small text, grey at this size.
    EXPECT_GT(CountPixels(image.copy(1, 1, image.width() - 2, image.height() - 2),
                          [](QColor c) { return c.lightness() < 250; }),
              20);
    for (const QStringList &bad : {QStringList{"thumbnail", Path("three.wyd"), Path("u.png")},
                                   QStringList{"thumbnail", Path("three.wyd"), Path("u.png"), "0"}}) {
        EXPECT_EQ(Cli(bad).code, 2);
        EXPECT_FALSE(QFile::exists(Path("u.png")));
    }
}

TEST_F(CliExport, FindPrintsTheMatchingLinesOfEveryPage)
{
    // The second page's line holds an amount split over two fields, shown with a gap between them.
    Document doc = ThreePages();
    doc.Root.Items[1].Title.Lines.push_back(
        {.Fields = {{.X = 1200, .Width = 240, .StyleName = "Domyslny", .Text = "12"},
                    {.X = 1440, .Width = 600, .StyleName = "Domyslny", .Text = "345,67"}}});
    WriteWyd(Path("find.wyd"), doc);
    const Result amount = Cli({"find", Path("find.wyd"), "12345,67"});
    EXPECT_EQ(amount.code, 0) << amount.err.toStdString();
    EXPECT_TRUE(amount.out.startsWith("2:")) << amount.out.toStdString();
    EXPECT_TRUE(amount.out.contains("12 345,67")) << "shown as the text command shows it";
    EXPECT_EQ(Cli({"find", Path("find.wyd"), "12 345,67"}).code, 0);
    const Result word = Cli({"find", Path("find.wyd"), "ZOLW"});
    EXPECT_EQ(word.out.count('\n'), 3) << word.out.toStdString();
    EXPECT_TRUE(word.out.contains("1:2: Wiersz 1 żółw")) << word.out.toStdString();
    EXPECT_EQ(Cli({"find", Path("find.wyd"), "nie ma"}).code, 1);
}

// Regression: png wrote nothing and exited 0 on a printout without pages, and a printout whose one
// line is a picture with a turned-over frame had none.
TEST_F(CliExport, CommandsThatNeedPagesRefuseAPrintoutWithoutThem)
{
    WriteWyd(Path("nopages.wyd"), Document{});
    const QString out = Path("nopages-out");
    const QStringList commands[] = {
        {"png", Path("nopages.wyd"), "-o", out},
        {"pdf", Path("nopages.wyd"), "-o", out},
        {"thumbnail", Path("nopages.wyd"), out, "128"},
    };
    for (const QStringList &args : commands) {
        SCOPED_TRACE(args.front().toStdString());
        const Result run = Cli(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(QString::fromUtf8(run.err), QString::fromUtf8("Wydruk nie zawiera żadnej strony\n"));
        EXPECT_FALSE(QFile::exists(out));
    }

    Document turned;
    turned.Root.Title.Lines = {{.Fields = {{.Kind = 6, .Picture = EmfBuilder(9999, 4999, 0, 0, 400, 200).Finish()}}}};
    WriteWyd(Path("turned.wyd"), turned);
    const Result run = Cli({"png", Path("turned.wyd"), "-o", out});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{"1.png"});
}
