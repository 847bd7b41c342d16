#include "platform/pdf/PdfDocument.h"

#include "platform/base/OrderedPool.h"
#include "platform/pdf/PdfContent_p.h"
#include "platform/pdf/PdfFax_p.h"
#include "platform/pdf/PdfJbig2_p.h"
#include "platform/pdf/PdfPredictor_p.h"
#include "platform/pdf/PdfXref_p.h"
#include "platform/text/FontFallback.h"

#include <QHash>
#include <QMap>
#include <QThread>

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace platform {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kHairMm = 1e-3;
// The level for whole streams: from 7 on, each level costs more time than the bytes it saves pay for.
constexpr int kStreamLevel = 6;

std::string Num(double v)
{
    std::string s;
    PdfNumber(s, v);
    return s;
}

// A whole stream in zlib's format. libdeflate packs a page's text twice as fast as zlib at the
// same level, about as small.
std::string Deflate(const char *data, size_t size, int level)
{
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> packer(
        libdeflate_alloc_compressor(level), &libdeflate_free_compressor);
    if (!packer)
        return {};
    std::string out(libdeflate_zlib_compress_bound(packer.get(), size), '\0');
    const size_t packed = libdeflate_zlib_compress(packer.get(), data, size, out.data(), out.size());
    if (packed == 0)
        return {};
    out.resize(packed);
    return out;
}

// A subset tag of six capitals, different for every font of a document.
std::string SubsetTag(int index)
{
    std::string tag = "WGAAAA";
    for (int i = 5; i >= 2 && index > 0; --i, index /= 26)
        tag[size_t(i)] = char('A' + index % 26);
    return tag;
}

std::string PostScriptName(const QRawFont &raw)
{
    std::string name;
    for (QChar c : raw.familyName() + QLatin1Char('-') + raw.styleName())
        if (c.unicode() > 32 && c.unicode() < 127 && !QStringLiteral("()<>[]{}/%#").contains(c))
            name.push_back(char(c.unicode()));
    return name;
}

// Whether every pixel of image is white paper; only the formats printed bands come in are looked
// into, others count as drawn.
bool IsBlank(const QImage &image)
{
    const int w = image.width();
    if (image.format() == QImage::Format_Mono) {
        const QList<QRgb> table = image.colorTable();
        if (table.size() < 2)
            return false;
        const bool zeroIsWhite = table[0] == qRgb(255, 255, 255);
        if (!zeroIsWhite && table[1] != qRgb(255, 255, 255))
            return false;
        const uchar white = zeroIsWhite ? 0x00 : 0xFF;
        const int full = w / 8;
        const uchar tailMask = uchar(0xFF00 >> (w % 8));
        for (int y = 0; y < image.height(); ++y) {
            const uchar *line = image.constScanLine(y);
            for (int i = 0; i < full; ++i)
                if (line[i] != white)
                    return false;
            if (w % 8 && ((line[full] ^ white) & tailMask))
                return false;
        }
        return true;
    }
    if (image.format() == QImage::Format_RGB16) {
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const quint16 *>(image.constScanLine(y));
            for (int x = 0; x < w; ++x)
                if (line[x] != 0xFFFF)
                    return false;
        }
        return true;
    }
    return false;
}

void AppendUtf16Hex(std::string &s, char32_t c)
{
    static const char hex[] = "0123456789ABCDEF";
    auto unit = [&](char16_t u) {
        for (int shift = 12; shift >= 0; shift -= 4)
            s.push_back(hex[(u >> shift) & 0xF]);
    };
    if (c > 0xFFFF) {
        unit(QChar::highSurrogate(c));
        unit(QChar::lowSurrogate(c));
    } else {
        unit(char16_t(c));
    }
}

} // namespace

class PdfDocumentWriter : public PdfResources {
public:
    explicit PdfDocumentWriter(QIODevice &out) : out_(out)
    {
        Write("%PDF-1.5\n%\xE2\xE3\xCF\xD3\n");
        // 1 catalog, 2 page tree, 3 fonts, 4 patterns, 5 graphics states, 6 the resources of a sheet
        // without images: written at the end and shared by every sheet.
        xref_.resize(7);
    }

    void BeginSheet(QSizeF paperMm)
    {
        EndSheet();
        inSheet_ = true;
        paperMm_ = paperMm;
    }

