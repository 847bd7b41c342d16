#include "core/PrintoutFile.h"

#include "core/HeaderFormat.h"
#include "core/InflateStream.h"

void ReadPrintout(QIODevice &file, TMLineWydruk &model)
{
    if (!CheckHeader(file, header::kPrintoutName))
        throw EStreamError(kNotAPrintout);
    TInflateStream body(file);
    model.ReadBody(body);
}
