// The preview's tiles: square pieces of the picture drawn at the shown scale (zoom times the
// screen's device pixel ratio) when first exposed and kept for later repaints. The cache holds at
// most a budget of pixels, the tiles used longest ago giving way first, so its memory is bounded
// by what the view shows and not by the size of the sheet.
#pragma once

#include "preview/SheetPicture.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <list>
#include <map>
#include <tuple>

class QPainter;

namespace preview {

// Device pixels along a tile's side.
inline constexpr int kTileSide = 256;

class TileCache {
public:
    // Keeps `budgetPixels` device pixels of tiles at most (and always the tiles of one repaint).
    explicit TileCache(long long budgetPixels = 24LL * kTileSide * kTileSide);

    void setPicture(const SheetPicture& picture);
    const SheetPicture& picture() const { return picture_; }

    // Paints the part `exposed` (logical pixels of the picture shown at `zoom`) onto `target`,
    // whose origin is the shown picture's top left; tiles are drawn at zoom × devicePixelRatio.
    void paint(QPainter& target, const QRect& exposed, double zoom, double devicePixelRatio);

    // Tiles held now, and tiles drawn since the picture was set (a repaint from the cache draws none).
    int heldTiles() const { return static_cast<int>(tiles_.size()); }
    long long tilesDrawn() const { return drawn_; }
    void clear();

private:
    // Scale in millionths, tile column, tile row.
    using Key = std::tuple<long long, int, int>;
    struct Tile {
        QImage image;
        std::list<Key>::iterator use;
    };
    const QImage& tile(const Key& key, double scale);
    void trim(std::size_t keep);

    SheetPicture picture_;
    long long budgetPixels_;
    std::map<Key, Tile> tiles_;
    std::list<Key> uses_;  // most recently used first
    long long drawn_ = 0;
};

}  // namespace preview