    void DrawPage(const PageMetafile &page, const QRectF &targetMm, const RecordCallback &change)
    {
        if (!inSheet_)
            return;
        const QSize size = page.Size();
        const double sx = size.width() > 0 ? targetMm.width() * kPointsPerMm / size.width() : 1.0;
        const double sy = size.height() > 0 ? targetMm.height() * kPointsPerMm / size.height() : 1.0;
        const QTransform pageToPdf(sx, 0, 0, -sy, targetMm.x() * kPointsPerMm,
                                   PaperHeight() - targetMm.y() * kPointsPerMm);
        PdfContent content(*this, pageToPdf, size);
        const auto add = [&](MetaRecord &record) {
            if (change && !change(record))
                return false;
            content.Add(record);
            return true;
        };
        // A drawing that pages share is written once as a form, unless records are changed on the
        // way (the change may not be the same on every page): those pages get its records in place.
        if (change) {
            page.Visit(add);
        } else {
            page.Visit(add, [&](const SharedRecording &drawing) {
                const std::string name = FormName(drawing, size);
                if (name.empty()) {
                    drawing.Visit(add);
                    return true;
                }
                content.Form(name);
                return true;
            });
        }
        FlushOps();
        drawn_.push_back(targetMm);
        const std::string stream = content.Finish();
        contents_.push_back(StreamObject("", stream.data(), stream.size(), true));
    }

    void DrawImage(const QImage &image, const QRectF &targetMm)
    {
        if (!inSheet_ || image.isNull())
            return;
        // A white band on bare paper changes nothing: the margins and the blank ends of printed pages.
        const bool onPaper = std::none_of(drawn_.begin(), drawn_.end(), [&](const QRectF &r) {
            // Bands meet edge to edge, where rounding may overlap them by a hair.
            const QRectF common = r.intersected(targetMm);
            return common.width() > kHairMm && common.height() > kHairMm;
        });
        if (onPaper && IsBlank(image))
            return;
        drawn_.push_back(targetMm);
        const std::string name = "B" + std::to_string(sheetImages_++);
        const int obj = image.depth() == 1                       ? KeepMonoImage(image)
                        : image.format() == QImage::Format_RGB16 ? WriteRgb16Image(image)
                                                                 : WriteImage(image);
        sheetXObjects_ += "/" + name + " " + std::to_string(obj) + " 0 R ";
        ops_ += "q ";
        for (double v : {targetMm.width() * kPointsPerMm, 0.0, 0.0, targetMm.height() * kPointsPerMm,
                         targetMm.x() * kPointsPerMm, PaperHeight() - targetMm.bottom() * kPointsPerMm}) {
            PdfNumber(ops_, v);
            ops_ += ' ';
        }
        ops_ += "cm /" + name + " Do Q\n";
    }

    void EndSheet()
    {
        if (!inSheet_)
            return;
        FlushOps();
        WriteMonoImages();
        std::string contents;
        for (int c : contents_)
            contents += std::to_string(c) + " 0 R ";
        // Sheets without images of their own share one resource dictionary, and sheets of the first
        // sheet's paper take its size from the page tree.
        const std::string resources = sheetXObjects_.empty()
                                          ? std::string("6 0 R")
                                          : "<< " + kResources + " /XObject << " + sheetXObjects_ + ">> >>";
        const std::string box =
            "/MediaBox [0 0 " + Num(paperMm_.width() * kPointsPerMm) + " " + Num(PaperHeight()) + "]";
        if (pages_.empty())
            treeBox_ = box;
        const int pageObj = NewObject();
        WriteObject(pageObj, "<< /Type /Page /Parent 2 0 R /Resources " + resources +
                                 (box == treeBox_ ? std::string() : " " + box) + " /Contents [" + contents + "] >>");
        pages_.push_back(pageObj);
        inSheet_ = false;
        contents_.clear();
        sheetXObjects_.clear();
        sheetImages_ = 0;
        sheetShared_.clear();
        drawn_.clear();
    }

    bool Finish()
    {
        EndSheet();
        std::string fonts, patterns, states;
        for (const auto &file : files_)
            WriteFontFile(*file);
        for (const auto &font : fonts_)
            fonts += "/" + font->name + " " + std::to_string(WriteFont(*font)) + " 0 R ";
        for (const auto &[key, entry] : hatches_)
            patterns += "/" + entry.first + " " + std::to_string(entry.second) + " 0 R ";
        for (const auto &[alpha, name] : opacities_) {
            const int obj = NewObject();
            WriteObject(obj, "<< /Type /ExtGState /ca " + Num(alpha / 1000.0) + " /CA " + Num(alpha / 1000.0) + " >>");
            states += "/" + name + " " + std::to_string(obj) + " 0 R ";
        }
        WriteObject(3, "<< " + fonts + ">>");
        WriteObject(4, "<< " + patterns + ">>");
        WriteObject(5, "<< " + states + ">>");
        std::string kids;
        for (int p : pages_)
            kids += std::to_string(p) + " 0 R ";
        WriteObject(2, "<< /Type /Pages /Count " + std::to_string(pages_.size()) + " /Kids [" + kids + "] " + treeBox_ +
                           " >>");
        WriteObject(6, "<< " + kResources + " /XObject << >> >>");
        WriteObject(1, "<< /Type /Catalog /Pages 2 0 R >>");
        WriteBatch();
        Drain();
        WriteXref();
        Flush();
        return ok_;
    }

    int PageCount() const { return int(pages_.size()) + (inSheet_ ? 1 : 0); }

