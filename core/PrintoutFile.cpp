#include "core/PrintoutFile.h"

#include "core/HeaderFormat.h"
#include "core/InflateStream.h"

void ReadPrintout(QIODevice &file, TMLineWydruk &model, const std::function<void()> &headerPassed)
{
    if (!CheckHeader(file, header::kPrintoutName))
        throw EStreamError(kNotAPrintout);
    if (headerPassed)
        headerPassed();
    TInflateStream body(file);
    model.ReadBody(body);
}
