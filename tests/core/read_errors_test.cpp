// Malformed bodies: every error of the format with its class and message, bodies that end
// early, and files built to exhaust memory or the stack.
#include "core/MLineWydruk.h"
#include "tests/support/EmfBuilder.h"
#include "tests/support/ReadHelpers.h"
#include "tests/support/WydWriter.h"

#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/resource.h>

using namespace wydtest;

namespace {

QString ReadError(int marker)
{
    return QStringLiteral("Błąd czytania z pliku [%1]").arg(marker);
}

// A small printout that has every kind of record and string, so that any marker can be broken.
Document Complete(quint8 version = 7)
{
    Document doc;
    doc.Version = version;
    doc.Styles.push_back({.Name = "Tabela"});
    Record item;
    item.Title.Lines.push_back({.Fields = {{.X = 10, .StyleName = "Tabela", .Text = "pozycja"}}});
    doc.Root.Items.push_back(item);
    doc.Root.Summary.Lines.push_back({.Fields = {{.Text = "suma"}}});
    return doc;
}

void ReadBody(const QByteArray &body)
{
    TMLineWydruk m;
    ReadBodyBytes(body, m);
}

#if defined(__SANITIZE_ADDRESS__)
#define WYD_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WYD_UNDER_ASAN 1
#endif
#endif

// Caps the address space for the scope, so that a reader which trusts a count and allocates
// for it fails the test with bad_alloc instead of passing slowly. AddressSanitizer reserves
// huge shadow mappings, so under it the cap is left off.
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(rlim_t extra)
    {
#ifndef WYD_UNDER_ASAN
        unsigned long pages = 0;
        FILE *f = std::fopen("/proc/self/statm", "r");
        if (!f)
            return;
        const bool ok = std::fscanf(f, "%lu", &pages) == 1;
        std::fclose(f);
        if (!ok || getrlimit(RLIMIT_AS, &old_) != 0)
            return;
        rlimit capped = old_;
        capped.rlim_cur = pages * 4096 + extra;
        applied_ = setrlimit(RLIMIT_AS, &capped) == 0;
#else
        (void)extra;
#endif
    }
    ~AddressSpaceCap()
    {
        if (applied_)
            setrlimit(RLIMIT_AS, &old_);
    }

private:
    rlimit old_{};
    bool applied_ = false;
};

} // namespace

TEST(ReadErrors, UnknownVersionNamesTheVersion)
{
    for (int version : {8, 9, 255}) {
        Document doc = Complete();
        doc.Version = static_cast<quint8>(version);
        BodyWriter w(7);
        w.WholeDocument(doc);
        EXPECT_TRUE(Raises<EReadFileError>([&] { ReadBody(w.Body()); },
                                           QStringLiteral("Błąd odczytu - nieznana wersja pliku [%1]").arg(version)));
    }
}

TEST(ReadErrors, ResolutionOfZeroOrLessIsRefused)
{
    for (qint32 resolution : {0, -1200}) {
        Document doc = Complete();
        doc.Resolution = resolution;
        EXPECT_TRUE(Raises<EReadFileError>(
            [&] { ReadBody(BodyBytes(doc)); },
            QStringLiteral("Błąd odczytu - nieprawidłowa rozdzielczość pliku [%1]").arg(resolution)));
    }
}

TEST(ReadErrors, EveryWrongMarkerNamesTheExpectedOne)
{
    const struct {
        const char *name;
        quint8 broken;
        int inMessage;
        Faults faults;
    } rows[] = {
        {"style", 1, 1, {}},
        {"record", 3, 3, {}},
        {"block", 4, 4, {}},
        {"line", 5, 5, {}},
        {"field", 6, 6, {}},
        {"item list", 12, 12, {}},
        {"record trailer", 15, 15, {}},
        {"short string", 101, 101, {}},
        // Both string forms report the short string's marker.
        {"long string", 102, 101, {.LongStrings = true}},
    };
    for (const auto &row : rows) {
        Faults faults = row.faults;
        faults.CorruptMarker = row.broken;
        EXPECT_TRUE(Raises<EReadFileError>([&] { ReadBody(BodyBytes(Complete(), faults)); }, ReadError(row.inMessage)))
            << row.name;
    }
}

