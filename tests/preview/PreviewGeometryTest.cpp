// The preview's twips arithmetic: zoom steps and the size limit, scroll-bar setup, bar offsets,
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

TEST(PreviewGeometryTest, SizeLimitFallsBackToOneWithoutRepaintAndNextStepShowsOneAndAQuarter)
{
    PreviewGeometry g = initialised(600, 300);  // 8998 × 4498 twips unscaled
    EXPECT_TRUE(g.zoomStep(0));
    EXPECT_TRUE(g.zoomStep(0));
    EXPECT_TRUE(g.zoomStep(0));
    EXPECT_TRUE(g.zoomStep(0));
    EXPECT_FLOAT_EQ(g.mZoom, 2.0f);
    EXPECT_EQ(g.pictureWidth(), 17996);
    g.mouseDown(0, 0);
    g.mouseMove(-700, 0, true);
    const double leftBefore = g.pictureLeft();
    const auto barBefore = g.hBar();

    // 2.25 would make it 20245 twips wide: refused.
    EXPECT_FALSE(g.zoomStep(0));
    EXPECT_FLOAT_EQ(g.mZoom, 1.0f);
    EXPECT_EQ(g.mZoomWidth, 8998);
    EXPECT_EQ(g.mZoomHeight, 4498);
    EXPECT_EQ(g.pictureWidth(), 17996);  // still showing at its previous size
    EXPECT_EQ(g.pictureLeft(), leftBefore);
    EXPECT_EQ(leftBefore, -700);
    EXPECT_EQ(g.hBar().value, barBefore.value);
    EXPECT_EQ(g.hBar().enabled, barBefore.enabled);

    EXPECT_TRUE(g.zoomStep(0));
    EXPECT_FLOAT_EQ(g.mZoom, 1.25f);
    EXPECT_EQ(g.pictureWidth(), 11247);  // floor(8998 × 1.25)
}

TEST(PreviewGeometryTest, HeightAloneReachesTheLimit)
{
    PreviewGeometry g = initialised(200, 400);  // 5998 high: 1.5 gives 8997, 1.75 gives 10496
    EXPECT_TRUE(g.setZoom(1.5f));
    EXPECT_FALSE(g.setZoom(1.75f));
    EXPECT_FLOAT_EQ(g.mZoom, 1.0f);
}

TEST(PreviewGeometryTest, SnapshotAlreadyAtTheLimitStaysUnscaled)
{
    // 1400 pixels: 20998 twips at 1.0, already past the limit.
    PreviewGeometry g = initialised(1400, 300);
    EXPECT_EQ(g.pictureWidth(), 21000);  // as loaded
    EXPECT_FALSE(g.zoomStep(0));
    EXPECT_FLOAT_EQ(g.mZoom, 1.0f);
    EXPECT_EQ(g.pictureWidth(), 21000);
    EXPECT_TRUE(g.zoomStep(1));  // 0.75: 15748 twips, under the limit
    EXPECT_FLOAT_EQ(g.mZoom, 0.75f);
    EXPECT_EQ(g.pictureWidth(), 15748);

    // 1800 pixels: even 0.75 is too wide, so smaller factors are never reached.
    PreviewGeometry wide = initialised(1800, 300);
    EXPECT_FALSE(wide.zoomStep(1));
    EXPECT_FLOAT_EQ(wide.mZoom, 1.0f);
    EXPECT_FALSE(wide.zoomStep(1));
    EXPECT_FLOAT_EQ(wide.mZoom, 1.0f);
    EXPECT_EQ(wide.pictureWidth(), 27000);
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

TEST(PreviewGeometryTest, ZoomingKeepsTheRangesAndEnablesByTheViewsInnerSize)
{
    PreviewGeometry g = initialised(700, 300);  // 10500 wide: overflow 1170, max 117
    EXPECT_EQ(g.hBar().maximum, 117);
    EXPECT_FALSE(g.vBar().enabled);
    g.setHValue(50);
    EXPECT_TRUE(g.zoomStep(0));
    EXPECT_EQ(g.hBar().maximum, 117);
    EXPECT_EQ(g.hBar().step, 10);
    EXPECT_EQ(g.hBar().value, 0);
    EXPECT_EQ(g.pictureLeft(), 0);
    EXPECT_TRUE(g.hBar().enabled);
    EXPECT_FALSE(g.vBar().enabled);  // 5622 high: still fits
    EXPECT_TRUE(g.zoomStep(1));
    EXPECT_TRUE(g.zoomStep(1));
    EXPECT_EQ(g.hBar().maximum, 117);
    EXPECT_FALSE(g.hBar().enabled);  // 7873 wide at 0.75 fits the view's 9270
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
