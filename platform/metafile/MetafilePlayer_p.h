#pragma once
// Plays records onto a painter, the page's units stretched into a target rectangle. Internal to PageMetafile.
#include "platform/metafile/PageMetafile.h"

#include <QPainter>

#include <optional>

namespace platform {

class MetafilePlayer {
public:
    // With visible (device pixels), drawing records wholly outside it are passed over.
    MetafilePlayer(QPainter &painter, QSize pageSize, const QRectF &target,
                   const std::optional<QRectF> &visible = std::nullopt);
    ~MetafilePlayer();
    MetafilePlayer(const MetafilePlayer &) = delete;
    MetafilePlayer &operator=(const MetafilePlayer &) = delete;

    // Plays one record; false when it cannot be played (nothing is drawn then).
    bool Play(const MetaRecord &record);

private:
    void FlushText();
    void UseDrawingState();
    void SetClip(const MetaRecord &record);
    bool OutsideVisible(const MetaRecord &record) const;

    QPainter &p_;
    QRectF target_;
    QTransform initial_;
    QTransform base_;  // page units to the painter's device
    QTransform world_; // the record transform times base_
    bool hadClip_ = false;
    bool clipToTarget_ = true;
    QRegion initialClip_;
    QPainter::RenderHints initialHints_;
    std::optional<QRectF> visible_;

    QColor textColor_ = Qt::black;
    QPen pen_;
    bool penSet_ = false;       // the painter holds pen_ (text drawing changes it)
    bool transformSet_ = false; // the painter holds world_

    // Consecutive text of one face and colour is drawn as one glyph run.
    std::shared_ptr<const FontFace> batchFace_;
    QList<quint32> batchGlyphs_;
    QList<QPointF> batchPositions_;
    QList<QRectF> batchDecorations_;
    QList<char32_t> batchCodes_; // one a glyph, 0 where a record did not know its characters
};

} // namespace platform
