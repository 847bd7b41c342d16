#include "tests/support/WydWriter.h"

#include <QFile>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wydtest {

namespace {
constexpr qsizetype kFlushAt = 1 << 20;
} // namespace

void BodyWriter::Grew()
{
    if (sink_ && body_.size() >= kFlushAt)
        Flush();
}

void BodyWriter::Flush()
{
    if (!sink_ || body_.isEmpty())
        return;
    sink_(body_);
    flushed_ += body_.size();
    body_.clear();
}

BodyWriter &BodyWriter::U8(quint8 v)
{
    body_.append(static_cast<char>(v));
    Grew();
    return *this;
}

BodyWriter &BodyWriter::U16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    return Bytes(QByteArrayView(b, 2));
}

BodyWriter &BodyWriter::I32(qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return Bytes(QByteArrayView(b, 4));
}

BodyWriter &BodyWriter::F32(float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    char b[4];
    qToLittleEndian(bits, b);
    return Bytes(QByteArrayView(b, 4));
}

BodyWriter &BodyWriter::Bytes(QByteArrayView bytes)
{
    body_.append(bytes);
    Grew();
    return *this;
}

BodyWriter &BodyWriter::Marker(quint8 m)
{
    if (faults_.CorruptMarker != 0 && faults_.CorruptMarker == m) {
        faults_.CorruptMarker = 0;
        return U8(kBadMarker);
    }
    return U8(m);
}

BodyWriter &BodyWriter::String(QByteArrayView text)
{
    if (text.size() > 0xFFFF) {
        std::fprintf(stderr, "BodyWriter: a string of %lld bytes does not fit the format\n",
                     static_cast<long long>(text.size()));
        std::abort();
    }
    if (text.size() <= 255 && !faults_.LongStrings)
        Marker(101).U8(static_cast<quint8>(text.size()));
    else
        Marker(102).U16(static_cast<quint16>(text.size()));
    return Bytes(text);
}

BodyWriter &BodyWriter::Globals(const Document &doc)
{
    U8(doc.Version);
    if (version_ >= 5)
        I32(doc.Resolution);
    F32(doc.LineSpacing).I32(doc.Ignored1).U8(doc.Ignored2);
    if (version_ >= 2)
        I32(doc.LinesPerPage);
    return *this;
}

BodyWriter &BodyWriter::Styles(const Document &doc)
{
    I32(doc.StyleCount.value_or(static_cast<qint32>(doc.Styles.size())));
    for (const Style &s : doc.Styles)
        StyleRecord(s);
    return *this;
}

BodyWriter &BodyWriter::StyleRecord(const Style &s)
{
    Marker(1).I32(s.Color).F32(s.CharHeight).I32(s.Columns).F32(s.CharWidth).U8(s.FontStyle).I32(s.Reserved);
    if (version_ >= 3)
        I32(s.Charset);
    return String(s.FontName).String(s.Name).String(s.Alias);
}

BodyWriter &BodyWriter::RecordTree(const Record &r)
{
    RecordHead(r, r.ItemCount.value_or(static_cast<qint32>(r.Items.size())));
    for (const Record &item : r.Items)
        RecordTree(item);
    return RecordTail(r);
}

BodyWriter &BodyWriter::RecordHead(const Record &r, qint32 itemCount)
{
    Marker(3).BlockRecord(r.Title).BlockRecord(r.ColumnHeader);
    return Marker(12).I32(itemCount);
}

BodyWriter &BodyWriter::RecordTail(const Record &r)
{
    BlockRecord(r.SpareLines).BlockRecord(r.Summary);
    if (version_ >= 2)
        Marker(15).String(r.Label).U8(r.BreakBefore);
    return *this;
}

BodyWriter &BodyWriter::BlockRecord(const Block &b)
{
    Marker(4).U8(b.Splittable).U8(b.BreakBefore);
    I32(b.LineCount.value_or(static_cast<qint32>(b.Lines.size())));
    for (const Line &l : b.Lines)
        LineRecord(l);
    return *this;
}

BodyWriter &BodyWriter::LineRecord(const Line &l)
{
    Marker(5).U8(l.SkipAtTop).U8(static_cast<quint8>(l.FieldCount.value_or(static_cast<int>(l.Fields.size()))));
    for (const Field &f : l.Fields)
        FieldRecord(f);
    return *this;
}

BodyWriter &BodyWriter::FieldRecord(const Field &f)
{
    Marker(6).I32(f.X).I32(f.Width).U8(f.Kind).U8(f.Alignment);
    if (version_ >= 6)
        U8(f.AlignBottom).U8(f.EndEllipsis);
    U8(f.NoWrap).U8(f.RuleStyle).String(f.StyleName).String(f.Text);
    if (version_ >= 4 && f.Kind == 6)
        Bytes(f.Picture);
    return *this;
}

