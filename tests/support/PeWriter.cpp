#include "tests/support/PeWriter.h"

#include <QtEndian>

namespace petest {

namespace {

void Put16(QByteArray &b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void Put32(QByteArray &b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

void Pad4(QByteArray &b)
{
    while (b.size() % 4)
        b += '\0';
}

} // namespace

QByteArray Utf16(const QString &text)
{
    QByteArray b;
    for (const QChar c : text + QChar(0)) {
        b += char(c.unicode() & 0xFF);
        b += char(c.unicode() >> 8);
    }
    return b;
}

Node StringNode(const QString &name, const QString &text)
{
    return {.key = name, .value = Utf16(text), .valueLength = quint16(text.size() + 1)};
}

Node Table(const QString &key, std::vector<Node> strings)
{
    return {.key = key, .children = std::move(strings), .valueLength = 0};
}

Node Translation(std::vector<std::pair<quint16, quint16>> pairs)
{
    QByteArray v(qsizetype(pairs.size()) * 4, '\0');
    for (size_t i = 0; i < pairs.size(); ++i) {
        Put16(v, qsizetype(i) * 4, pairs[i].first);
        Put16(v, qsizetype(i) * 4 + 2, pairs[i].second);
    }
    return {.key = "Translation", .value = v, .valueLength = quint16(v.size()), .type = 0};
}

Node VersionInfo(std::vector<Node> tables, std::vector<std::pair<quint16, quint16>> translations)
{
    QByteArray fixed(52, '\0');
    Put32(fixed, 0, 0xFEEF04BD);
    Put32(fixed, 4, 0x00010000);
    Node root{.key = "VS_VERSION_INFO", .value = fixed, .valueLength = 52, .type = 0};
    root.children.push_back({.key = "StringFileInfo", .children = std::move(tables), .valueLength = 0});
    if (!translations.empty())
        root.children.push_back(
            {.key = "VarFileInfo", .children = {Translation(std::move(translations))}, .valueLength = 0});
    return root;
}

QByteArray Encode(const Node &node)
{
    QByteArray b(6, '\0');
    b += Utf16(node.key);
    Pad4(b);
    b += node.value;
    for (const Node &child : node.children) {
        Pad4(b);
        b += Encode(child);
    }
    Put16(b, 0, node.length.value_or(quint16(b.size())));
    Put16(b, 2, node.valueLength.value_or(quint16(node.value.size())));
    Put16(b, 4, node.type);
    return b;
}

QByteArray WritePe(const Pe &pe)
{
    constexpr quint32 kPeAt = 0x80, kCodeRaw = 0x400, kRsrcRaw = 0x600, kCodeVa = 0x1000, kRsrcVa = 0x2000;
    const int optional = pe.pe64 ? 240 : 224;
    QByteArray f(kRsrcRaw, '\0');
    Put16(f, 0, 0x5A4D);
    Put32(f, 0x3C, kPeAt);
    Put32(f, kPeAt, 0x00004550);
    Put16(f, kPeAt + 4, pe.pe64 ? 0x8664 : 0x14C);
    Put16(f, kPeAt + 6, 2);
    Put16(f, kPeAt + 20, quint16(optional));
    const qsizetype opt = kPeAt + 24;
    Put16(f, opt, pe.pe64 ? 0x20B : 0x10B);
    const qsizetype dirs = opt + (pe.pe64 ? 112 : 96);
    Put32(f, dirs - 4, 16);

    // The resource section: three directory levels, one data entry, then the data.
    QByteArray r(0x58 + pe.skew, '\0');
    const auto directory = [&r](qsizetype at, quint32 id, quint32 to) {
        Put16(r, at + 14, 1);
        Put32(r, at + 16, id);
        Put32(r, at + 20, to);
    };
    directory(0x00, pe.version ? pe.resourceType : 3, 0x80000018);
    directory(0x18, 1, 0x80000030);
    directory(0x30, 0x415, 0x48);
    const QByteArray data = pe.version.value_or(QByteArray("no version here"));
    Put32(r, 0x48, pe.dataOutsideFile ? 0x90000 : kRsrcVa + 0x58 + pe.skew);
    Put32(r, 0x4C, pe.dataSize.value_or(quint32(data.size())));
    r += data;
    while (r.size() % 0x200)
        r += '\0';

    Put32(f, dirs + 16, kRsrcVa);
    Put32(f, dirs + 20, quint32(r.size()));
    const qsizetype sections = opt + optional;
    const auto section = [&f, sections](int i, const char *name, quint32 va, quint32 size, quint32 raw) {
        const qsizetype s = sections + i * 40;
        f.replace(s, 8, QByteArray(name).leftJustified(8, '\0'));
        Put32(f, s + 8, size);
        Put32(f, s + 12, va);
        Put32(f, s + 16, size);
        Put32(f, s + 20, raw);
    };
    section(0, ".text", kCodeVa, 0x200, kCodeRaw);
    section(1, ".rsrc", kRsrcVa, quint32(r.size()), kRsrcRaw);
    f.replace(kCodeRaw, 4, "\xC3\xC3\xC3\xC3");
    return f + r + pe.appended;
}

} // namespace petest

namespace petest {

QByteArray PackageRecord(const QByteArray &name, quint32 dosTime, const QByteArray &data, std::optional<qint32> length)
{
    QByteArray b(4, 'x');
    if (name.size() < 254) {
        b += char(name.size());
    } else {
        b += char(255);
        b += QByteArray(4, '\0');
        Put32(b, b.size() - 4, quint32(name.size()));
    }
    b += name;
    b += QByteArray(8, '\0');
    Put32(b, b.size() - 8, dosTime);
    Put32(b, b.size() - 4, quint32(length.value_or(qint32(data.size()))));
    return b + data;
}

QByteArray Package(const QByteArray &records, const QString &description, std::optional<QString> size)
{
    const auto program = [&description](const QString &rozmiar) {
        const Node root = VersionInfo(
            {Table("041504e2", {StringNode("FileDescription", description), StringNode("Rozmiar", rozmiar)})},
            {{0x415, 0x4E2}});
        return WritePe({.version = Encode(root)});
    };
    // The program part is padded to whole sections, so its size does not change with the digits.
    const QByteArray part = program(size.value_or(QString::number(program("0000").size())));
    return part + records;
}

} // namespace petest