TEST(ReadErrors, NoTrailerBeforeVersionTwo)
{
    // A version-1 body has no trailer, so a 15 where the next block should be is a wrong marker.
    Document doc = Complete(1);
    BodyWriter w(1);
    w.Globals(doc).Styles(doc).Marker(3).BlockRecord({}).BlockRecord({}).Marker(12).I32(0);
    w.BlockRecord({}).BlockRecord({});
    EXPECT_NO_THROW(ReadBody(w.Body()));
    BodyWriter bad(1);
    bad.Globals(doc).Styles(doc).Marker(3).BlockRecord({}).Marker(15);
    EXPECT_TRUE(Raises<EReadFileError>([&] { ReadBody(bad.Body()); }, ReadError(4)));
}

TEST(ReadErrors, BodyEndingEarlyFailsWithWhatWasBeingRead)
{
    const Document doc = Complete();
    const Style style;
    const Field field{.Text = "abc"};
    auto start = [&] { return BodyWriter(7).Globals(doc); };
    const struct {
        const char *name;
        QByteArray body;
        int marker;
    } rows[] = {
        {"empty body", QByteArray(), 3},
        {"among the global values", start().Body().chopped(2), 3},
        {"before the style count", start().Body(), 1},
        // The style's three strings take 17 bytes: cutting 20 ends among its numbers.
        {"inside a style", start().I32(1).StyleRecord(style).Body().chopped(20), 1},
        {"inside a style's strings", start().I32(1).StyleRecord(style).Body().chopped(2), 101},
        {"before the root", start().I32(0).Body(), 3},
        {"inside a block header", start().I32(0).Marker(3).Marker(4).U8(1).Body(), 4},
        {"inside a line header", start().I32(0).Marker(3).Marker(4).U8(1).U8(0).I32(1).Marker(5).Body(), 5},
        {"inside a field",
         start().I32(0).Marker(3).Marker(4).U8(1).U8(0).I32(1).Marker(5).U8(0).U8(1).Marker(6).I32(3).Body(), 6},
        {"inside a field's text",
         start().I32(0).Marker(3).Marker(4).U8(1).U8(0).I32(1).Marker(5).U8(0).U8(1).FieldRecord(field).Body().chopped(
             1),
         101},
        {"before the item marker", start().I32(0).Marker(3).BlockRecord({}).BlockRecord({}).Body(), 12},
        {"inside the item count", start().I32(0).Marker(3).BlockRecord({}).BlockRecord({}).Marker(12).U8(0).Body(), 12},
        {"before the trailer", start().I32(0).RecordHead({}, 0).BlockRecord({}).BlockRecord({}).Body(), 15},
        {"inside the label",
         start().I32(0).RecordHead({}, 0).BlockRecord({}).BlockRecord({}).Marker(15).U8(101).U8(4).Body(), 101},
        {"before the break byte",
         start().I32(0).RecordHead({}, 0).BlockRecord({}).BlockRecord({}).Marker(15).String("x").Body(), 15},
    };
    for (const auto &row : rows)
        EXPECT_TRUE(Raises<EReadFileError>([&] { ReadBody(row.body); }, ReadError(row.marker))) << row.name;
}

TEST(ReadErrors, BytesAfterTheModelAreIgnored)
{
    BodyWriter w(7);
    w.WholeDocument(Complete()).Bytes("whatever follows");
    TMLineWydruk m;
    ReadFileBytes(FileFromBody(w.Body()) + "and after the stream too", m);
    EXPECT_EQ(m.TotalLineCount(), 2);
}

