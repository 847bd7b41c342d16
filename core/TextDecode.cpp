#include "core/TextDecode.h"

#include "platform/text/CodePage.h"

#include <array>
#include <map>
#include <memory>
#include <string>

namespace {

using Table = platform::ByteTable;

const Table &TableFor(int charset)
{
    // Keyed by code page, not charset: the many charsets that mean Windows-1250 share a table.
    static std::map<std::string, std::unique_ptr<Table>> tables;
    static int lastCharset = -1;
    static const Table *last = nullptr;
    if (charset == lastCharset && last)
        return *last;
    const char *page = platform::CodePageForCharset(charset);
    auto it = tables.find(page);
    if (it == tables.end())
        it = tables.emplace(page, std::make_unique<Table>(platform::CharsetTable(charset))).first;
    lastCharset = charset;
    last = it->second.get();
    return *last;
}

} // namespace

void DecodeInto(QByteArrayView bytes, int charset, QString &out)
{
    const Table &t = TableFor(charset);
    const qsizetype n = bytes.size();
    out.resize(n);
    QChar *to = out.data();
    const auto *from = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < n; ++i)
        to[i] = QChar(t[from[i]]);
}