    PdfFontUse *Font(const std::shared_ptr<const FontFace> &face) override
    {
        if (!face)
            return nullptr;
        auto cached = faceFonts_.find(face.get());
        if (cached != faceFonts_.end())
            return cached->second.second;
        const QRawFont &raw = face->RawFont();
        // A face the engine could not open at its size is drawn as outlines.
        if (!IsRealFace(raw)) {
            faceFonts_.emplace(face.get(), std::make_pair(face, nullptr));
            return nullptr;
        }
        const QString fileKey = raw.familyName() + QLatin1Char('|') + raw.styleName() + QLatin1Char('|') +
                                QString::number(int(raw.weight())) + QLatin1Char('|') +
                                QString::number(int(raw.style()));
        auto known = filesByKey_.find(fileKey);
        if (known == filesByKey_.end()) {
            auto file = std::make_unique<PdfFontFile>(raw);
            PdfFontFile *valid = nullptr;
            if (file->program.Valid()) {
                file->baseName = SubsetTag(int(files_.size())) + "+" + PostScriptName(raw);
                valid = file.get();
                files_.push_back(std::move(file));
            }
            known = filesByKey_.emplace(fileKey, valid).first;
        }
        PdfFontUse *use = nullptr;
        if (PdfFontFile *file = known->second) {
            const auto key = std::make_pair(file, face->PixelSize());
            auto sized = fontsBySize_.find(key);
            if (sized == fontsBySize_.end()) {
                auto font = std::make_unique<PdfFontUse>();
                font->name = "F" + std::to_string(fonts_.size());
                font->file = file;
                font->face = face;
                font->used.resize(file->used.size());
                sized = fontsBySize_.emplace(key, font.get()).first;
                fonts_.push_back(std::move(font));
            }
            use = sized->second;
        }
        // Keep the face alive: the cache is keyed by its address.
        faceFonts_.emplace(face.get(), std::make_pair(face, use));
        return use;
    }

    std::string Image(const QImage &image) override
    {
        const qint64 key = image.cacheKey();
        auto it = images_.find(key);
        if (it == images_.end()) {
            const std::string name = "Im" + std::to_string(images_.size());
            it = images_.emplace(key, std::make_pair(name, WriteImage(image))).first;
        }
        const std::string entry = "/" + it->second.first + " " + std::to_string(it->second.second) + " 0 R ";
        if (formImages_ && formImages_->find(entry) == std::string::npos)
            formImages_->append(entry);
        else if (!formImages_ && sheetShared_.insert(it->second.second).second)
            sheetXObjects_ += entry;
        return it->second.first;
    }

    std::string Opacity(double alpha) override
    {
        const int key = int(std::lround(alpha * 1000));
        auto it = opacities_.find(key);
        if (it != opacities_.end())
            return it->second;
        const std::string name = "Gs" + std::to_string(opacities_.size());
        opacities_.emplace(key, name);
        return name;
    }

    std::string Hatch(Qt::BrushStyle style, QColor color, const QTransform &pageToPdf) override
    {
        std::string key = std::to_string(int(style)) + "/" + std::to_string(color.rgb());
        for (double v : {pageToPdf.m11(), pageToPdf.m22(), pageToPdf.dx(), pageToPdf.dy()})
            key += "/" + Num(v);
        auto it = hatches_.find(key);
        if (it != hatches_.end())
            return it->second.first;
        const std::string name = "P" + std::to_string(hatches_.size());
        // Qt's hatches repeat every 8 device units, lines one unit wide.
        std::string ops = Num(color.redF()) + " " + Num(color.greenF()) + " " + Num(color.blueF()) + " RG 1 w ";
        const bool hor = style == Qt::HorPattern || style == Qt::CrossPattern;
        const bool ver = style == Qt::VerPattern || style == Qt::CrossPattern;
        const bool bdiag = style == Qt::BDiagPattern || style == Qt::DiagCrossPattern;
        const bool fdiag = style == Qt::FDiagPattern || style == Qt::DiagCrossPattern;
        if (hor)
            ops += "0 4 m 8 4 l S ";
        if (ver)
            ops += "4 0 m 4 8 l S ";
        if (bdiag)
            ops += "-1 9 m 9 -1 l S ";
        if (fdiag)
            ops += "-1 -1 m 9 9 l S ";
        const std::string dict = "/Type /Pattern /PatternType 1 /PaintType 1 /TilingType 1 /BBox [0 0 8 8] "
                                 "/XStep 8 /YStep 8 /Resources << >> /Matrix [" +
                                 Num(pageToPdf.m11()) + " 0 0 " + Num(pageToPdf.m22()) + " " + Num(pageToPdf.dx()) +
                                 " " + Num(pageToPdf.dy()) + "]";
        hatches_.emplace(key, std::make_pair(name, StreamObject(dict, ops.data(), ops.size(), false)));
        return name;
    }

private:
    static constexpr size_t kChunk = 1 << 16;