BodyWriter &BodyWriter::NestedRecords(int levels)
{
    const Record empty;
    for (int i = 0; i < levels; ++i)
        RecordHead(empty, 1);
    RecordTree(empty);
    for (int i = 0; i < levels; ++i)
        RecordTail(empty);
    return *this;
}

BodyWriter &BodyWriter::WholeDocument(const Document &doc)
{
    return Globals(doc).Styles(doc).RecordTree(doc.Root);
}

QByteArray HeaderStringBytes(QByteArrayView text, HeaderForm form)
{
    if (form == HeaderForm::Auto)
        form = text.size() <= 253 ? HeaderForm::Byte : text.size() <= 0xFFFF ? HeaderForm::Word : HeaderForm::Dword;
    QByteArray out;
    char b[4];
    switch (form) {
    case HeaderForm::Byte:
        out.append(static_cast<char>(text.size()));
        break;
    case HeaderForm::Word:
        out.append(static_cast<char>(254));
        qToLittleEndian(static_cast<quint16>(text.size()), b);
        out.append(b, 2);
        break;
    default:
        out.append(static_cast<char>(255));
        qToLittleEndian(static_cast<qint32>(text.size()), b);
        out.append(b, 4);
        break;
    }
    return out + text.toByteArray();
}

QByteArray HeaderBytes(const FileOptions &options)
{
    return options.Magic + HeaderStringBytes(options.Name, options.Form);
}

QByteArray Compress(QByteArrayView body, int level)
{
    uLongf size = compressBound(static_cast<uLong>(body.size()));
    QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(body.data()),
                  static_cast<uLong>(body.size()), level) != Z_OK) {
        std::fprintf(stderr, "Compress: zlib failed\n");
        std::abort();
    }
    out.resize(static_cast<qsizetype>(size));
    return out;
}

QByteArray CompressThenBreak(QByteArrayView body)
{
    z_stream zs{};
    deflateInit(&zs, Z_DEFAULT_COMPRESSION);
    QByteArray out(static_cast<qsizetype>(deflateBound(&zs, static_cast<uLong>(body.size())) + 64), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(body.data()));
    zs.avail_in = static_cast<uInt>(body.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    // A sync flush ends on a byte boundary between blocks; 0x07 then starts a final block of
    // the reserved type 3.
    deflate(&zs, Z_SYNC_FLUSH);
    out.resize(out.size() - zs.avail_out);
    deflateEnd(&zs);
    return out + QByteArray("\x07\x00\x00\x00", 4);
}

QByteArray BodyBytes(const Document &doc, Faults faults)
{
    BodyWriter w(doc.Version, faults);
    w.WholeDocument(doc);
    return w.Body();
}

QByteArray FileBytes(const Document &doc, const FileOptions &options, Faults faults)
{
    return FileFromBody(BodyBytes(doc, faults), options);
}

QByteArray FileFromBody(QByteArrayView body, const FileOptions &options)
{
    return HeaderBytes(options) + Compress(body, options.Level);
}

void WriteBytes(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size()) {
        std::fprintf(stderr, "WriteBytes: cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

void WriteWyd(const QString &path, const Document &doc, const FileOptions &options)
{
    WriteBytes(path, FileBytes(doc, options));
}

struct StreamedWyd::Impl {
    QFile file;
    z_stream zs{};
    QByteArray out = QByteArray(1 << 18, Qt::Uninitialized);
    bool open = false;
};

StreamedWyd::StreamedWyd(const QString &path, const FileOptions &options) : d_(std::make_unique<Impl>())
{
    d_->file.setFileName(path);
    if (!d_->file.open(QIODevice::WriteOnly | QIODevice::Truncate) || deflateInit(&d_->zs, options.Level) != Z_OK) {
        std::fprintf(stderr, "StreamedWyd: cannot write %s\n", qPrintable(path));
        std::abort();
    }
    d_->open = true;
    d_->file.write(HeaderBytes(options));
}

StreamedWyd::~StreamedWyd()
{
    if (d_->open)
        deflateEnd(&d_->zs);
}

void StreamedWyd::Deflate(QByteArrayView data, int flush)
{
    z_stream &zs = d_->zs;
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    int rc;
    do {
        zs.next_out = reinterpret_cast<Bytef *>(d_->out.data());
        zs.avail_out = static_cast<uInt>(d_->out.size());
        rc = deflate(&zs, flush);
        d_->file.write(d_->out.constData(), d_->out.size() - zs.avail_out);
    } while (zs.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
}

void StreamedWyd::Write(QByteArrayView body)
{
    Deflate(body, Z_NO_FLUSH);
}

qint64 StreamedWyd::Finish()
{
    Deflate({}, Z_FINISH);
    deflateEnd(&d_->zs);
    d_->open = false;
    d_->file.close();
    return d_->file.size();
}

} // namespace wydtest
