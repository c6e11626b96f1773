// The preview window's arithmetic, kept free of widgets: zoom factor, zoomed picture size, the
// picture area's position inside the view, the two scroll bars and drag-panning. Every length is
// in twips (15 to a pixel); the window only maps the results onto its widgets.
#pragma once

#include "app/Twips.h"

#include <cstdint>

namespace preview {

using app::kTwipsPerPixel;

inline constexpr float kZoomStep = 0.25f;
inline constexpr float kMinZoom = 0.25f;
inline constexpr float kMaxZoom = 2.75f;

// Overflow up to this many twips scrolls one twip per bar unit; beyond it ten twips per unit.
inline constexpr int kFineScrollLimit = 100;
inline constexpr int kCoarseScrollStep = 10;

// The view area of the window: outer size, and the border that makes its inner size smaller.
inline constexpr int kViewOuterWidth = 9330;
inline constexpr int kViewOuterHeight = 7425;
inline constexpr int kViewBorder = 30;

// Rounds to the nearest integer, halves to the even neighbour.
std::int64_t roundHalfEven(double value);
// Rounds half-to-even into the 16-bit signed range, saturating at its ends.
std::int16_t toInt16(double value);

// One scroll bar: its range is 0..maximum; step is the twips one unit moves the picture
// (0 while the bar has nothing to scroll).
struct ScrollBarState {
    bool enabled = false;
    int maximum = 0;
    int value = 0;
    int step = 0;
};

class PreviewGeometry {
public:
    PreviewGeometry(int viewOuterWidth = kViewOuterWidth, int viewOuterHeight = kViewOuterHeight,
                    int viewBorder = kViewBorder);

    int viewOuterWidth() const { return mViewOuterWidth; }
    int viewOuterHeight() const { return mViewOuterHeight; }
    int viewInnerWidth() const { return mViewOuterWidth - 2 * mViewBorder; }
    int viewInnerHeight() const { return mViewOuterHeight - 2 * mViewBorder; }

    // A new picture was assigned to the picture area, which sizes itself to it.
    void pictureLoaded(int widthTwips, int heightTwips);

    // Initialisation after a hand-over: the holder takes the picture area's size and picture,
    // the factor goes back to 1.0. The caller then redraws and sets up the bars.
    void initialise();

    // Computes the zoomed size, which the picture area is repainted at, and sets both bars up
    // afresh for it (at 0), so that they reach the zoomed picture's edges. Always true: every
    // factor is shown, the picture area drawing only what the view exposes of it.
    bool redrawImage();

    // Ranges and steps of both bars from the picture area's overflow beyond the view.
    void setupScrollbars();

    // The factor a zoom step asks for: Zoom In is direction 0, anything else zooms out.
    float steppedZoom(int direction) const;
    // Takes the factor when it lies within 0.25 .. 2.75; false (and nothing changed) otherwise.
    bool acceptZoom(float factor);
    // A step, or a factor, followed by redrawImage. Both return whether to repaint.
    bool zoomStep(int direction);
    bool setZoom(float factor);
    // A factor taken and redrawn as setZoom does, keeping the picture's point under (x, y) of the
    // view's interior where it was, as near as the bars' steps allow.
    bool setZoomAround(float factor, double x, double y);

    // The view area took a new outer size (the window was resized): the bars are set up for it,
    // keeping the picture where it was as near as their steps allow.
    void setViewSize(int outerWidth, int outerHeight);

    // A bar's value changed (by the user or by the program); the picture area follows.
    void setHValue(int value);
    void setVValue(int value);

    // Drag-panning, with the pointer in the picture area's own coordinates.
    void mouseDown(float x, float y);
    void mouseMove(float x, float y, bool buttonHeld);
    void mouseUp();

    // How far along its overflow the picture area stands, in percent; nothing when the picture
    // area's outer size equals the view's (no overflow to measure against).
    bool horizontalPercent(std::int16_t& percent) const;
    bool verticalPercent(std::int16_t& percent) const;

    void setHScrollbarByPercent(std::int16_t percent);
    void setVScrollbarByPercent(std::int16_t percent);

    // Picture area, relative to the view's inner top left.
    double pictureLeft() const { return mLeft; }
    double pictureTop() const { return mTop; }
    int pictureWidth() const { return mPictureWidth; }
    int pictureHeight() const { return mPictureHeight; }

    const ScrollBarState& hBar() const { return mHBar; }
    const ScrollBarState& vBar() const { return mVBar; }
    // Bar units a click in a bar's trough moves: one view's worth (1 while the bar is off).
    int hPageStep() const;
    int vPageStep() const;

    // The window's state under the names the rest of the program knows it by.
    float mZoom = 1.0f;
    std::int32_t mOrigWidth = 0;
    std::int32_t mOrigHeight = 0;
    std::int32_t mZoomWidth = 0;
    std::int32_t mZoomHeight = 0;
    float mGrabX = 0;
    float mGrabY = 0;

private:
    void readOriginalSize();
    static void setupBar(ScrollBarState& bar, double overflow, double& position);
    // Sets a bar up for the picture's current size, then moves it to the value nearest to
    // putting the picture's left (or top) at `position`.
    static void resetBarNear(ScrollBarState& bar, double overflow, double& position, double wanted);
    static void setBarValue(ScrollBarState& bar, int value, double& position);
    static void setBarByPercent(ScrollBarState& bar, std::int16_t percent, double& position);
    static double clampDrag(double position, int viewInner, int pictureOuter);

    int mViewOuterWidth;
    int mViewOuterHeight;
    int mViewBorder;

    double mLeft = 0;
    double mTop = 0;
    int mPictureWidth = 0;
    int mPictureHeight = 0;

    int mHolderWidth = 0;
    int mHolderHeight = 0;

    ScrollBarState mHBar;
    ScrollBarState mVBar;
};

}  // namespace preview
