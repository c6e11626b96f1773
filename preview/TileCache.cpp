// The preview's tile cache.
#include "preview/TileCache.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace preview {

TileCache::TileCache(long long budgetPixels) : budgetPixels_(budgetPixels) {}

void TileCache::setPicture(const SheetPicture& picture)
{
    clear();
    picture_ = picture;
    drawn_ = 0;
}

void TileCache::clear()
{
    tiles_.clear();
    uses_.clear();
}

const QImage& TileCache::tile(const Key& key, double scale)
{
    auto found = tiles_.find(key);
    if (found != tiles_.end()) {
        uses_.splice(uses_.begin(), uses_, found->second.use);
        return found->second.image;
    }
    QImage image(kTileSide, kTileSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setClipRect(image.rect());
        painter.translate(-double(std::get<1>(key)) * kTileSide, -double(std::get<2>(key)) * kTileSide);
        picture_.paint(painter, scale);
    }
    ++drawn_;
    uses_.push_front(key);
    return tiles_.emplace(key, Tile{std::move(image), uses_.begin()}).first->second.image;
}

void TileCache::trim(std::size_t keep)
{
    const std::size_t budget = static_cast<std::size_t>(std::max<long long>(1, budgetPixels_ / (kTileSide * kTileSide)));
    while (tiles_.size() > std::max(budget, keep)) {
        tiles_.erase(uses_.back());
        uses_.pop_back();
    }
}

void TileCache::paint(QPainter& target, const QRect& exposed, double zoom, double devicePixelRatio)
{
    if (picture_.isNull() || exposed.isEmpty() || zoom <= 0)
        return;
    const double scale = zoom * devicePixelRatio;
    const long long scaleKey = std::llround(scale * 1e6);
    // The exposed part in device pixels, and the tiles covering it.
    const QRectF device(exposed.x() * devicePixelRatio, exposed.y() * devicePixelRatio,
                        exposed.width() * devicePixelRatio, exposed.height() * devicePixelRatio);
    const int firstColumn = std::max(0, static_cast<int>(std::floor(device.left() / kTileSide)));
    const int firstRow = std::max(0, static_cast<int>(std::floor(device.top() / kTileSide)));
    const int lastColumn = static_cast<int>(std::ceil(device.right() / kTileSide)) - 1;
    const int lastRow = static_cast<int>(std::ceil(device.bottom() / kTileSide)) - 1;

    std::size_t used = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const QImage& image = tile(Key{scaleKey, column, row}, scale);
            ++used;
            // Drawn at device pixels: a tile lands pixel for pixel, never resampled.
            const QRectF at(column * double(kTileSide) / devicePixelRatio, row * double(kTileSide) / devicePixelRatio,
                            kTileSide / devicePixelRatio, kTileSide / devicePixelRatio);
            target.drawImage(at, image);
        }
    }
    trim(used);
}

}  // namespace preview