    // Resource name of a form XObject drawing a shared recording in page units on a page of size,
    // written the first time it is asked for; the sheet's resources name it. Empty when the recording
    // is better drawn in place: readers lay a hatch out in a form a shade differently than on the page.
    std::string FormName(const SharedRecording &drawing, QSize size)
    {
        const auto key = std::make_pair(drawing.Key(), std::make_pair(size.width(), size.height()));
        auto it = forms_.find(key);
        if (it == forms_.end()) {
            bool hatched = false;
            drawing.Visit([&](MetaRecord &record) {
                const Qt::BrushStyle style = record.brush.style();
                hatched = (record.type == EmrCreateBrushIndirect || record.type == EmrCreatePatternBrush) &&
                          style >= Qt::HorPattern && style <= Qt::DiagCrossPattern;
                return !hatched;
            });
            if (hatched)
                it = forms_.emplace(key, Form{{}, 0, drawing}).first;
        }
        if (it == forms_.end()) {
            PdfContent content(*this);
            std::string images;
            formImages_ = &images;
            drawing.Visit([&](MetaRecord &record) {
                content.Add(record);
                return true;
            });
            formImages_ = nullptr;
            const std::string stream = content.Finish();
            const int obj = StreamObject("/Type /XObject /Subtype /Form /BBox [0 0 " + Num(size.width()) + " " +
                                             Num(size.height()) + "] /Resources << " + kResources + " /XObject << " +
                                             images + ">> >>",
                                         stream.data(), stream.size(), true);
            Form form{"Fm" + std::to_string(forms_.size()), obj, drawing};
            it = forms_.emplace(key, std::move(form)).first;
        }
        if (it->second.obj && sheetShared_.insert(it->second.obj).second)
            sheetXObjects_ += "/" + it->second.name + " " + std::to_string(it->second.obj) + " 0 R ";
        return it->second.name;
    }

    double PaperHeight() const { return paperMm_.height() * kPointsPerMm; }

    // Drawing of images waiting since the last page: written as a content stream of its own.
    void FlushOps()
    {
        if (ops_.empty())
            return;
        contents_.push_back(StreamObject("", ops_.data(), ops_.size(), true));
        ops_.clear();
    }

    int NewObject()
    {
        xref_.emplace_back();
        return int(xref_.size() - 1);
    }

