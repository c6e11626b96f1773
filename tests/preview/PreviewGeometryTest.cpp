// The preview's twips arithmetic: zoom steps at any picture size, zooming about a point, a view
// that grows, scroll-bar setup, bar offsets,
// drag clamping and the bars following a drag by percent.
#include "preview/PreviewGeometry.h"

#include <gtest/gtest.h>

using preview::PreviewGeometry;

namespace {

// A geometry with a loaded picture of the given pixel size, initialised and set up as the
// window does on its first activation.
PreviewGeometry initialised(int widthPx, int heightPx)
{
    PreviewGeometry g;
    g.pictureLoaded(widthPx * 15, heightPx * 15);
    g.initialise();
    g.redrawImage();
    g.setupScrollbars();
    return g;
}

}  // namespace

TEST(PreviewGeometryTest, HalvesGoToEvenAndSixteenBitsSaturate)
{
    EXPECT_EQ(preview::roundHalfEven(10.5), 10);
    EXPECT_EQ(preview::roundHalfEven(11.5), 12);
    EXPECT_EQ(preview::roundHalfEven(-2.5), -2);
    EXPECT_EQ(preview::toInt16(40000.0), 32767);
    EXPECT_EQ(preview::toInt16(-40000.0), -32768);
}

TEST(PreviewGeometryTest, StepsByAQuarterAndStopsAtBothEnds)
{
    PreviewGeometry g = initialised(300, 200);
    EXPECT_EQ(g.mOrigWidth, 300 * 15 - 2);
    EXPECT_EQ(g.mOrigHeight, 200 * 15 - 2);
    EXPECT_FLOAT_EQ(g.mZoom, 1.0f);

    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(g.zoomStep(0));
    EXPECT_FLOAT_EQ(g.mZoom, 2.75f);
    EXPECT_EQ(g.mZoomWidth, 12369);  // floor(4498 × 2.75)
    EXPECT_FALSE(g.zoomStep(0));
    EXPECT_FLOAT_EQ(g.mZoom, 2.75f);
    EXPECT_EQ(g.pictureWidth(), 12369);

    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(g.zoomStep(1));
    EXPECT_FLOAT_EQ(g.mZoom, 0.25f);
    EXPECT_FALSE(g.zoomStep(1));
    EXPECT_FALSE(g.zoomStep(7));  // any direction but 0 zooms out
    EXPECT_FLOAT_EQ(g.mZoom, 0.25f);
    EXPECT_EQ(g.pictureWidth(), 1124);  // floor(4498 × 0.25)
}

TEST(PreviewGeometryTest, EveryFactorIsShownWhateverThePictureSize)
{
    // 1400 × 2000 pixels: far wider and taller than the view at 1.0 already.
    PreviewGeometry g = initialised(1400, 2000);
    for (int step = 1; step <= 7; ++step) {
        EXPECT_TRUE(g.zoomStep(0));
        EXPECT_FLOAT_EQ(g.mZoom, 1.0f + 0.25f * step);
    }
    EXPECT_EQ(g.pictureWidth(), 57744);  // floor(20998 × 2.75)
    EXPECT_FALSE(g.zoomStep(0));
    for (int step = 1; step <= 10; ++step)
        EXPECT_TRUE(g.zoomStep(1));
    EXPECT_FLOAT_EQ(g.mZoom, 0.25f);
    EXPECT_TRUE(g.setZoom(1.0f));
    EXPECT_EQ(g.pictureWidth(), 20998);
}

TEST(PreviewGeometryTest, OneTwipStepsUpToAHundredTwipsOfOverflowThenTen)
{
    PreviewGeometry g;
    const auto setup = [&](int overflowX, int overflowY) {
        g.pictureLoaded(g.viewOuterWidth() + overflowX, g.viewOuterHeight() + overflowY);
        g.setupScrollbars();
    };
    setup(100, 101);
    EXPECT_TRUE(g.hBar().enabled);
    EXPECT_EQ(g.hBar().maximum, 100);
    EXPECT_EQ(g.hBar().step, 1);
    EXPECT_TRUE(g.vBar().enabled);
    EXPECT_EQ(g.vBar().maximum, 10);
    EXPECT_EQ(g.vBar().step, 10);

    setup(105, 115);  // 10.5 and 11.5 round to even
    EXPECT_EQ(g.hBar().maximum, 10);
    EXPECT_EQ(g.vBar().maximum, 12);

    setup(0, -500);
    EXPECT_FALSE(g.hBar().enabled);
    EXPECT_EQ(g.hBar().step, 0);
    EXPECT_FALSE(g.vBar().enabled);
    EXPECT_EQ(g.vBar().step, 0);
}

