// The windows' mouse pointer: the hand pointer file, and the one rule every window follows. A
// window carries one pointer for all of its surface; moving over one of its push buttons shows the
// hand, moving over the window's background or one of the surfaces it names shows the default,
// and neither change is made while the window shows the hourglass.
#pragma once

#include <QCursor>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace app {

// Reads a pointer image (any picture Qt reads). The active point is the one the file names: a
// Windows cursor's hot spot, or the hot spot an XPM gives after its four values; a file that
// names none points with its top-left corner. Throws Failure when the file is not a picture.
QCursor loadPointerFile(const QString& path);

// The pointer drawn for a screen of this density (device pixels per logical pixel): its picture
// smoothly resampled to the screen's pixels, at the same size and active point to the eye.
QCursor pointerAtDensity(const QCursor& pointer, qreal ratio);

class WindowPointer final : public QObject {
    Q_OBJECT
public:
    enum class Shape { Default, Busy, Hand };

    // Watches the window's own surface and every push button it holds at this moment, so it is
    // made once the window's controls exist.
    explicit WindowPointer(QWidget* window);

    // Further surfaces over which the pointer goes back to the default (frames, panels, lists).
    void addSurface(QWidget* surface);
    // The hand shown over buttons; without one the buttons show the default pointer.
    void setHand(std::optional<QCursor> hand) { mHand = std::move(hand); }
    bool hasHand() const { return mHand.has_value(); }

    // Sets the window's pointer. Busy stays until the window sets another shape itself; moves
    // change only a hand or a default pointer.
    void set(Shape shape);
    Shape shape() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* widget);
    bool isSurface(const QWidget* widget) const;

    QWidget* mWindow;
    std::vector<QWidget*> mSurfaces;
    std::optional<QCursor> mHand;
    Shape mShape = Shape::Default;
};

}  // namespace app
