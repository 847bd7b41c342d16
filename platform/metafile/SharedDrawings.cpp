#include "platform/metafile/SharedDrawings.h"

#include "platform/metafile/MetafileEngine_p.h"

#include <QHash>
#include <QPainter>

#include <vector>

namespace platform {

struct SharedDrawings::Kept {
    struct Recording {
        QRectF target;
        MetafileEngine::PainterState state;
        QFont font;
        std::shared_ptr<const MetafileData> records;
    };
    QHash<const void *, std::vector<Recording>> byKey;
    int count = 0;
};

SharedDrawings::SharedDrawings() : kept_(std::make_unique<Kept>()) {}

SharedDrawings::~SharedDrawings() = default;

void SharedDrawings::Draw(QPainter &painter, const void *key, const QRectF &target,
                          const std::function<void(QPainter &)> &draw)
{
    auto *engine = painter.isActive() ? dynamic_cast<MetafileEngine *>(painter.paintEngine()) : nullptr;
    if (!engine || engine->InShared()) {
        draw(painter);
        return;
    }
    Kept::Recording wanted{target, engine->State(), painter.font(), nullptr};
    std::vector<Kept::Recording> &recordings = kept_->byKey[key];
    for (const Kept::Recording &r : recordings) {
        if (r.target == wanted.target && r.state == wanted.state && r.font == wanted.font) {
            engine->PlaceShared(r.records);
            return;
        }
    }
    engine->BeginShared();
    try {
        draw(painter);
    } catch (...) {
        // What was drawn before the throw stays on the page, as it would have without sharing.
        engine->PlaceShared(engine->EndShared());
        throw;
    }
    wanted.records = engine->EndShared();
    engine->PlaceShared(wanted.records);
    recordings.push_back(std::move(wanted));
    ++kept_->count;
}

void SharedDrawings::Clear()
{
    kept_->byKey.clear();
    kept_->count = 0;
}

int SharedDrawings::Count() const
{
    return kept_->count;
}

bool MetafileEngine::PainterState::operator==(const PainterState &o) const
{
    return pen == o.pen && pen.isCosmetic() == o.pen.isCosmetic() && brush == o.brush &&
           brush.transform() == o.brush.transform() && brushOrigin == o.brushOrigin && bkColor == o.bkColor &&
           bkMode == o.bkMode && transform == o.transform && clip == o.clip && hints == o.hints &&
           composition == o.composition && opacity == o.opacity;
}

MetafileEngine::PainterState MetafileEngine::State()
{
    SyncPainterState();
    return {pen_,   brush_,       brushOrigin_, bkColor_, bkMode_, transform_, clipEnabled_ ? clip_ : DeviceClip(),
            hints_, composition_, opacity_};
}

void MetafileEngine::BeginShared()
{
    shared_ = std::make_shared<MetafileData>();
    shared_->size = owner_->d->size;
    pageFaceIndex_ = std::exchange(faceIndex_, {});
    rec_ = Recorded();
    rec_.brushOriginKnown = false;
}

std::shared_ptr<const MetafileData> MetafileEngine::EndShared()
{
    std::shared_ptr<MetafileData> done = std::exchange(shared_, nullptr);
    done->stream.squeeze();
    faceIndex_ = std::exchange(pageFaceIndex_, {});
    return done;
}

void MetafileEngine::PlaceShared(const std::shared_ptr<const MetafileData> &recording)
{
    MetafileData &page = Data();
    qsizetype index = page.shared.indexOf(recording);
    if (index < 0) {
        index = page.shared.size();
        page.shared.append(recording);
    }
    RecordWriter(page, RecShared, 4).Put(quint32(index));
    rec_ = Recorded();
    rec_.brushOriginKnown = false;
}

} // namespace platform