TEST(PreviewGeometryTest, ValueMovesThePictureAndStaysInRange)
{
    PreviewGeometry g;
    g.pictureLoaded(g.viewOuterWidth() + 1000, g.viewOuterHeight() + 50);
    g.setupScrollbars();
    g.setHValue(37);
    EXPECT_EQ(g.pictureLeft(), -370);
    g.setVValue(50);
    EXPECT_EQ(g.pictureTop(), -50);
    g.setHValue(5000);
    EXPECT_EQ(g.hBar().value, 100);
    EXPECT_EQ(g.pictureLeft(), -1000);
    g.setHValue(-3);
    EXPECT_EQ(g.hBar().value, 0);
    EXPECT_EQ(g.pictureLeft(), 0);
}

TEST(PreviewGeometryTest, VeryWideOverflowStillScrollsToTheFarEdge)
{
    PreviewGeometry g;
    // Past 32767 twips the offset leaves the 16-bit range; it must not wrap around.
    g.pictureLoaded(g.viewOuterWidth() + 40000, g.viewOuterHeight() + 400000);
    g.setupScrollbars();
    g.setHValue(g.hBar().maximum);
    EXPECT_EQ(g.hBar().step, 10);
    EXPECT_EQ(g.pictureLeft(), -40000);

    // Past 327675 twips ten twips a unit no longer fit a 16-bit bar: a coarser step takes over.
    EXPECT_LE(g.vBar().maximum, 32767);
    EXPECT_EQ(g.vBar().step % 10, 0);
    g.setVValue(g.vBar().maximum);
    EXPECT_NEAR(g.pictureTop(), -400000, g.vBar().step / 2.0);
}

TEST(PreviewGeometryTest, ZoomingSetsTheBarsUpForTheZoomedSizeAndEnablesByTheViewsInnerSize)
{
    PreviewGeometry g = initialised(700, 300);  // 10500 wide: overflow 1170, max 117
    EXPECT_EQ(g.hBar().maximum, 117);
    EXPECT_FALSE(g.vBar().enabled);
    g.setHValue(50);
    EXPECT_TRUE(g.zoomStep(0));  // 13122 wide: overflow 3792
    EXPECT_EQ(g.hBar().maximum, 379);
    EXPECT_EQ(g.hBar().step, 10);
    EXPECT_EQ(g.hBar().value, 0);
    EXPECT_EQ(g.pictureLeft(), 0);
    EXPECT_TRUE(g.hBar().enabled);
    EXPECT_FALSE(g.vBar().enabled);  // 5622 high: still fits
    g.setHValue(g.hBar().maximum);
    EXPECT_NEAR(g.pictureLeft() + g.pictureWidth(), g.viewOuterWidth(), 5);
    EXPECT_TRUE(g.zoomStep(1));
    EXPECT_TRUE(g.zoomStep(1));
    EXPECT_EQ(g.hBar().maximum, 0);
    EXPECT_FALSE(g.hBar().enabled);  // 7873 wide at 0.75 fits the view's 9270
}

TEST(PreviewGeometryTest, ZoomingAboutAPointKeepsThatPointInPlace)
{
    PreviewGeometry g = initialised(1000, 1000);  // 14998 twips square
    g.setHValue(200);
    g.setVValue(100);
    const double x = 3000, y = 2000;  // in the view's interior
    const double alongX = (x - g.pictureLeft()) / g.pictureWidth();
    const double alongY = (y - g.pictureTop()) / g.pictureHeight();
    ASSERT_TRUE(g.setZoomAround(2.0f, x, y));
    EXPECT_NEAR(g.pictureLeft() + alongX * g.pictureWidth(), x, g.hBar().step);
    EXPECT_NEAR(g.pictureTop() + alongY * g.pictureHeight(), y, g.vBar().step);
    EXPECT_EQ(g.pictureLeft(), -g.hBar().step * g.hBar().value);

    // Near the top left, zooming out cannot keep the point: the picture stops at its edge.
    ASSERT_TRUE(g.setZoomAround(0.25f, 0, 0));
    EXPECT_EQ(g.pictureLeft(), 0);
    EXPECT_EQ(g.pictureTop(), 0);
    EXPECT_FALSE(g.setZoomAround(3.0f, x, y));
    EXPECT_FLOAT_EQ(g.mZoom, 0.25f);
}

TEST(PreviewGeometryTest, AGrownViewKeepsThePictureWhereItWasAndNeedsLessScrolling)
{
    PreviewGeometry g = initialised(1000, 1000);
    g.setHValue(300);
    g.setVValue(300);
    EXPECT_EQ(g.pictureLeft(), -3000);
    g.setViewSize(g.viewOuterWidth() + 1000, g.viewOuterHeight() + 1000);
    EXPECT_EQ(g.pictureLeft(), -3000);
    EXPECT_EQ(g.hBar().maximum, 467);  // (14998 - 10330) / 10
    // Grown past where the picture stood, it moves only as far as its far edge allows.
    g.setViewSize(g.viewOuterWidth() + 3000, g.viewOuterHeight());
    EXPECT_EQ(g.pictureLeft(), -1670);
    // A view larger than the picture: the bars go off and the picture returns to the top left.
    g.setViewSize(20000, 20000);
    EXPECT_FALSE(g.hBar().enabled);
    EXPECT_FALSE(g.vBar().enabled);
    EXPECT_EQ(g.pictureLeft(), 0);
    EXPECT_EQ(g.pictureTop(), 0);
}

