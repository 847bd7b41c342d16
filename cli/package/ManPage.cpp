#include "cli/package/PackageFiles.h"

#include <QRegularExpression>

namespace {

// Text safe on a line of its own: backslashes and hyphens escaped, a leading control character
// disarmed.
QString Escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\e");
        else if (c == u'-')
            out += QStringLiteral("\\-");
        else
            out += c;
    }
    if (out.startsWith(u'.') || out.startsWith(u'\''))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

// A term or synopsis: placeholders in italics, what is typed as it stands in bold, brackets and bars
// in roman.
QString Formatted(const QString &term, const QStringList &placeholders)
{
    static const QRegularExpression pieces(QStringLiteral("[^ \\[\\]|]+|[ \\[\\]|]+"));
    QString out;
    for (auto it = pieces.globalMatch(term); it.hasNext();) {
        const QString piece = it.next().captured();
        if (piece.front() == u' ' || piece.front() == u'[' || piece.front() == u']' || piece.front() == u'|')
            out += Escaped(piece);
        else if (placeholders.contains(piece))
            out += QStringLiteral("\\fI") + Escaped(piece) + QStringLiteral("\\fR");
        else
            out += QStringLiteral("\\fB") + Escaped(piece) + QStringLiteral("\\fR");
    }
    return out;
}

} // namespace

QString ManPage(const TUsage &usage, const QString &version)
{
    QString out = QStringLiteral(".\\\" Made by the package build from the usage tables of wenoglad-cli.\n");
    out += QStringLiteral(".TH %1 1 \"\" \"Wenoglad %2\" \"Polecenia użytkownika\"\n")
               .arg(Escaped(usage.Name.toUpper()), Escaped(version));
    out +=
        QStringLiteral(".SH NAZWA\n") + Escaped(usage.Name) + QStringLiteral(" \\- ") + Escaped(usage.Summary) + u'\n';
    out += QStringLiteral(".SH SKŁADNIA\n") + QStringLiteral("\\fB") + Escaped(usage.Name) + QStringLiteral("\\fR ") +
           Formatted(usage.Synopsis, usage.Placeholders) + u'\n';
    out += QStringLiteral(".SH OPIS\n");
    const QStringList paragraphs = usage.Overview.split(QStringLiteral("\n\n"));
    for (qsizetype i = 0; i < paragraphs.size(); ++i)
        out += (i ? QStringLiteral(".PP\n") : QString()) + Escaped(paragraphs[i]) + u'\n';
    for (const TUsageSection &section : usage.Sections) {
        out += QStringLiteral(".SH \"") + section.Title + QStringLiteral("\"\n");
        for (const TUsageItem &item : section.Items)
            out +=
                QStringLiteral(".TP\n") + Formatted(item.Term, usage.Placeholders) + u'\n' + Escaped(item.Text) + u'\n';
    }
    if (!usage.SeeAlso.isEmpty()) {
        out += QStringLiteral(".SH \"ZOBACZ TEŻ\"\n");
        for (qsizetype i = 0; i < usage.SeeAlso.size(); ++i) {
            const QString &page = usage.SeeAlso[i];
            const qsizetype open = page.indexOf(u'(');
            out += QStringLiteral(".BR ") + Escaped(page.left(open)) + u' ' + page.mid(open) +
                   (i + 1 < usage.SeeAlso.size() ? QStringLiteral(",\n") : QStringLiteral("\n"));
        }
    }
    return out;
}
