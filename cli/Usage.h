#pragma once
// The one description of how the two programs are called: the commands, arguments, options, exit
// codes and files. `wenoglad-cli --help` prints it, and the package build renders the same tables
// as the manual pages and the shell completion, so the three cannot say different things.
#include <QList>
#include <QString>
#include <QStringList>

// One entry of a section: what is typed (a command with its arguments, an option, an exit code, a
// file) and what it does.
struct TUsageItem {
    TUsageItem(const QString &term, const QString &text, const QStringList &values = {})
        : Term(term), Text(text), Values(values)
    {
    }
    QString Term;
    QString Text;
    QStringList Values; // the words an option's argument may be, for the completion
};

struct TUsageSection {
    QString Title; // as the manual page's heading; the help text capitalises only the first letter
    QList<TUsageItem> Items;
};

struct TUsage {
    QString Name;     // the program's file name
    QString Summary;  // the one line of the manual's NAZWA section
    QString Synopsis; // how it is called, without the name
    QString Overview; // paragraphs separated by blank lines
    QList<TUsageSection> Sections;
    QStringList SeeAlso;      // other manual pages, as "name(section)"
    QStringList Placeholders; // the words of terms and synopsis that stand for what the user types
};

// The title of the section that lists the commands and of the one that lists the options; the
// completion takes the command names and each command's options from the first.
inline const QString kCommandsTitle = QStringLiteral("POLECENIA");
inline const QString kOptionsTitle = QStringLiteral("OPCJE");

const TUsage &CliUsage();
const TUsage &ProgramUsage();

// The help text: the synopsis, the overview and every section, wrapped at 80 columns.
QString HelpText(const TUsage &usage);