TEST(PreviewGeometryTest, NarrowPictureGoesFlushToEitherEdge)
{
    PreviewGeometry g = initialised(200, 100);  // 2998 × 1498 twips, view inner 9270 × 7365
    g.mouseDown(1000, 600);
    g.mouseMove(900, 600, true);  // to the left
    EXPECT_EQ(g.pictureLeft(), 9270 - 2998);
    EXPECT_EQ(g.pictureTop(), 7365 - 1498);  // not moved vertically, still put flush by the same rule
    g.mouseDown(1000, 600);
    g.mouseMove(1010, 610, true);  // to the right and down
    EXPECT_EQ(g.pictureLeft(), 0);
    EXPECT_EQ(g.pictureTop(), 0);

    g.mouseMove(0, 0, false);  // no button held: nothing happens
    EXPECT_EQ(g.pictureLeft(), 0);
}

TEST(PreviewGeometryTest, WidePictureStopsAtItsEdges)
{
    PreviewGeometry g = initialised(1000, 600);  // 14998 × 8998
    g.mouseDown(4000, 4000);
    g.mouseMove(2500, 3000, true);
    EXPECT_EQ(g.pictureLeft(), -1500);
    EXPECT_EQ(g.pictureTop(), -1000);
    g.mouseDown(100, 100);
    g.mouseMove(-20000, -20000, true);
    EXPECT_EQ(g.pictureLeft(), 9270 - 14998);
    EXPECT_EQ(g.pictureTop(), 7365 - 8998);
}

TEST(PreviewGeometryTest, ReleaseSetsTheBarsByPercentRoundedToEven)
{
    PreviewGeometry g;
    g.pictureLoaded(g.viewOuterWidth() + 1000, g.viewOuterHeight() + 104);  // h: max 100 step 10; v: max 10
    g.setupScrollbars();

    g.mouseDown(0, 0);
    g.mouseMove(-333, -26, true);  // 33.3 % and 25 %
    std::int16_t percent = 0;
    ASSERT_TRUE(g.horizontalPercent(percent));
    EXPECT_EQ(percent, 33);
    g.mouseUp();
    EXPECT_EQ(g.hBar().value, 33);
    EXPECT_EQ(g.pictureLeft(), -330);  // the bar's nearest position
    EXPECT_EQ(g.vBar().value, 2);      // 2.5 rounds to 2
    EXPECT_EQ(g.pictureTop(), -20);

    g.setVScrollbarByPercent(75);  // 7.5 rounds to 8
    EXPECT_EQ(g.vBar().value, 8);
    EXPECT_EQ(g.pictureTop(), -80);
    g.setHScrollbarByPercent(250);  // beyond the end: held at the maximum
    EXPECT_EQ(g.hBar().value, 100);
    EXPECT_EQ(g.pictureLeft(), -1000);

    g.setHScrollbarByPercent(-1);  // negative: nothing changes
    EXPECT_EQ(g.hBar().value, 100);
    EXPECT_EQ(g.pictureLeft(), -1000);
}

TEST(PreviewGeometryTest, PercentPastTheEndStaysInRangeAndNarrowPictureKeepsItsBar)
{
    PreviewGeometry g;
    g.pictureLoaded(g.viewOuterWidth() + 1000, 3000);
    g.setupScrollbars();
    g.mouseDown(0, 0);
    g.mouseMove(-5000, -3000, true);  // as far as the view's inner width allows: 106 %
    std::int16_t percent = 0;
    ASSERT_TRUE(g.horizontalPercent(percent));
    EXPECT_EQ(percent, 106);
    ASSERT_TRUE(g.verticalPercent(percent));
    EXPECT_LT(percent, 0);  // narrow vertically and flush with the bottom
    const double top = g.pictureTop();
    g.mouseUp();
    EXPECT_EQ(g.hBar().value, 100);
    EXPECT_EQ(g.vBar().value, 0);
    EXPECT_EQ(g.pictureTop(), top);  // the bar left it where it was dropped

    // Same outer size as the view: no percent, bar untouched.
    PreviewGeometry same;
    same.pictureLoaded(same.viewOuterWidth(), same.viewOuterHeight());
    same.setupScrollbars();
    EXPECT_FALSE(same.horizontalPercent(percent));
    EXPECT_FALSE(same.verticalPercent(percent));
}