    void Write(const std::string &s) { Write(s.data(), s.size()); }
    // Small objects gather in a buffer: a page's few hundred bytes would otherwise cost a system
    // call each on an unbuffered file.
    void Write(const char *data, size_t size)
    {
        written_ += qint64(size);
        if (buffer_.size() + size <= kChunk) {
            buffer_.append(data, size);
            return;
        }
        Flush();
        if (size < kChunk)
            buffer_.append(data, size);
        else
            Put(data, size);
    }
    void Flush()
    {
        Put(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    void Put(const char *data, size_t size)
    {
        if (size > 0 && out_.write(data, qint64(size)) != qint64(size))
            ok_ = false;
    }

    // An object without a stream goes into the object stream being gathered.
    void WriteObject(int obj, const std::string &body)
    {
        batch_.Add(obj, body);
        if (batch_.Count() >= kObjectsPerStream)
            WriteBatch();
    }

    void WriteBatch()
    {
        if (batch_.Count() == 0)
            return;
        const PdfObjectBatch::Stream packed = batch_.Take();
        const int stream = StreamObject(packed.dictionary, packed.data.data(), packed.data.size(), true);
        for (size_t i = 0; i < packed.objects.size(); ++i)
            xref_[size_t(packed.objects[i])] = {0, stream, int(i)};
    }

    // The cross-reference stream, which also stands for the trailer, and the file's end.
    void WriteXref()
    {
        const int obj = NewObject();
        const qint64 start = written_;
        xref_[size_t(obj)].offset = start;
        const int bytes = XrefOffsetBytes(start);
        std::string rows = XrefRows(xref_, bytes, true);
        std::string packed = Deflate(rows.data(), rows.size(), kStreamLevel);
        std::string dict = "<< /Type /XRef /Size " + std::to_string(xref_.size()) + " /W [1 " + std::to_string(bytes) +
                           " 2] /Root 1 0 R";
        if (packed.empty()) {
            packed = XrefRows(xref_, bytes, false);
        } else {
            dict += " /Filter /FlateDecode /DecodeParms << /Predictor 15 /Columns " + std::to_string(bytes + 3) + " >>";
        }
        Write(std::to_string(obj) + " 0 obj\n" + dict + " /Length " + std::to_string(packed.size()) + " >>\nstream\n");
        Write(packed);
        Write("\nendstream\nendobj\nstartxref\n" + std::to_string(start) + "\n%%EOF\n");
    }

    // A stream object, compressed when asked and when that makes it smaller. Compressed ones are
    // packed by the pool while the caller goes on drawing; their bytes keep their place in the file.
    int StreamObject(const std::string &dict, const char *data, size_t size, bool compress)
    {
        if (!compress || pool_.Workers() == 0) {
            const int obj = NewObject();
            Emit(obj, StreamBytes(obj, dict, data, size, compress));
            return obj;
        }
        return LaterObject([dict, raw = std::string(data, size)](int obj) {
            return StreamBytes(obj, dict, raw.data(), raw.size(), true);
        });
    }

    // An object whose bytes make(obj) computes: on the pool while the caller goes on drawing, when
    // there is one. The bytes keep their place in the file.
    template <class Make> int LaterObject(Make &&make)
    {
        const int obj = NewObject();
        LaterObjects({obj}, [make = std::forward<Make>(make)](const std::vector<int> &objs) {
            return std::vector<std::string>{make(objs[0])};
        });
        return obj;
    }

    // Objects numbered objs whose bytes, one string each, make(objs) computes together.
    template <class Make> void LaterObjects(std::vector<int> objs, Make &&make)
    {
        if (pool_.Workers() == 0) {
            std::vector<std::string> bytes = make(objs);
            for (size_t i = 0; i < objs.size(); ++i)
                Emit(objs[i], std::move(bytes[i]));
            return;
        }
        pool_.Submit([objs, make = std::forward<Make>(make)] { return make(objs); });
        queue_.push_back({std::move(objs), {}, true});
        // Waiting for the oldest keeps the objects held at a few pages' worth.
        Drain(kMaxPacking);
    }

    static std::string StreamBytes(int obj, const std::string &dict, const char *data, size_t size, bool compress)
    {
        std::string packed;
        if (compress)
            packed = Deflate(data, size, kStreamLevel);
        const bool deflated = compress && !packed.empty();
        const char *body = deflated ? packed.data() : data;
        const size_t length = deflated ? packed.size() : size;
        std::string bytes = std::to_string(obj) + " 0 obj\n<< " + dict + (deflated ? " /Filter /FlateDecode" : "") +
                            " /Length " + std::to_string(length) + " >>\nstream\n";
        bytes.append(body, length);
        bytes += "\nendstream\nendobj\n";
        return bytes;
    }

    // Writes an object's bytes now, or after the streams still being packed before it.
    void Emit(int obj, std::string bytes)
    {
        if (queue_.empty()) {
            xref_[size_t(obj)].offset = written_;
            Write(bytes);
        } else {
            queue_.push_back({{obj}, {std::move(bytes)}, false});
        }
    }

    // Writes what is ready at the front of the queue, waiting for packed streams until at most
    // `keep` of them are left.
    void Drain(size_t keep = 0)
    {
        while (!queue_.empty()) {
            Queued &front = queue_.front();
            if (front.packing) {
                if (pool_.Pending() <= keep && !pool_.NextReady())
                    return;
                front.bytes = pool_.Next();
            }
            for (size_t i = 0; i < front.objs.size(); ++i) {
                xref_[size_t(front.objs[i])].offset = written_;
                Write(front.bytes[i]);
            }
            queue_.pop_front();
        }
    }

    // A stream compressed as lineOf hands it over line by line, written as it comes; its length
    // follows in an object of its own.
    int DeflatedStream(const std::string &dict, int lines, const std::function<void(int, std::string &)> &lineOf)
    {
        Drain();
        const int obj = NewObject();
        const int lengthObj = NewObject();
        xref_[size_t(obj)].offset = written_;
        Write(std::to_string(obj) + " 0 obj\n<< " + dict + " /Filter /FlateDecode /Length " +
              std::to_string(lengthObj) + " 0 R >>\nstream\n");
        z_stream z{};
        deflateInit(&z, 6);
        std::string line, out(kChunk, '\0');
        qint64 length = 0;
        auto pump = [&](int flush) {
            int rc = Z_OK;
            do {
                z.next_out = reinterpret_cast<Bytef *>(out.data());
                z.avail_out = uInt(out.size());
                rc = deflate(&z, flush);
                const size_t n = out.size() - z.avail_out;
                Write(out.data(), n);
                length += qint64(n);
            } while (z.avail_out == 0 || (flush == Z_FINISH && rc == Z_OK));
        };
        for (int y = 0; y < lines; ++y) {
            line.clear();
            lineOf(y, line);
            z.next_in = reinterpret_cast<Bytef *>(line.data());
            z.avail_in = uInt(line.size());
            pump(Z_NO_FLUSH);
        }
        z.next_in = nullptr;
        z.avail_in = 0;
        pump(Z_FINISH);
        deflateEnd(&z);
        Write("\nendstream\nendobj\n");
        WriteObject(lengthObj, std::to_string(length));
        return obj;
    }

    static std::string ImageDict(const QImage &image, int bits)
    {
        return "/Type /XObject /Subtype /Image /Width " + std::to_string(image.width()) + " /Height " +
               std::to_string(image.height()) + " /BitsPerComponent " + std::to_string(bits);
    }

    // A 1-bit band waits for the end of its sheet, whose bands share the shapes of their ink; its
    // object is numbered now. The image is shared, so the caller's next band detaches.
    int KeepMonoImage(const QImage &source)
    {
        const QImage image =
            source.format() == QImage::Format_Mono ? source : source.convertToFormat(QImage::Format_Mono);
        const int obj = NewObject();
        sheetBands_.push_back({image, obj});
        return obj;
    }

    // The sheet's 1-bit bands as 1-bit grey, coded on the pool while the next sheet is drawn: in
    // JBIG2 with one symbol dictionary for the sheet, each band that this makes smaller than CCITT
    // group 4, the others in group 4. A colour table whose first entry is the lighter one makes the
    // set bits black.
    void WriteMonoImages()
    {
        if (sheetBands_.empty())
            return;
        std::vector<int> numbers{NewObject()}; // the dictionary, then the bands
        for (const MonoBand &band : sheetBands_)
            numbers.push_back(band.obj);
        LaterObjects(numbers, [bands = std::move(sheetBands_)](const std::vector<int> &objs) {
            std::vector<Jbig2Band> input;
            for (const MonoBand &band : bands) {
                const QImage &image = band.image;
                const QList<QRgb> table = image.colorTable();
                const bool zeroIsWhite = table.size() >= 2 && qGray(table[0]) > qGray(table[1]);
                input.push_back({image.constBits(), image.bytesPerLine(), image.width(), image.height(), zeroIsWhite});
            }
            // Group 4 is coded only for bands that JBIG2 may not make smaller; it never comes out empty.
            std::vector<std::string> fax(bands.size());
            const auto faxOf = [&](size_t i) -> const std::string & {
                const Jbig2Band &b = input[i];
                if (fax[i].empty())
                    fax[i] = EncodeFaxG4(b.bits, b.stride, b.width, b.height, b.blackIsOne);
                return fax[i];
            };
            const Jbig2Sheet sheet = EncodeJbig2Sheet(input, [&](size_t i) { return faxOf(i).size(); });
            std::vector<std::string> out;
            out.push_back(sheet.globals.empty()
                              ? std::to_string(objs[0]) + " 0 obj\nnull\nendobj\n"
                              : StreamBytes(objs[0], "", sheet.globals.data(), sheet.globals.size(), false));
            for (size_t i = 0; i < bands.size(); ++i) {
                const QImage &image = bands[i].image;
                const std::string &jbig2 = sheet.bands[i];
                const std::string dict = ImageDict(image, 1) + " /ColorSpace /DeviceGray" +
                                         (jbig2.empty() ? " /Filter /CCITTFaxDecode /DecodeParms << /K -1 /Columns " +
                                                              std::to_string(image.width()) + " /Rows " +
                                                              std::to_string(image.height()) + " >>"
                                                        : " /Filter /JBIG2Decode /DecodeParms << /JBIG2Globals " +
                                                              std::to_string(objs[0]) + " 0 R >>");
                const std::string &body = jbig2.empty() ? faxOf(i) : jbig2;
                out.push_back(StreamBytes(objs[i + 1], dict, body.data(), body.size(), false));
            }
            return out;
        });
        sheetBands_.clear();
    }

    // 8-bit RGB, each row predicted from its neighbours before Flate.
    int WriteRgb16Image(const QImage &image)
    {
        std::string row, above;
        return DeflatedStream(ImageDict(image, 8) +
                                  " /ColorSpace /DeviceRGB /DecodeParms << /Predictor 15 /Colors 3 "
                                  "/BitsPerComponent 8 /Columns " +
                                  std::to_string(image.width()) + " >>",
                              image.height(), [&](int y, std::string &line) {
                                  const auto *px = reinterpret_cast<const quint16 *>(image.constScanLine(y));
                                  row.clear();
                                  for (int x = 0; x < image.width(); ++x) {
                                      const unsigned r = px[x] >> 11, g = (px[x] >> 5) & 0x3F, b = px[x] & 0x1F;
                                      row.push_back(char(r << 3 | r >> 2));
                                      row.push_back(char(g << 2 | g >> 4));
                                      row.push_back(char(b << 3 | b >> 2));
                                  }
                                  AppendPngRow(reinterpret_cast<const uchar *>(row.data()),
                                               y > 0 ? reinterpret_cast<const uchar *>(above.data()) : nullptr,
                                               row.size(), 3, line);
                                  row.swap(above);
                              });
    }

    int WriteImage(const QImage &source)
    {
        const QImage image =
            source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
        const int w = image.width(), h = image.height();
        std::string rgb;
        rgb.reserve(size_t(w) * size_t(h) * 3);
        std::string alpha;
        bool translucent = false;
        for (int y = 0; y < h; ++y) {
            const uchar *line = image.constScanLine(y);
            if (!image.hasAlphaChannel()) {
                rgb.append(reinterpret_cast<const char *>(line), size_t(w) * 3);
                continue;
            }
            for (int x = 0; x < w; ++x) {
                rgb.append(reinterpret_cast<const char *>(line + x * 4), 3);
                alpha.push_back(char(line[x * 4 + 3]));
                translucent = translucent || line[x * 4 + 3] != 255;
            }
        }
        std::string dict = "/Type /XObject /Subtype /Image /Width " + std::to_string(w) + " /Height " +
                           std::to_string(h) + " /BitsPerComponent 8";
        if (translucent) {
            const int mask = StreamObject(dict + " /ColorSpace /DeviceGray", alpha.data(), alpha.size(), true);
            dict += " /SMask " + std::to_string(mask) + " 0 R";
        }
        return StreamObject(dict + " /ColorSpace /DeviceRGB", rgb.data(), rgb.size(), true);
    }

    // The font program, its descriptor and its Unicode map, shared by the file's sizes.
    void WriteFontFile(PdfFontFile &file)
    {
        const PdfFontProgram &p = file.program;
        const QByteArray program = p.Subset(file.used);
        const int stream = StreamObject("/Length1 " + std::to_string(program.size()), program.constData(),
                                        size_t(program.size()), true);
        file.descriptor = NewObject();
        const int flags = 32 | (p.FixedPitch() ? 1 : 0);
        WriteObject(file.descriptor,
                    "<< /Type /FontDescriptor /FontName /" + file.baseName + " /Flags " + std::to_string(flags) +
                        " /FontBBox [" + std::to_string(p.XMin()) + " " + std::to_string(p.YMin()) + " " +
                        std::to_string(p.XMax()) + " " + std::to_string(p.YMax()) + "] /ItalicAngle 0 /Ascent " +
                        std::to_string(p.Ascent()) + " /Descent " + std::to_string(p.Descent()) + " /CapHeight " +
                        std::to_string(p.Ascent()) + " /StemV 80 /FontFile2 " + std::to_string(stream) + " 0 R >>");

        // Text codes: one byte for the first 128 glyphs used, 8000 plus the glyph index for the rest.
        const std::string ranges = "2 begincodespacerange\n<00> <7F>\n<8000> <FFFF>\nendcodespacerange\n";
        const std::string cmapName = file.baseName.substr(0, 6) + "-Codes";
        std::string codes = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                            "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> def\n"
                            "/CMapName /" +
                            cmapName + " def\n/CMapType 1 def\n" + ranges;
        std::string cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                           "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n" +
                           ranges;
        char hex[8];
        for (size_t at = 0; at < file.singles.size(); at += 100) {
            const size_t n = std::min<size_t>(100, file.singles.size() - at);
            codes += std::to_string(n) + " begincidchar\n";
            for (size_t k = at; k < at + n; ++k) {
                std::snprintf(hex, sizeof hex, "<%02zX> ", k);
                codes += hex + std::to_string(file.cid[file.singles[k]]) + "\n";
            }
            codes += "endcidchar\n";
        }
        codes += "1 begincidrange\n<8000> <FFFF> 0\nendcidrange\n"
                 "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        file.encoding = StreamObject("/Type /CMap /CMapName /" + cmapName +
                                         " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>",
                                     codes.data(), codes.size(), true);

        // Characters of every code used.
        std::vector<std::pair<std::string, char32_t>> mapped;
        for (size_t g = 0; g < file.unicode.size(); ++g) {
            if (!file.used[g] || !file.unicode[g])
                continue;
            if (file.singleCode[g] >= 0)
                std::snprintf(hex, sizeof hex, "<%02X>", unsigned(file.singleCode[g]));
            else
                std::snprintf(hex, sizeof hex, "<%04X>", 0x8000u + unsigned(file.cid[g]));
            mapped.emplace_back(hex, file.unicode[g]);
        }
        for (size_t at = 0; at < mapped.size(); at += 100) {
            const size_t n = std::min<size_t>(100, mapped.size() - at);
            cmap += std::to_string(n) + " beginbfchar\n";
            for (size_t k = at; k < at + n; ++k) {
                cmap += mapped[k].first + " <";
                AppendUtf16Hex(cmap, mapped[k].second);
                cmap += ">\n";
            }
            cmap += "endbfchar\n";
        }
        cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        file.toUnicode = StreamObject("", cmap.data(), cmap.size(), true);
    }

    int WriteFont(const PdfFontUse &font)
    {
        // Widths of the used glyphs by CID, consecutive CIDs grouped.
        const PdfFontFile &file = *font.file;
        std::vector<std::pair<qint32, quint16>> cids; // CID, glyph
        for (size_t g = 0; g < font.used.size(); ++g)
            if (font.used[g] && file.cid[g] >= 0)
                cids.emplace_back(file.cid[g], quint16(g));
        std::sort(cids.begin(), cids.end());
        std::string widths;
        for (size_t i = 0; i < cids.size();) {
            widths += std::to_string(cids[i].first) + " [";
            const size_t first = i;
            do {
                widths += Num(font.Width(cids[i].second)) + " ";
                ++i;
            } while (i < cids.size() && cids[i].first == cids[first].first + qint32(i - first));
            widths += "] ";
        }
        std::string cidToGid = "/Identity";
        if (file.Remapped()) {
            std::string map(2 * PdfFontFile::kCids, '\0');
            for (quint32 c = 0; c < PdfFontFile::kCids; ++c) {
                const qint32 g = file.cidGlyph[c];
                map[2 * c] = char(g > 0 ? g >> 8 : 0);
                map[2 * c + 1] = char(g > 0 ? g & 0xFF : 0);
            }
            cidToGid = std::to_string(StreamObject("", map.data(), map.size(), true)) + " 0 R";
        }
        const int cid = NewObject();
        WriteObject(cid, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + file.baseName +
                             " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
                             "/FontDescriptor " +
                             std::to_string(file.descriptor) + " 0 R /DW 0 /W [" + widths + "] /CIDToGIDMap " +
                             cidToGid + " >>");
        const int type0 = NewObject();
        WriteObject(type0, "<< /Type /Font /Subtype /Type0 /BaseFont /" + file.baseName + " /Encoding " +
                               std::to_string(file.encoding) + " 0 R /DescendantFonts [" + std::to_string(cid) +
                               " 0 R] /ToUnicode " + std::to_string(file.toUnicode) + " 0 R >>");
        return type0;
    }

    // Objects waiting for their place in the file: their bytes, or streams the pool is packing.
    struct Queued {
        std::vector<int> objs;
        std::vector<std::string> bytes;
        bool packing = false;
    };
    struct MonoBand {
        QImage image;
        int obj = 0;
    };
    static constexpr size_t kMaxPacking = 8;
    static constexpr size_t kObjectsPerStream = 100;
    inline static const std::string kResources =
        "/ProcSet [/PDF /Text /ImageB /ImageC] /Font 3 0 R /Pattern 4 0 R /ExtGState 5 0 R";

    QIODevice &out_;
    // The caller draws on one core and the pool packs on the others: a worker more than the cores
    // left only takes turns with the drawing (a third of the time on two cores).
    OrderedPool<std::vector<std::string>> pool_{QThread::idealThreadCount() > 1 ? QThread::idealThreadCount() - 1 : 0};
    std::deque<Queued> queue_;
    bool ok_ = true;
    qint64 written_ = 0;
    std::string buffer_;
    std::vector<PdfXrefEntry> xref_; // by object number; 0 is the free list head
    PdfObjectBatch batch_;
    std::vector<int> pages_;
    std::string treeBox_; // the first sheet's media box, which the page tree hands down
    // The sheet being written: its paper, content streams, images and drawing not yet in a stream.
    bool inSheet_ = false;
    QSizeF paperMm_;
    std::vector<int> contents_;
    std::string sheetXObjects_;
    int sheetImages_ = 0;
    std::set<int> sheetShared_; // document-wide images this sheet names
    std::vector<QRectF> drawn_; // where this sheet has drawing, in millimetres
    std::vector<MonoBand> sheetBands_;
    std::string ops_;
    std::vector<std::unique_ptr<PdfFontFile>> files_;
    std::map<QString, PdfFontFile *> filesByKey_; // null: the face cannot be embedded
    std::vector<std::unique_ptr<PdfFontUse>> fonts_;
    std::map<std::pair<PdfFontFile *, int>, PdfFontUse *> fontsBySize_;
    std::map<const FontFace *, std::pair<std::shared_ptr<const FontFace>, PdfFontUse *>> faceFonts_;
    std::map<qint64, std::pair<std::string, int>> images_;
    std::map<int, std::string> opacities_;
    std::map<std::string, std::pair<std::string, int>> hatches_;
    // Forms of shared recordings by recording and page size, without a name or object for those drawn
    // in place; each keeps its recording, whose address is its key.
    struct Form {
        std::string name;
        int obj = 0;
        SharedRecording drawing;
    };
    std::map<std::pair<const void *, std::pair<int, int>>, Form> forms_;
    std::string *formImages_ = nullptr; // the XObjects of the form being written, while one is
};

PdfDocument::PdfDocument(QIODevice &out) : w_(std::make_unique<PdfDocumentWriter>(out)) {}

PdfDocument::~PdfDocument() = default;

void PdfDocument::BeginSheet(QSizeF paperMm)
{
    w_->BeginSheet(paperMm);
}

void PdfDocument::DrawPage(const PageMetafile &page, const QRectF &targetMm, const RecordCallback &change)
{
    w_->DrawPage(page, targetMm, change);
}

void PdfDocument::DrawImage(const QImage &image, const QRectF &targetMm)
{
    w_->DrawImage(image, targetMm);
}

void PdfDocument::EndSheet()
{
    w_->EndSheet();
}

void PdfDocument::AddPage(const PageMetafile &page, QSizeF paperMm, const QRectF &targetMm,
                          const RecordCallback &change)
{
    w_->BeginSheet(paperMm);
    w_->DrawPage(page, targetMm, change);
    w_->EndSheet();
}

bool PdfDocument::Finish()
{
    return w_->Finish();
}

int PdfDocument::PageCount() const
{
    return w_->PageCount();
}

} // namespace platform
