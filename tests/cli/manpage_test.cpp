// The manual page of wenoglad-cli and its --help say the same: every line of the help is in the
// page, and every term and text of the page is in the help.
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString RunProgram(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("WENOGLAD_BIN_DIR") + program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString Flat(const QString &text)
{
    return text.simplified();
}

// One line of man(7) markup as the reader sees it, without fonts and escapes.
QString Plain(QString line)
{
    static const QRegularExpression fonts(QStringLiteral("\\\\f[BIRP]"));
    line.remove(fonts);
    line.replace(QStringLiteral("\\-"), QStringLiteral("-")).remove(QStringLiteral("\\&"));
    line.replace(QStringLiteral("\\e"), QStringLiteral("\\"));
    return line;
}

struct Page {
    QString flat;                             // the page's text, whitespace collapsed
    QList<std::pair<QString, QString>> items; // every tagged paragraph: term and text
};

Page Read(const QString &troff)
{
    Page page;
    QStringList text;
    const QStringList lines = troff.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line == QLatin1String(".TP") && i + 2 < lines.size())
            page.items.append({Plain(lines[i + 1]), Plain(lines[i + 2])});
        if (line.startsWith(QLatin1String(".\\\"")) || line.startsWith(QLatin1String(".TH")))
            continue;
        if (line.startsWith(u'.')) {
            QString args = line.section(u' ', 1);
            text << Plain(args.remove(u'"'));
        } else {
            text << Plain(line);
        }
    }
    page.flat = Flat(text.join(u' '));
    return page;
}

} // namespace

TEST(ManPage, SaysWhatTheHelpSays)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR"));
    const QString help = RunProgram("/cli/wenoglad-cli", {"--help"});
    const QString troff = RunProgram("/cli/wenoglad_package_files", {"man", "wenoglad-cli"});
    ASSERT_FALSE(help.isEmpty());
    ASSERT_FALSE(troff.isEmpty());
    const Page page = Read(troff);
    const QString helpFlat = Flat(help);

    for (const QString &raw : help.split(u'\n')) {
        QString line = Flat(raw);
        if (line.isEmpty())
            continue;
        // "Użycie: X" is the page's synopsis; a heading such as "Opcje:" is the page's "OPCJE".
        if (line.startsWith(QStringLiteral("Użycie: ")))
            line = line.mid(8);
        else if (!raw.startsWith(u' ') && line.endsWith(u':'))
            line = line.chopped(1).toUpper();
        EXPECT_TRUE(page.flat.contains(line)) << "not in the page: " << line.toStdString();
    }
    ASSERT_GT(page.items.size(), 20);
    for (const auto &[term, text] : page.items) {
        EXPECT_TRUE(helpFlat.contains(Flat(term))) << "not in the help: " << term.toStdString();
        EXPECT_TRUE(helpFlat.contains(Flat(text))) << "not in the help: " << text.toStdString();
    }
}
