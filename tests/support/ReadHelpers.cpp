#include "tests/support/ReadHelpers.h"

#include "core/PrintoutFile.h"
#include "tests/support/WydWriter.h"

#include <QBuffer>

namespace wydtest {

void ReadFileBytes(const QByteArray &file, TMLineWydruk &model)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    ReadPrintout(buffer, model);
}

void ReadBodyBytes(const QByteArray &body, TMLineWydruk &model)
{
    ReadFileBytes(FileFromBody(body), model);
}

} // namespace wydtest
