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
    : mViewOuterWidth(viewOuterWidth), mViewOuterHeight(viewOuterHeight), mViewBorder(viewBorder)
{
}

void PreviewGeometry::pictureLoaded(int widthTwips, int heightTwips)
{
    mPictureWidth = std::max(0, widthTwips);
    mPictureHeight = std::max(0, heightTwips);
}

void PreviewGeometry::readOriginalSize()
{
    // The holder has no border, so its inner size is its outer size.
    mOrigWidth = static_cast<std::int32_t>(roundHalfEven(mHolderWidth - 2.0));
    mOrigHeight = static_cast<std::int32_t>(roundHalfEven(mHolderHeight - 2.0));
}

void PreviewGeometry::initialise()
{
    mHolderWidth = mPictureWidth;
    mHolderHeight = mPictureHeight;
    mZoom = 1.0f;
    readOriginalSize();
    mZoomWidth = mOrigWidth;
    mZoomHeight = mOrigHeight;
}

bool PreviewGeometry::redrawImage()
{
    mZoomWidth = static_cast<std::int32_t>(std::floor(double(mOrigWidth) * double(mZoom)));
    mZoomHeight = static_cast<std::int32_t>(std::floor(double(mOrigHeight) * double(mZoom)));

    mPictureWidth = std::max(0, mZoomWidth);
    mPictureHeight = std::max(0, mZoomHeight);
    mLeft = 0;
    mTop = 0;
    setupBar(mHBar, double(mPictureWidth) - mViewOuterWidth, mLeft);
    setupBar(mVBar, double(mPictureHeight) - mViewOuterHeight, mTop);
    mHBar.enabled = viewInnerWidth() < mZoomWidth;
    mVBar.enabled = viewInnerHeight() < mZoomHeight;
    return true;
}

void PreviewGeometry::resetBarNear(ScrollBarState& bar, double overflow, double& position, double wanted)
{
    // Whether the bar is on is the caller's rule, by the view's inner size.
    const bool enabled = bar.enabled;
    setupBar(bar, overflow, position);
    bar.enabled = enabled;
    position = 0;
    if (bar.step > 0) {
        const int value = static_cast<int>(std::clamp<std::int64_t>(roundHalfEven(-wanted / bar.step), 0, bar.maximum));
        bar.value = -1;  // always moves, so the picture lands at the value
        setBarValue(bar, value, position);
    }
}

bool PreviewGeometry::setZoomAround(float factor, double x, double y)
{
    const double oldWidth = std::max(1, mPictureWidth);
    const double oldHeight = std::max(1, mPictureHeight);
    const double alongX = (x - mLeft) / oldWidth;
    const double alongY = (y - mTop) / oldHeight;
    if (!setZoom(factor))
        return false;
    resetBarNear(mHBar, double(mPictureWidth) - mViewOuterWidth, mLeft, x - alongX * mPictureWidth);
    resetBarNear(mVBar, double(mPictureHeight) - mViewOuterHeight, mTop, y - alongY * mPictureHeight);
    return true;
}

void PreviewGeometry::setViewSize(int outerWidth, int outerHeight)
{
    mViewOuterWidth = outerWidth;
    mViewOuterHeight = outerHeight;
    const double left = mLeft;
    const double top = mTop;
    resetBarNear(mHBar, double(mPictureWidth) - mViewOuterWidth, mLeft, left);
    resetBarNear(mVBar, double(mPictureHeight) - mViewOuterHeight, mTop, top);
    mHBar.enabled = viewInnerWidth() < mPictureWidth;
    mVBar.enabled = viewInnerHeight() < mPictureHeight;
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
    mLeft = 0;
    mTop = 0;
    setupBar(mHBar, double(mPictureWidth) - mViewOuterWidth, mLeft);
    setupBar(mVBar, double(mPictureHeight) - mViewOuterHeight, mTop);
}

float PreviewGeometry::steppedZoom(int direction) const
{
    return direction == 0 ? mZoom + kZoomStep : mZoom - kZoomStep;
}

bool PreviewGeometry::acceptZoom(float factor)
{
    if (factor < kMinZoom || factor > kMaxZoom)
        return false;
    mZoom = factor;
    return true;
}

bool PreviewGeometry::zoomStep(int direction) { return setZoom(steppedZoom(direction)); }

bool PreviewGeometry::setZoom(float factor) { return acceptZoom(factor) && redrawImage(); }

void PreviewGeometry::setBarValue(ScrollBarState& bar, int value, double& position)
{
    value = std::clamp(value, 0, std::max(0, bar.maximum));
    if (value == bar.value)
        return;
    bar.value = value;
    // Worked in 32 bits: with a coarse step the offset may pass the 16-bit range.
    position = -(static_cast<std::int32_t>(bar.step) * static_cast<std::int32_t>(value));
}

static int pageStep(const ScrollBarState& bar, int viewInner)
{
    return bar.step > 0 ? std::max(1, viewInner / bar.step) : 1;
}

int PreviewGeometry::hPageStep() const { return pageStep(mHBar, viewInnerWidth()); }
int PreviewGeometry::vPageStep() const { return pageStep(mVBar, viewInnerHeight()); }

void PreviewGeometry::setHValue(int value) { setBarValue(mHBar, value, mLeft); }
void PreviewGeometry::setVValue(int value) { setBarValue(mVBar, value, mTop); }

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
    const double newLeft = clampDrag(mLeft - mGrabX + x, viewInnerWidth(), mPictureWidth);
    const double newTop = clampDrag(mTop - mGrabY + y, viewInnerHeight(), mPictureHeight);
    mLeft = newLeft;
    mTop = newTop;
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
    return percentAlong(mLeft, mPictureWidth, mViewOuterWidth, percent);
}

bool PreviewGeometry::verticalPercent(std::int16_t& percent) const
{
    return percentAlong(mTop, mPictureHeight, mViewOuterHeight, percent);
}

void PreviewGeometry::setBarByPercent(ScrollBarState& bar, std::int16_t percent, double& position)
{
    if (percent < 0)
        return;
    setBarValue(bar, toInt16(percent / 100.0 * bar.maximum), position);
}

void PreviewGeometry::setHScrollbarByPercent(std::int16_t percent) { setBarByPercent(mHBar, percent, mLeft); }
void PreviewGeometry::setVScrollbarByPercent(std::int16_t percent) { setBarByPercent(mVBar, percent, mTop); }

void PreviewGeometry::mouseUp()
{
    std::int16_t percent = 0;
    if (horizontalPercent(percent))
        setHScrollbarByPercent(percent);
    if (verticalPercent(percent))
        setVScrollbarByPercent(percent);
}

}  // namespace preview
