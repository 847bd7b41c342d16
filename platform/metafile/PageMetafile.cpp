#include "platform/metafile/PageMetafile.h"

#include "platform/metafile/MetafileEngine_p.h"
#include "platform/metafile/MetafilePlayer_p.h"
#include "platform/metafile/RecordWalk_p.h"

#include <climits>

namespace platform {

namespace {

qsizetype DataBytes(const MetafileData &d, QSet<qint64> *counted)
{
    qsizetype bytes = sizeof(MetafileData) + d.stream.capacity();
    bytes += d.faces.capacity() * qsizetype(sizeof(std::shared_ptr<const FontFace>));
    bytes += d.pens.capacity() * qsizetype(sizeof(QPen)) + d.brushes.capacity() * qsizetype(sizeof(QBrush));
    for (const QPainterPath &path : d.paths)
        bytes += qsizetype(sizeof(QPainterPath)) + path.elementCount() * qsizetype(sizeof(QPainterPath::Element));
    for (const QImage &image : d.images) {
        bytes += qsizetype(sizeof(QImage));
        if (!counted || !counted->contains(image.cacheKey())) {
            bytes += image.sizeInBytes();
            if (counted)
                counted->insert(image.cacheKey());
        }
    }
    bytes += d.shared.capacity() * qsizetype(sizeof(std::shared_ptr<const MetafileData>));
    for (const std::shared_ptr<const MetafileData> &shared : d.shared) {
        // Image keys are never negative; a shared recording's is its address, negated.
        const qint64 key = -qint64(quintptr(shared.get()));
        if (!counted || !counted->contains(key)) {
            bytes += DataBytes(*shared, counted);
            if (counted)
                counted->insert(key);
        }
    }
    return bytes;
}

} // namespace

PageMetafile::PageMetafile() : PageMetafile(QSize(kPageWidth, kPageHeight)) {}

PageMetafile::PageMetafile(QSize size) : d(new MetafileData)
{
    d->size = size;
}

PageMetafile::PageMetafile(const PageMetafile &other) : QPaintDevice(), d(other.d) {}

PageMetafile &PageMetafile::operator=(const PageMetafile &other)
{
    d = other.d;
    return *this;
}

PageMetafile::~PageMetafile() = default;

QSize PageMetafile::Size() const
{
    return d->size;
}

void PageMetafile::SetSize(QSize size)
{
    d->size = size;
}

void PageMetafile::Reserve(qsizetype bytes)
{
    d->stream.reserve(bytes);
}

qsizetype PageMetafile::StreamBytes() const
{
    return d->stream.size();
}

void PageMetafile::Clear()
{
    const QSize size = d->size;
    d = new MetafileData;
    d->size = size;
    if (engine_ && engine_->isActive())
        engine_->ResetRecordedState();
}

bool PageMetafile::IsEmpty() const
{
    return d->records == 0;
}

int PageMetafile::RecordCount() const
{
    int count = d->records + 1;
    if (d->shared.isEmpty())
        return count;
    // A reference counts as the records it stands for.
    RecordReader reader(d->stream);
    while (reader.Next()) {
        if (reader.Type() != RecShared)
            continue;
        const quint32 index = reader.Get<quint32>();
        if (reader.Ok() && index < quint32(d->shared.size()))
            count += d->shared[index]->records - 1;
    }
    return count;
}

qsizetype PageMetafile::MemoryBytes(QSet<qint64> *counted) const
{
    return DataBytes(*d, counted);
}

void PageMetafile::Play(QPainter &painter, const QRectF &target) const
{
    Enumerate(painter, target, RecordCallback());
}

int PageMetafile::Enumerate(QPainter &painter, const QRectF &target, const RecordCallback &callback) const
{
    return Replay(painter, target, std::nullopt, callback);
}

int PageMetafile::EnumerateVisible(QPainter &painter, const QRectF &target, const QRectF &visible,
                                   const RecordCallback &callback) const
{
    return Replay(painter, target, visible, callback);
}

int PageMetafile::Replay(QPainter &painter, const QRectF &target, const std::optional<QRectF> &visible,
                         const RecordCallback &callback) const
{
    if (!painter.isActive())
        return 0;
    // Hold the data so that a callback painting on this page cannot free it under us.
    const QSharedDataPointer<MetafileData> data = d;
    MetafilePlayer player(painter, data->size, target, visible);
    int failed = 0;
    MetaRecord record = HeaderRecord(*data);
    if (callback && !callback(record))
        return failed;
    if (!player.Play(record))
        ++failed;
    WalkRecords(*data, record, failed, [&](MetaRecord &r) {
        if (callback && !callback(r))
            return false;
        if (!player.Play(r))
            ++failed;
        return true;
    });
    return failed;
}

int PageMetafile::Visit(const RecordCallback &callback) const
{
    return Visit(callback, nullptr);
}

int PageMetafile::Visit(const RecordCallback &callback, const SharedCallback &shared) const
{
    const QSharedDataPointer<MetafileData> data = d;
    MetaRecord record = HeaderRecord(*data);
    if (!callback(record))
        return 0;
    int failed = 0;
    if (shared)
        WalkRecords(*data, record, failed, callback,
                    [&](quint32 index) { return shared(SharedRecording(data->shared[index])); });
    else
        WalkRecords(*data, record, failed, callback);
    return failed;
}

int SharedRecording::Visit(const RecordCallback &callback) const
{
    int failed = 0;
    MetaRecord record;
    WalkRecords(*d_, record, failed, callback);
    return failed;
}

QPaintEngine *PageMetafile::paintEngine() const
{
    if (!engine_)
        engine_ = std::make_unique<MetafileEngine>(const_cast<PageMetafile *>(this));
    return engine_.get();
}

int PageMetafile::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return d->size.width();
    case PdmHeight:
        return d->size.height();
    case PdmWidthMM:
        return int(std::lround(d->size.width() * 25.4 / kReferenceDpi));
    case PdmHeightMM:
        return int(std::lround(d->size.height() * 25.4 / kReferenceDpi));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return kReferenceDpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace platform
