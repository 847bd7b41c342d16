#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/Usage.h"

#include <cstdio>

namespace {

constexpr int kWidth = 80;
constexpr int kTextColumn = 14;

// Words laid into lines of at most kWidth columns, the first starting at column first and the others
// at column rest (the caller has already written the first line's indent).
QString Wrapped(const QStringList &words, int first, int rest)
{
    QString out;
    int column = first;
    bool lineEmpty = true;
    for (const QString &word : words) {
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            out += u'\n' + QString(rest, u' ');
            column = rest;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += u' ';
            ++column;
        }
        out += word;
        column += int(word.size());
        lineEmpty = false;
    }
    return out;
}

QString Wrapped(const QString &text, int first, int rest)
{
    return Wrapped(text.split(u' ', Qt::SkipEmptyParts), first, rest);
}

// A synopsis breaks only between its optional parts, never inside "[--margins L,G,P,D]".
QString WrappedTerm(const QString &term, int first, int rest)
{
    QStringList words;
    int depth = 0;
    for (const QString &word : term.split(u' ', Qt::SkipEmptyParts)) {
        if (depth > 0)
            words.back() += u' ' + word;
        else
            words << word;
        depth += int(word.count(u'[') - word.count(u']'));
    }
    return Wrapped(words, first, rest);
}

} // namespace

QString HelpText(const TUsage &usage)
{
    QString out = WrappedTerm(QStringLiteral("Użycie: ") + usage.Name + u' ' + usage.Synopsis, 0, 6) + u'\n';
    for (const QString &paragraph : usage.Overview.split(QStringLiteral("\n\n")))
        out += u'\n' + Wrapped(paragraph, 0, 0) + u'\n';
    for (const TUsageSection &section : usage.Sections) {
        out += u'\n' + section.Title.left(1) + section.Title.mid(1).toLower() + QStringLiteral(":\n");
        for (const TUsageItem &item : section.Items) {
            // A short term shares its line with the text, a long one has a line (or more) of its own.
            out += QStringLiteral("  ");
            if (item.Term.size() + 3 <= kTextColumn) {
                out += item.Term.leftJustified(kTextColumn - 2) + Wrapped(item.Text, kTextColumn, kTextColumn);
            } else {
                out += WrappedTerm(item.Term, 2, 6) + u'\n' + QString(kTextColumn, u' ') +
                       Wrapped(item.Text, kTextColumn, kTextColumn);
            }
            out += u'\n';
        }
    }
    return out;
}

QString UsageText()
{
    return HelpText(CliUsage());
}

int RunHelp()
{
    std::fputs(UsageText().toUtf8().constData(), stdout);
    return FinishStandardOutput();
}
