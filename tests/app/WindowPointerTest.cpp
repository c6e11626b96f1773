// The pointer file's active point, and the pointer rule on a small window: a button inside a
// panel, a label beside it, moves delivered as Qt delivers them (a move a button ignores goes on
// to the panel behind it).
#include "app/Trap.h"
#include "app/WindowPointer.h"

#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtEndian>

#include <gtest/gtest.h>

using app::WindowPointer;
using Shape = app::WindowPointer::Shape;
using testing_support::writeFile;

namespace {

// A 4 × 4 XPM whose values line is given.
QByteArray xpm(const char* values)
{
    return QByteArray("/* XPM */\nstatic const char* const p[] = {\n\"") + values
        + "\",\n\". c None\",\n\"# c #000000\",\n\"#...\",\n\".#..\",\n\"..#.\",\n\"...#\"\n};\n";
}

// A Windows cursor file with the given hot spot, made from Qt's icon writer.
QByteArray cursorFile(const QString& path, QPoint hotSpot)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::black);
    EXPECT_TRUE(image.save(path, "ICO"));
    QByteArray bytes = testing_support::fileBytes(path);
    EXPECT_FALSE(bytes.isEmpty()) << path.toStdString();
    qToLittleEndian<quint16>(2, bytes.data() + 2);  // type: cursor
    qToLittleEndian<quint16>(hotSpot.x(), bytes.data() + 10);
    qToLittleEndian<quint16>(hotSpot.y(), bytes.data() + 12);
    return bytes;
}

class WindowPointerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 200);
        panel = new QWidget(&window);
        panel->setGeometry(0, 0, 300, 200);
        button = new QPushButton(QStringLiteral("Add"), panel);
        button->setGeometry(10, 10, 80, 30);
        label = new QLabel(QStringLiteral("Name:"), panel);
        label->setGeometry(10, 60, 80, 20);
        pointer = new WindowPointer(&window);
        pointer->addSurface(panel);
        QImage hand(8, 8, QImage::Format_ARGB32);
        hand.fill(Qt::black);
        pointer->setHand(QCursor(QPixmap::fromImage(hand), 1, 0));
    }

    // A move with no button held, to the widget under the point as the window would send it.
    static void move(QWidget* to, QPoint at)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), to->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(to, &event);
    }

    testing_support::TestEnvironment env;
    QWidget window;
    QWidget* panel = nullptr;
    QPushButton* button = nullptr;
    QLabel* label = nullptr;
    WindowPointer* pointer = nullptr;
};

TEST_F(WindowPointerTest, TheFileNamesTheActivePointAndTheShippedHandPointsWithItsFingertip)
{
    const QString path = env.tempDir() + "/pointer";
    writeFile(path, xpm("4 4 2 1 3 2"));
    EXPECT_EQ(app::loadPointerFile(path).hotSpot(), QPoint(3, 2));
    writeFile(path, xpm("4 4 2 1"));
    EXPECT_EQ(app::loadPointerFile(path).hotSpot(), QPoint(0, 0)) << "none named: the top-left corner";
    writeFile(path, xpm("4 4 2 1 9 9"));
    EXPECT_EQ(app::loadPointerFile(path).hotSpot(), QPoint(3, 3)) << "kept on the picture";
    writeFile(path, cursorFile(path, QPoint(5, 7)));
    EXPECT_EQ(app::loadPointerFile(path).hotSpot(), QPoint(5, 7));
    writeFile(path, "not a picture");
    EXPECT_THROW(app::loadPointerFile(path), app::Failure);

    // The hand drawn for the program: its active point is on the topmost drawn row.
    const QCursor hand = app::loadPointerFile(QStringLiteral(ROSTELLE_PROGRAM_DIR "/HAND-M.CUR"));
    const QImage image = hand.pixmap().toImage();
    int top = 0;
    while (top < image.height() && [&] {
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, top)) != 0)
                return false;
        return true;
    }())
        ++top;
    EXPECT_EQ(hand.hotSpot().y(), top);
    EXPECT_NE(qAlpha(image.pixel(hand.hotSpot())), 0) << "on the fingertip, not beside it";
}

TEST_F(WindowPointerTest, TheHandIsDrawnAtTheScreensDensityWithItsActivePointInPlace)
{
    const QCursor hand = app::loadPointerFile(QStringLiteral(ROSTELLE_PROGRAM_DIR "/HAND-M.CUR"));
    const QSize size = hand.pixmap().size();
    for (const qreal ratio : {1.25, 1.5, 2.0}) {
        const QCursor drawn = app::pointerAtDensity(hand, ratio);
        EXPECT_EQ(drawn.pixmap().size(), (QSizeF(size) * ratio).toSize()) << ratio;
        EXPECT_EQ(drawn.pixmap().devicePixelRatio(), ratio);
        EXPECT_EQ(drawn.pixmap().deviceIndependentSize().toSize(), size) << "the same size to the eye";
        EXPECT_EQ(drawn.hotSpot(), hand.hotSpot());
        // The fingertip is still under the active point.
        const QPoint tip = (QPointF(hand.hotSpot()) * ratio).toPoint();
        EXPECT_NE(qAlpha(drawn.pixmap().toImage().pixel(tip)), 0) << ratio;
    }
    EXPECT_EQ(app::pointerAtDensity(hand, 1.0).pixmap().size(), size);
}

TEST_F(WindowPointerTest, ButtonsShowTheHandSurfacesTheDefaultOtherControlsNothing)
{
    move(button, QPoint(5, 5));  // ignored by the button, it goes on to the panel as well
    EXPECT_EQ(pointer->shape(), Shape::Hand);
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window.cursor().hotSpot(), QPoint(1, 0));

    move(panel, label->geometry().center());  // over the label: no rule of its own
    EXPECT_EQ(pointer->shape(), Shape::Hand);
    move(panel, QPoint(200, 150));
    EXPECT_EQ(pointer->shape(), Shape::Default);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    // Entering a button, with or without a position, shows the hand as well.
    QEnterEvent enter(QPointF(15, 15), QPointF(15, 15), window.mapToGlobal(QPointF(15, 15)));
    QApplication::sendEvent(panel, &enter);
    EXPECT_EQ(pointer->shape(), Shape::Hand);
    pointer->set(Shape::Default);
    QEvent plainEnter(QEvent::Enter);
    QApplication::sendEvent(button, &plainEnter);
    EXPECT_EQ(pointer->shape(), Shape::Hand);

    // Without a hand the buttons keep the ordinary pointer.
    pointer->setHand(std::nullopt);
    pointer->set(Shape::Default);
    move(button, QPoint(5, 5));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowPointerTest, TheHourglassStaysHoweverItWasSet)
{
    pointer->set(Shape::Busy);
    move(button, QPoint(5, 5));
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    move(panel, QPoint(200, 150));
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);

    pointer->set(Shape::Default);
    window.setCursor(Qt::WaitCursor);  // set on the window by other means
    EXPECT_EQ(pointer->shape(), Shape::Busy);
    move(button, QPoint(5, 5));
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);

    window.unsetCursor();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    move(button, QPoint(5, 5));
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(pointer->shape(), Shape::Default);
}

}  // namespace
