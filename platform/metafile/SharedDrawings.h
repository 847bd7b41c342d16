#pragma once
// Drawings that many pages repeat, such as a picture in a page header, recorded once: every page
// drawing the same thing at the same place under the same painter state refers to one recording,
// which plays, enumerates and counts its memory as if each page held its records.
#include <QRectF>

#include <functional>
#include <memory>

class QPainter;

namespace platform {

class SharedDrawings {
public:
    SharedDrawings();
    ~SharedDrawings();
    SharedDrawings(const SharedDrawings &) = delete;
    SharedDrawings &operator=(const SharedDrawings &) = delete;

    // Draws through painter with draw(painter), which must draw what key names into target and
    // nothing that depends on anything else. On a painter recording a PageMetafile, the first such
    // drawing is recorded once and every later one with the same key, target and painter state
    // refers to that recording instead of drawing again; elsewhere draw simply draws.
    void Draw(QPainter &painter, const void *key, const QRectF &target, const std::function<void(QPainter &)> &draw);
    // Forgets the recordings (pages that refer to them keep them). Keys must not outlive this.
    void Clear();
    // Recordings kept.
    int Count() const;

private:
    struct Kept;
    std::unique_ptr<Kept> kept_;
};

} // namespace platform
