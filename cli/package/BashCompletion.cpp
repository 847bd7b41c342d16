#include "cli/package/PackageFiles.h"

#include "platform/base/Defaults.h"
#include <QMap>

namespace {

QString CommandName(const TUsageItem &item)
{
    return item.Term.section(u' ', 0, 0);
}

// The option names of a term, without the brackets around them, each with the word after it.
QList<std::pair<QString, QString>> Options(const QString &term)
{
    QList<std::pair<QString, QString>> options;
    QString cleaned = term;
    cleaned.remove(u'[').remove(u']');
    const QStringList words = cleaned.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i)
        if (words[i].startsWith(u'-')) {
            const bool takesArgument = i + 1 < words.size() && !words[i + 1].startsWith(u'-');
            options.append({words[i], takesArgument ? words[i + 1] : QString()});
        }
    return options;
}

const TUsageSection *Section(const TUsage &usage, const QString &title)
{
    for (const TUsageSection &section : usage.Sections)
        if (section.Title == title)
            return &section;
    return nullptr;
}

// What the argument of an option completes to, as a line of bash.
QString ArgumentCompletion(const TUsageItem &option, const QString &argument)
{
    if (!option.Values.isEmpty())
        return QStringLiteral("COMPREPLY=($(compgen -W '%1' -- \"$cur\"))").arg(option.Values.join(u' '));
    if (argument == QLatin1String("KOLEJKA"))
        return QStringLiteral("COMPREPLY=($(compgen -W \"$(lpstat -e 2>/dev/null)\" -- \"$cur\"))");
    if (argument.startsWith(QStringLiteral("WYJŚCIE")))
        return QStringLiteral("_filedir");
    return {};
}

} // namespace

QString BashCompletion(const TUsage &usage)
{
    const TUsageSection *commands = Section(usage, kCommandsTitle);
    const TUsageSection *options = Section(usage, kOptionsTitle);
    if (!commands || !options)
        return {};
    // Commands may appear more than once (two forms of pdf); their options are merged.
    QStringList names;
    QMap<QString, QStringList> optionsOf;
    QMap<QString, bool> takesPrintouts;
    QMap<QString, QStringList> folderOptions;
    for (const TUsageItem &item : commands->Items) {
        const QString name = CommandName(item);
        if (!names.contains(name))
            names << name;
        for (const auto &[option, argument] : Options(item.Term)) {
            if (!optionsOf[name].contains(option))
                optionsOf[name] << option;
            if (argument == QLatin1String("KATALOG") && !folderOptions[name].contains(option))
                folderOptions[name] << option;
        }
        const QStringList words = item.Term.split(u' ');
        takesPrintouts[name] = words.contains(QStringLiteral("PLIK")) || words.contains(QStringLiteral("WEJŚCIE"));
    }

    QString out = QStringLiteral("# bash completion for wenoglad-cli; made by the package build from its help.\n"
                                 "_wenoglad_cli()\n"
                                 "{\n"
                                 "    local cur prev words cword\n"
                                 "    _init_completion || return\n"
                                 "    if [[ $cword -eq 1 ]]; then\n"
                                 "        COMPREPLY=($(compgen -W '%1' -- \"$cur\"))\n"
                                 "        return\n"
                                 "    fi\n"
                                 "    local command=${words[1]}\n")
                      .arg(names.join(u' '));
    out += QStringLiteral("    case $command:$prev in\n");
    for (const QString &name : names)
        for (const QString &option : folderOptions[name])
            out += QStringLiteral("        %1:%2)\n            _filedir -d\n            return\n            ;;\n")
                       .arg(name, option);
    out += QStringLiteral("    esac\n    case $prev in\n");
    for (const TUsageItem &option : options->Items) {
        const auto parsed = Options(option.Term);
        if (parsed.isEmpty() || parsed.front().second.isEmpty())
            continue;
        out += QStringLiteral("        %1)\n").arg(parsed.front().first);
        if (const QString line = ArgumentCompletion(option, parsed.front().second); !line.isEmpty())
            out += QStringLiteral("            ") + line + u'\n';
        out += QStringLiteral("            return\n            ;;\n");
    }
    out += QStringLiteral("    esac\n"
                          "    if [[ $cur == -* ]]; then\n"
                          "        case $command in\n");
    for (const QString &name : names)
        if (!optionsOf[name].isEmpty())
            out += QStringLiteral("            %1) COMPREPLY=($(compgen -W '%2' -- \"$cur\")) ;;\n")
                       .arg(name, optionsOf[name].join(u' '));
    out += QStringLiteral("        esac\n"
                          "        return\n"
                          "    fi\n"
                          "    case $command in\n");
    QStringList printoutCommands;
    for (const QString &name : names)
        if (takesPrintouts[name])
            printoutCommands << name;
    const QString suffix(defaults::kPrintoutSuffix);
    out += QStringLiteral("        %1) _filedir '@(%2|%3)' ;;\n")
               .arg(printoutCommands.join(u'|'), suffix, suffix.toUpper());
    out += QStringLiteral("        *) _filedir ;;\n"
                          "    esac\n"
                          "} &&\n"
                          "    complete -F _wenoglad_cli wenoglad-cli\n");
    return out;
}
