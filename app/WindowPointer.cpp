// The hand pointer file and the windows' pointer rule.
#include "app/WindowPointer.h"

#include "app/Trap.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>
#include <QtEndian>

#include <algorithm>

namespace app {
namespace {

// A Windows cursor file keeps the hot spot of its first image in the directory entry that
// follows its six-byte header; the image reader drops it.
std::optional<QPoint> cursorFileHotSpot(const QByteArray& head)
{
    if (head.size() < 14)
        return std::nullopt;
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(head.constData() + at); };
    if (u16(0) != 0 || u16(2) != 2 || u16(4) < 1)
        return std::nullopt;
    return QPoint(u16(10), u16(12));
}

// An XPM may give the hot spot as two more numbers after width, height, colours and characters
// per pixel in its first string.
std::optional<QPoint> xpmHotSpot(const QByteArray& text)
{
    static const QRegularExpression values(
        QStringLiteral("\"\\s*\\d+\\s+\\d+\\s+\\d+\\s+\\d+\\s+(\\d+)\\s+(\\d+)\\s*\""));
    const QRegularExpressionMatch match = values.match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return std::nullopt;
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

// The formats Qt reads without a plugin, told by their first bytes. Left to the reader, a file named
// .CUR would first load the plugins that claim that suffix and then every other one, to sniff it.
QByteArray builtInFormatOf(const QByteArray& head)
{
    if (head.startsWith("/* XPM */"))
        return "xpm";
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (head.startsWith("BM"))
        return "bmp";
    return {};
}

bool isBusy(const QCursor& cursor) { return cursor.shape() == Qt::WaitCursor || cursor.shape() == Qt::BusyCursor; }

}  // namespace

QCursor loadPointerFile(const QString& path)
{
    QByteArray head;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        head = file.read(1024);  // the values line of an XPM comes within its first few hundred bytes
    file.close();
    QImageReader reader(path, builtInFormatOf(head));
    const bool isXpm = reader.format() == "xpm";  // asked before reading, while the file can still be sniffed
    const QImage image = reader.read();
    if (image.isNull())
        throw Failure(QStringLiteral("The pointer file \"%1\" cannot be read as a picture (%2).")
                          .arg(path, reader.errorString()));
    std::optional<QPoint> hotSpot;
    if (!head.isEmpty())
        hotSpot = isXpm ? xpmHotSpot(head) : cursorFileHotSpot(head);
    const QPoint point = hotSpot.value_or(QPoint(0, 0));
    return QCursor(QPixmap::fromImage(image), std::clamp(point.x(), 0, image.width() - 1),
                   std::clamp(point.y(), 0, image.height() - 1));
}

QCursor pointerAtDensity(const QCursor& pointer, qreal ratio)
{
    const QPixmap picture = pointer.pixmap();
    if (picture.isNull() || ratio <= 0 || qFuzzyCompare(ratio, picture.devicePixelRatio()))
        return pointer;
    const QSize logical = picture.deviceIndependentSize().toSize();
    QPixmap drawn = picture.scaled(logical * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    drawn.setDevicePixelRatio(ratio);
    return QCursor(drawn, pointer.hotSpot().x(), pointer.hotSpot().y());
}

WindowPointer::WindowPointer(QWidget* window) : QObject(window), mWindow(window)
{
    watch(window);
    mSurfaces.push_back(window);
    for (QPushButton* button : window->findChildren<QPushButton*>())
        watch(button);
}

void WindowPointer::watch(QWidget* widget)
{
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void WindowPointer::addSurface(QWidget* surface)
{
    watch(surface);
    mSurfaces.push_back(surface);
}

bool WindowPointer::isSurface(const QWidget* widget) const
{
    return std::find(mSurfaces.begin(), mSurfaces.end(), widget) != mSurfaces.end();
}

void WindowPointer::set(Shape shape)
{
    mShape = shape;
    switch (shape) {
    case Shape::Busy:
        mWindow->setCursor(Qt::WaitCursor);
        return;
    case Shape::Hand:
        if (mHand) {
            // Drawn for the screen the window is on now, which may have changed since the last time.
            mWindow->setCursor(pointerAtDensity(*mHand, mWindow->devicePixelRatioF()));
            return;
        }
        break;
    case Shape::Default:
        break;
    }
    mWindow->setCursor(Qt::ArrowCursor);
}

WindowPointer::Shape WindowPointer::shape() const
{
    // An hourglass set on the window by other means counts as busy too.
    return isBusy(mWindow->cursor()) ? Shape::Busy : mShape;
}

bool WindowPointer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::Enter)
        return false;
    const QCursor* overriding = QApplication::overrideCursor();
    if (shape() == Shape::Busy || (overriding && isBusy(*overriding)))
        return false;

    // The move belongs to the widget right under the pointer: one a button ignored comes on up
    // to the surface behind it, which must not take it for its own.
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* under = nullptr;
    if (event->type() == QEvent::MouseMove)
        under = widget->childAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    else if (const auto* enter = dynamic_cast<QEnterEvent*>(event))
        under = widget->childAt(enter->position().toPoint());
    if (!under)
        under = widget;

    if (qobject_cast<QPushButton*>(under)) {
        if (shape() != Shape::Hand)
            set(Shape::Hand);
    } else if (isSurface(under) && shape() != Shape::Default) {
        set(Shape::Default);
    }
    return false;
}

}  // namespace app
