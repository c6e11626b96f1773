// The preview window driven as a user drives it: hand-over, zoom buttons, scroll bars, dragging
// with the mouse, the pointer, "< Back" and closing.
#include "tests/preview/PreviewFixture.h"

#include "app/Trap.h"
#include "preview/PictureArea.h"

#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using preview::Form3;

using Form3Window = PreviewFixture;

TEST_F(Form3Window, HandOverShowsThePictureUnscaledAndHidesTheMainWindow)
{
    handOver(QSize(300, 200));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Rostelle Software"));
    EXPECT_EQ(form->excelFile(), workbook);
    EXPECT_FALSE(form->initialisationPending());
    EXPECT_FLOAT_EQ(form->zoom(), 1.0f);
    EXPECT_EQ(picture()->size(), QSize(300, 200));
    EXPECT_EQ(shownAt(10, 10), QColor(Qt::red));
    EXPECT_EQ(shownAt(290, 10), QColor(Qt::blue));
    // The fixed layout at 15 twips a pixel: 9840 × 9360 twips, and a row for printing below it.
    EXPECT_EQ(form->size(), QSize(656, 624 + 35));
    EXPECT_EQ(bar("HScroll1")->geometry(), QRect(8, 503, 622, 17));
    EXPECT_EQ(button("PushButton6")->geometry(), QRect(328, 590, 320, 27));
    EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("Zoom:"));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(Form3Window, AMissingOrUnreadablePictureFailsTheHandOverForTheCallersTrap)
{
    EXPECT_THROW(form->handOver(env.tempDir() + "/none.bmp", workbook, &mainWindow), app::Failure);
    writeFile(env.tempDir() + "/garbage.bmp", "not a picture");
    EXPECT_THROW(form->setPictureFromFile(env.tempDir() + "/garbage.bmp"), app::Failure);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(Form3Window, APictureHandedOverInMemoryIsShownAsItIsAndWithoutOneTheFileIsRead)
{
    QImage painted(120, 80, QImage::Format_RGB32);
    painted.fill(Qt::green);
    form->loadPicture(env.tempDir() + "/not-read.bmp", painted);
    form->showPreview();
    EXPECT_EQ(picture()->size(), QSize(120, 80));
    EXPECT_EQ(shownAt(60, 40), QColor(Qt::green));

    form->loadPicture(writePicture(QSize(300, 200)), QImage());
    form->showPreview();
    EXPECT_EQ(picture()->size(), QSize(300, 200));
    EXPECT_EQ(shownAt(10, 10), QColor(Qt::red));
    EXPECT_THROW(form->loadPicture(env.tempDir() + "/none.bmp", QImage()), app::Failure);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(Form3Window, EveryZoomStepIsShownHoweverLargeThePictureAndOneHundredPercentComesBack)
{
    handOver(QSize(600, 700));  // taller than the view at 1.0 already
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(button("PushButton1"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->zoom(), 2.75f);
    EXPECT_EQ(picture()->size(), QSize(1650, 1925));
    EXPECT_EQ(shownAt(815, 960), QColor(Qt::red));
    EXPECT_EQ(shownAt(835, 960), QColor(Qt::blue));
    QTest::mouseClick(button("PushButton1"), Qt::LeftButton);  // past 2.75: nothing changes
    EXPECT_FLOAT_EQ(form->zoom(), 2.75f);

    for (int i = 0; i < 10; ++i)
        QTest::mouseClick(button("PushButton2"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->zoom(), 0.25f);
    EXPECT_EQ(picture()->size(), QSize(150, 175));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(button("PushButton1"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->zoom(), 1.0f);
    EXPECT_EQ(picture()->size(), QSize(600, 700));
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(Form3Window, ScrollBarsMoveThePictureAndReachItsFarEdgesAtEveryZoom)
{
    handOver(QSize(700, 300));
    EXPECT_TRUE(bar("HScroll1")->isEnabled());
    EXPECT_EQ(bar("HScroll1")->maximum(), 117);
    EXPECT_FALSE(bar("VScroll1")->isEnabled());
    bar("HScroll1")->setValue(50);
    EXPECT_EQ(picture()->x(), -33);  // -500 twips
    bar("HScroll1")->setValue(500);       // beyond the range
    EXPECT_EQ(bar("HScroll1")->value(), 117);
    EXPECT_EQ(picture()->x(), -78);

    QTest::mouseClick(button("PushButton1"), Qt::LeftButton);
    EXPECT_EQ(bar("HScroll1")->value(), 0);
    EXPECT_EQ(picture()->pos(), QPoint(0, 0));

    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(button("PushButton1"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->zoom(), 2.75f);
    QWidget* view = control("Picture2");
    for (QScrollBar* b : {bar("HScroll1"), bar("VScroll1")}) {
        EXPECT_TRUE(b->isEnabled());
        b->setValue(b->maximum());
    }
    // At the bars' ends the picture's far corner sits at the view's, within a bar step.
    const QPoint farCorner = picture()->geometry().bottomRight();
    const QSize inner = view->contentsRect().size();
    EXPECT_NEAR(farCorner.x() + 1, inner.width() + 4, 4);
    EXPECT_NEAR(farCorner.y() + 1, inner.height() + 4, 4);
}

TEST_F(Form3Window, DraggingWithTheMouseMovesThePictureAndTheBarsFollowByPercent)
{
    handOver(QSize(1000, 700));  // too high to zoom, shown as loaded: overflow 5670 × 3075 twips, maxima 567 and 308
    drag(QPoint(300, 300), QPoint(200, 250));
    // Dragged to -1500, -750 twips; released at 26 % and 24 %, the bars' nearest positions.
    EXPECT_EQ(bar("HScroll1")->value(), 147);
    EXPECT_EQ(bar("VScroll1")->value(), 74);
    EXPECT_EQ(picture()->pos(), QPoint(-98, -49));

    // A move with no button held does nothing.
    mouse(picture(), QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
    EXPECT_EQ(picture()->pos(), QPoint(-98, -49));
}

TEST_F(Form3Window, EachHandOverReinitialisesButOtherActivationsDoNot)
{
    handOver(QSize(300, 200));
    QTest::mouseClick(button("PushButton1"), Qt::LeftButton);
    form->Form_Activate();
    EXPECT_FLOAT_EQ(form->zoom(), 1.25f);

    QTest::mouseClick(button("PushButton8"), Qt::LeftButton);
    handOver(QSize(400, 250));
    EXPECT_FLOAT_EQ(form->zoom(), 1.0f);
    EXPECT_EQ(form->previewGeometry().mOrigWidth, 400 * 15 - 2);
    EXPECT_EQ(picture()->size(), QSize(400, 250));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST_F(Form3Window, BackDeletesTheWorkingWorkbookAndShowsTheMainWindow)
{
    handOver(QSize(300, 200));
    QTest::mouseClick(button("PushButton8"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(workbook));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(endCalls, 0);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(Form3Window, ClosingDeletesTheWorkingWorkbookThenEndsTheProgram)
{
    handOver(QSize(300, 200));
    bool goneAtEnd = false;
    app::setEndProgramHandler([&](int) {
        ++endCalls;
        goneAtEnd = !QFile::exists(workbook);
    });
    form->close();
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(goneAtEnd);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(Form3Window, ButtonsShowTheHandPointerWhenItsFileIsThere)
{
    // Without the pointer file the buttons keep the ordinary pointer.
    ASSERT_FALSE(QFile::exists(app::paths::handPointerFile()));
    mouse(button("PushButton1"), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);

    writeFile(app::paths::handPointerFile(), "/* XPM */\nstatic const char* h[] = {\"2 2 1 1 1 0\", \"# c #000000\", \"##\", \"##\"};\n");
    Form3 withHand;
    ASSERT_TRUE(withHand.hasHandCursor());
    mouse(withHand.findChild<QPushButton*>("PushButton6"), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(withHand.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(withHand.cursor().hotSpot(), QPoint(1, 0));
    mouse(withHand.findChild<QGroupBox*>("Frame1"), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(withHand.cursor().shape(), Qt::ArrowCursor);

    EXPECT_TRUE(dialogs.errorReports().empty());
}
