#include "cli/BuildPrintout.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"

#include "core/PrintoutFile.h"
#include "platform/text/CodePage.h"

#include "platform/base/NativePath.h"

#include <QFile>

#include <cstdio>

namespace {

struct Totals {
    qint64 records = 0;
    qint64 fields = 0;
};

void Count(const TMLine &record, Totals &totals)
{
    ++totals.records;
    for (const TLinie *block : {&record.Title, &record.ColumnHeader, &record.SpareLines, &record.Summary})
        for (const TLinia &line : *block)
            totals.fields += line.Count();
    for (const TMLine *item : record.Items())
        Count(*item, totals);
}

QByteArray Summary(TMLineWydruk &model)
{
    JsonWriter json;
    json.BeginObject()
        .Value("version", qint64{model.Version})
        .Value("resolution", qint64{model.Resolution})
        .Value("lineSpacing", model.LineSpacing)
        .Value("linesPerPage", qint64{model.LinesPerPage});
    json.BeginArray("styles");
    for (int i = 0; i < model.Styles().Count(); ++i) {
        const TStyl &s = *model.Styles()[i];
        // Style texts are in the code page of the style's own character set.
        json.BeginObject()
            .Value("name", platform::DecodeCharset(s.Name, s.Charset))
            .Value("alias", platform::DecodeCharset(s.Alias, s.Charset))
            .Value("fontName", platform::DecodeCharset(s.FontName, s.Charset))
            .Value("charHeight", s.CharHeight)
            .Value("charWidth", s.CharWidth)
            .Value("columns", qint64{s.Columns})
            .Value("fontStyle", qint64{s.FontStyle})
            .Value("color", qint64{s.Color})
            .Value("charset", qint64{s.Charset})
            .EndObject();
    }
    json.EndArray();
    Totals totals;
    Count(model.Root(), totals);
    json.Value("records", totals.records)
        .Value("lines", qint64{model.TotalLineCount()})
        .Value("fields", totals.fields)
        .Value("pictures", qint64{model.PictureCount()})
        .EndObject();
    return json.Text();
}

} // namespace

int RunInfo(const QStringList &args)
{
    if (args.size() != 1) {
        PrintError(QStringLiteral("wenoglad-cli info: podaj jeden plik wydruku\n\n") + UsageText());
        return 2;
    }
    const QString &path = args.front();
    QFile file;
    TMLineWydruk model;
    try {
        if (!platform::OpenForReading(file, platform::NativePath(path))) {
            PrintError(EFOpenError(path).Message());
            return 2;
        }
        ReadPrintoutFile(file, path, model);
    } catch (const Exception &e) {
        PrintError(e.Message());
        return 1;
    } catch (const std::bad_alloc &) {
        PrintError(kPrintoutTooLarge);
        return 1;
    }
    const QByteArray out = Summary(model);
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return FinishStandardOutput();
}