TEST(ReadErrors, TruncatedFileFailsWithAReadError)
{
    const QByteArray file = FileBytes(Complete());
    // The last bytes of a deflate stream may hold no more output than the end code.
    for (qsizetype keep = HeaderBytes().size() + 2; keep < file.size() - 10; ++keep) {
        TMLineWydruk m;
        try {
            ReadFileBytes(file.left(keep), m);
            ADD_FAILURE() << "a file cut at " << keep << " was read";
        } catch (const EReadFileError &e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Błąd czytania z pliku ["))) << e.what();
        }
    }
}

TEST(ReadErrors, InflateErrorOutsideAStringIsACompressionError)
{
    const Document doc = Complete();
    const auto read = [](const QByteArray &zlib) {
        TMLineWydruk m;
        ReadFileBytes(HeaderBytes() + zlib, m);
    };
    EXPECT_TRUE(Raises<ECompressionError>([&] { read("this is no zlib stream"); }, "error"));
    EXPECT_TRUE(
        Raises<ECompressionError>([&] { read(CompressThenBreak(BodyWriter(7).Globals(doc).Body())); }, "error"));
}

TEST(ReadErrors, InflateErrorInsideAStringIsTheStringReadError)
{
    const Document doc = Complete();
    const QByteArray body = BodyWriter(7).Globals(doc).I32(1).StyleRecord({}).Body();
    const auto read = [](const QByteArray &zlib) {
        TMLineWydruk m;
        ReadFileBytes(HeaderBytes() + zlib, m);
    };
    // Cut inside the style's first string (after its marker and inside its text).
    EXPECT_TRUE(Raises<EReadFileError>([&] { read(CompressThenBreak(body.left(body.indexOf("Courier") + 3))); },
                                       ReadError(101)));
}

TEST(ReadErrors, PicturesThatCannotBeBuiltAreInvalidMetafiles)
{
    const QByteArray good = EmfBuilder(0, 0, 1000, 500, 38, 19).Rectangle(0, 0, 10, 10, 0).Finish();
    const auto withSize = [&](quint32 size) {
        QByteArray emf = good;
        qToLittleEndian(size, emf.data() + kEmfSizeOffset);
        return emf;
    };
    QByteArray badSignature = good;
    badSignature[kEmfSignatureOffset] = 'X';
    const struct {
        const char *name;
        QByteArray picture;
    } rows[] = {
        {"wrong signature", badSignature},
        {"size beyond the body", withSize(static_cast<quint32>(good.size()) + 1000)},
        {"size of four gigabytes", withSize(0xFFFFFFF0u)},
        {"shorter than the header", good.left(60)},
    };
    for (const auto &row : rows) {
        Document doc;
        doc.Root.Title.Lines.push_back({.Fields = {{.Kind = 6, .Picture = row.picture}}});
        // Without the rest of the printout behind it, the picture runs into the end of the body.
        BodyWriter w(7);
        w.Globals(doc).Styles(doc).Marker(3).Marker(4).U8(1).U8(0).I32(1).LineRecord(doc.Root.Title.Lines[0]);
        AddressSpaceCap cap(512u << 20);
        EXPECT_TRUE(Raises<EInvalidGraphic>([&] { ReadBody(w.Body()); }, "Metafile is not valid")) << row.name;
    }
}

TEST(MemorySafety, HugeCountsFailWithTheReadErrorWithoutReserving)
{
    const Document doc = Complete();
    const struct {
        const char *name;
        QByteArray body;
        int marker;
    } rows[] = {
        {"styles", BodyWriter(7).Globals(doc).I32(2000000000).StyleRecord({}).Body(), 1},
        {"items", BodyWriter(7).Globals(doc).I32(0).RecordHead({}, 2000000000).RecordTree({}).Body(), 3},
        {"lines",
         BodyWriter(7).Globals(doc).I32(0).Marker(3).Marker(4).U8(1).U8(0).I32(2000000000).LineRecord({}).Body(), 5},
        {"fields",
         BodyWriter(7).Globals(doc).I32(0).Marker(3).Marker(4).U8(1).U8(0).I32(1).Marker(5).U8(0).U8(255).Body(), 6},
    };
    for (const auto &row : rows) {
        AddressSpaceCap cap(512u << 20);
        EXPECT_TRUE(Raises<EReadFileError>([&] { ReadBody(row.body); }, ReadError(row.marker))) << row.name;
    }
}

TEST(MemorySafety, NestingIsLimitedToTenThousandLevels)
{
    const Document doc = Complete();
    TMLineWydruk m;
    ReadBodyBytes(BodyWriter(7).Globals(doc).I32(0).NestedRecords(10000).Body(), m);
    int depth = 0;
    for (const TMLine *r = &m.Root(); !r->Items().empty(); r = r->Items()[0])
        ++depth;
    EXPECT_EQ(depth, 10000);
    // Reading again empties the deep tree first.
    EXPECT_TRUE(Raises<EReadFileError>(
        [&] { ReadBodyBytes(BodyWriter(7).Globals(doc).I32(0).NestedRecords(10001).Body(), m); }, ReadError(3)));
    EXPECT_TRUE(Raises<EReadFileError>(
        [&] { ReadBodyBytes(BodyWriter(7).Globals(doc).I32(0).NestedRecords(100000).Body(), m); }, ReadError(3)));
}
