// The preview window's twips arithmetic.
#include "preview/PreviewGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace preview {

std::int64_t roundHalfEven(double value)
{
    // nearbyint follows the default rounding mode, which is round-half-to-even.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int16_t toInt16(double value)
{
    constexpr double lo = std::numeric_limits<std::int16_t>::min();
    constexpr double hi = std::numeric_limits<std::int16_t>::max();
    if (std::isnan(value))
        return 0;
    return static_cast<std::int16_t>(roundHalfEven(std::clamp(value, lo, hi)));
}

PreviewGeometry::PreviewGeometry(int viewOuterWidth, int viewOuterHeight, int viewBorder)
    : viewOuterWidth_(viewOuterWidth), viewOuterHeight_(viewOuterHeight), viewBorder_(viewBorder)
{
}

void PreviewGeometry::pictureLoaded(int widthTwips, int heightTwips)
{
    pictureWidth_ = std::max(0, widthTwips);
    pictureHeight_ = std::max(0, heightTwips);
}

void PreviewGeometry::readOriginalSize()
{
    // The holder has no border, so its inner size is its outer size.
    mOrigWidth = static_cast<std::int32_t>(roundHalfEven(holderWidth_ - 2.0));
    mOrigHeight = static_cast<std::int32_t>(roundHalfEven(holderHeight_ - 2.0));
}

void PreviewGeometry::initialise()
{
    holderWidth_ = pictureWidth_;
    holderHeight_ = pictureHeight_;
    mZoom = 1.0f;
    readOriginalSize();
    mZoomWidth = mOrigWidth;
    mZoomHeight = mOrigHeight;
}

bool PreviewGeometry::redrawImage()
{
    mZoomWidth = static_cast<std::int32_t>(std::floor(double(mOrigWidth) * double(mZoom)));
    mZoomHeight = static_cast<std::int32_t>(std::floor(double(mOrigHeight) * double(mZoom)));

    if (mZoomWidth >= kZoomWidthLimit || mZoomHeight >= kZoomHeightLimit) {
        // Refused: the next step starts again from the unscaled size.
        mZoom = 1.0f;
        readOriginalSize();
        mZoomWidth = mOrigWidth;
        mZoomHeight = mOrigHeight;
        return false;
    }

    pictureWidth_ = std::max(0, mZoomWidth);
    pictureHeight_ = std::max(0, mZoomHeight);
    setBarValue(h_, 0, left_);
    setBarValue(v_, 0, top_);
    h_.enabled = viewInnerWidth() < mZoomWidth;
    v_.enabled = viewInnerHeight() < mZoomHeight;
    return true;
}

void PreviewGeometry::setupBar(ScrollBarState& bar, double overflow, double& position)
{
    if (overflow <= 0) {
        // Nothing to scroll: the bar is off and holds no range.
        bar.enabled = false;
        bar.step = 0;
        bar.maximum = 0;
        bar.value = 0;
        return;
    }
    bar.enabled = true;
    if (overflow <= kFineScrollLimit) {
        bar.step = 1;
        bar.maximum = toInt16(overflow);
    } else {
        // Ten twips a unit; an overflow too wide for a 16-bit range takes a coarser step so that
        // the bar still reaches the picture's far edge.
        int step = kCoarseScrollStep;
        while (roundHalfEven(overflow / step) > std::numeric_limits<std::int16_t>::max())
            step += kCoarseScrollStep;
        bar.step = step;
        bar.maximum = toInt16(overflow / step);
    }
    setBarValue(bar, 0, position);
}

void PreviewGeometry::setupScrollbars()
{
    left_ = 0;
    top_ = 0;
    setupBar(h_, double(pictureWidth_) - viewOuterWidth_, left_);
    setupBar(v_, double(pictureHeight_) - viewOuterHeight_, top_);
}

bool PreviewGeometry::zoomStep(int direction)
{
    return setZoom(direction == 0 ? mZoom + kZoomStep : mZoom - kZoomStep);
}

bool PreviewGeometry::setZoom(float factor)
{
    if (factor < kMinZoom || factor > kMaxZoom)
        return false;
    mZoom = factor;
    return redrawImage();
}

void PreviewGeometry::setBarValue(ScrollBarState& bar, int value, double& position)
{
    value = std::clamp(value, 0, std::max(0, bar.maximum));
    if (value == bar.value)
        return;
    bar.value = value;
    // Worked in 32 bits: with a coarse step the offset may pass the 16-bit range.
    position = -(static_cast<std::int32_t>(bar.step) * static_cast<std::int32_t>(value));
}

void PreviewGeometry::setHValue(int value) { setBarValue(h_, value, left_); }
void PreviewGeometry::setVValue(int value) { setBarValue(v_, value, top_); }

void PreviewGeometry::mouseDown(float x, float y)
{
    mGrabX = x;
    mGrabY = y;
}

double PreviewGeometry::clampDrag(double position, int viewInner, int pictureOuter)
{
    // The first rule wins, so a picture narrower than the view lands at 0 or flush with the far edge.
    if (position > 0)
        return 0;
    if (double(viewInner) - pictureOuter > position)
        return double(viewInner) - pictureOuter;
    return position;
}

void PreviewGeometry::mouseMove(float x, float y, bool buttonHeld)
{
    if (!buttonHeld)
        return;
    const double newLeft = clampDrag(left_ - mGrabX + x, viewInnerWidth(), pictureWidth_);
    const double newTop = clampDrag(top_ - mGrabY + y, viewInnerHeight(), pictureHeight_);
    left_ = newLeft;
    top_ = newTop;
}

static bool percentAlong(double position, int pictureOuter, int viewOuter, std::int16_t& percent)
{
    const double overflow = double(pictureOuter) - viewOuter;
    if (overflow == 0)
        return false;
    const std::int64_t p = roundHalfEven(std::abs(position) / overflow * 100.0);
    percent = toInt16(double(std::clamp<std::int64_t>(p, INT32_MIN, INT32_MAX)));
    return true;
}

bool PreviewGeometry::horizontalPercent(std::int16_t& percent) const
{
    return percentAlong(left_, pictureWidth_, viewOuterWidth_, percent);
}

bool PreviewGeometry::verticalPercent(std::int16_t& percent) const
{
    return percentAlong(top_, pictureHeight_, viewOuterHeight_, percent);
}

void PreviewGeometry::setBarByPercent(ScrollBarState& bar, std::int16_t percent, double& position)
{
    if (percent < 0)
        return;
    setBarValue(bar, toInt16(percent / 100.0 * bar.maximum), position);
}

void PreviewGeometry::setHScrollbarByPercent(std::int16_t percent) { setBarByPercent(h_, percent, left_); }
void PreviewGeometry::setVScrollbarByPercent(std::int16_t percent) { setBarByPercent(v_, percent, top_); }

void PreviewGeometry::mouseUp()
{
    std::int16_t percent = 0;
    if (horizontalPercent(percent))
        setHScrollbarByPercent(percent);
    if (verticalPercent(percent))
        setVScrollbarByPercent(percent);
}

}  // namespace preview
