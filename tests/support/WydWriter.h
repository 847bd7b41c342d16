#pragma once
// Test-side writer of printout files. A test builds a Document (styles and a tree of records,
// blocks, lines and fields), and the writer stores it as a body of any version 0..7, compressed
// behind the header. It writes malformed files on purpose too: any header magic, name or
// string form, a wrong marker, counts that lie, truncated bodies, deep nesting, bad pictures.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <vector>
#include <zlib.h>

namespace wydtest {

struct Field {
    qint32 X = 0; // file units (divided by Resolution / 180 when read)
    qint32 Width = 0;
    quint8 Kind = 0;
    quint8 Alignment = 0;
    quint8 AlignBottom = 0; // written from version 6 on
    quint8 EndEllipsis = 0; // written from version 6 on
    quint8 NoWrap = 0;
    quint8 RuleStyle = 0;
    QByteArray StyleName = "Domyslny";
    QByteArray Text;
    QByteArray Picture; // written as is after the texts for kind 6 from version 4 on
};

struct Line {
    quint8 SkipAtTop = 0;
    std::vector<Field> Fields;
    std::optional<int> FieldCount; // written instead of the real count
};

struct Block {
    quint8 Splittable = 1;
    quint8 BreakBefore = 0;
    std::vector<Line> Lines;
    std::optional<qint32> LineCount;
};

struct Record {
    Block Title;
    Block ColumnHeader;
    std::vector<Record> Items;
    std::optional<qint32> ItemCount;
    Block SpareLines;
    Block Summary;
    QByteArray Label;       // from version 2 on
    quint8 BreakBefore = 0; // from version 2 on
};

struct Style {
    qint32 Color = 0;
    float CharHeight = 3.5f;
    qint32 Columns = 132;
    float CharWidth = 210.0f / 132;
    quint8 FontStyle = 0;
    qint32 Reserved = -1;
    qint32 Charset = 238; // from version 3 on
    QByteArray FontName = "Courier New";
    QByteArray Name;
    QByteArray Alias;
};

struct Document {
    quint8 Version = 7;
    qint32 Resolution = 1200; // from version 5 on
    float LineSpacing = 0;
    qint32 Ignored1 = 0;
    quint8 Ignored2 = 0;
    qint32 LinesPerPage = 84; // from version 2 on
    std::vector<Style> Styles;
    std::optional<qint32> StyleCount;
    Record Root;
};

// Deliberate damage to the body.
struct Faults {
    quint8 CorruptMarker = 0; // the first marker of this value is written as kBadMarker
    bool LongStrings = false; // every string with marker 102, even short ones
};
inline constexpr quint8 kBadMarker = 0xEE;

// Writes the body byte by byte, in the format's order. Every call appends; a sink, when set,
// takes the bytes whenever enough have gathered (for printouts too big to hold).
class BodyWriter {
public:
    explicit BodyWriter(quint8 version, Faults faults = {}) : version_(version), faults_(faults) {}

    BodyWriter &U8(quint8 v);
    BodyWriter &U16(quint16 v);
    BodyWriter &I32(qint32 v);
    BodyWriter &F32(float v);
    BodyWriter &Bytes(QByteArrayView bytes);
    BodyWriter &Marker(quint8 m);
    // Marker 101 and a byte length up to 255 bytes, marker 102 and a word length beyond.
    BodyWriter &String(QByteArrayView text);

    BodyWriter &Globals(const Document &doc); // version .. LinesPerPage
    BodyWriter &Styles(const Document &doc);  // the count and the style records
    BodyWriter &StyleRecord(const Style &style);
    BodyWriter &RecordTree(const Record &record);
    // A record in two halves, for writing items one by one: marker, title, column header, the
    // item marker and `itemCount`; then spare lines, summary and trailer.
    BodyWriter &RecordHead(const Record &record, qint32 itemCount);
    BodyWriter &RecordTail(const Record &record);
    BodyWriter &BlockRecord(const Block &block);
    BodyWriter &LineRecord(const Line &line);
    BodyWriter &FieldRecord(const Field &field);
    // `levels` empty records each the only item of the one above, below one more record.
    BodyWriter &NestedRecords(int levels);
    // Globals, styles and the root record.
    BodyWriter &WholeDocument(const Document &doc);

    quint8 Version() const { return version_; }
    const QByteArray &Body() const { return body_; }
    qint64 Written() const { return flushed_ + body_.size(); }
    void SetSink(std::function<void(QByteArrayView)> sink) { sink_ = std::move(sink); }
    void Flush();

private:
    void Grew();

    quint8 version_;
    Faults faults_;
    QByteArray body_;
    std::function<void(QByteArrayView)> sink_;
    qint64 flushed_ = 0;
};

enum class HeaderForm { Auto, Byte, Word, Dword };

struct FileOptions {
    QByteArray Magic = "WENOR2001";
    QByteArray Name = "Wydruk";
    HeaderForm Form = HeaderForm::Auto;
    int Level = Z_DEFAULT_COMPRESSION;
};

// The counted header string: Auto picks the shortest form that holds the text.
QByteArray HeaderStringBytes(QByteArrayView text, HeaderForm form = HeaderForm::Auto);
QByteArray HeaderBytes(const FileOptions &options = {});
// One whole zlib stream (RFC 1950).
QByteArray Compress(QByteArrayView body, int level = Z_DEFAULT_COMPRESSION);

// A zlib stream that holds `body` and then a block of a reserved type, which inflate refuses:
// reading fails with an inflate error right after `body`.
QByteArray CompressThenBreak(QByteArrayView body);

QByteArray BodyBytes(const Document &doc, Faults faults = {});
// Header and compressed body.
QByteArray FileBytes(const Document &doc, const FileOptions &options = {}, Faults faults = {});
QByteArray FileFromBody(QByteArrayView body, const FileOptions &options = {});

// Writes bytes to a file, failing the calling test's process loudly when it cannot.
void WriteBytes(const QString &path, QByteArrayView bytes);
void WriteWyd(const QString &path, const Document &doc, const FileOptions &options = {});

// A printout file written piece by piece: the header at once, the body compressed as it comes.
class StreamedWyd {
public:
    StreamedWyd(const QString &path, const FileOptions &options = {});
    ~StreamedWyd();
    StreamedWyd(const StreamedWyd &) = delete;
    StreamedWyd &operator=(const StreamedWyd &) = delete;
    void Write(QByteArrayView body);
    // Ends the zlib stream and closes the file; the answer is the file's size.
    qint64 Finish();

private:
    void Deflate(QByteArrayView data, int flush);
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace wydtest
