#pragma once
// A paint device that keeps glyph runs instead of pixels (the page metafile). Text drawing hands it
// whole runs with their characters, so that they stay text for extraction and PDF export; a painter
// on any other device gets the glyphs drawn.
#include "platform/text/GdiFont.h"

#include <QColor>
#include <QList>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QStringView>

#include <memory>

class QPainter;

namespace platform {

class GlyphRecorder : public QPaintEngine {
public:
    static constexpr Type kType = Type(QPaintEngine::User + 71);

    // The recorder behind painter's paint engine, or null when it paints elsewhere.
    static GlyphRecorder *From(QPainter *painter);

    // Keeps glyphs at their natural advances in color, under the painter's current state. text is
    // what the glyphs show, one code point per glyph. flags: kTextUnderline, kTextStrikeOut.
    virtual void RecordText(const std::shared_ptr<const FontFace> &face, const QColor &color, QPointF origin,
                            const quint16 *glyphs, int count, int flags, QStringView text) = 0;

    // Keeps glyphs at given baseline positions (logical units), decoration bars as text-coloured fills.
    virtual void RecordPositionedText(const std::shared_ptr<const FontFace> &face, const QColor &color,
                                      const QList<quint32> &glyphs, const QList<QPointF> &positions,
                                      const QList<QRectF> &decorations, const QList<char32_t> &codes) = 0;

    Type type() const final { return kType; }

protected:
    using QPaintEngine::QPaintEngine;
};

} // namespace platform
