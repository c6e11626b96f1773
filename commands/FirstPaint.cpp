#include "commands/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace commands {
namespace {

// Ends the program once the paint event it sees has been handled (and so flushed to the screen).
class EndAfterPaint final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { std::_Exit(0); });
        return false;
    }
};

}  // namespace

void endAtFirstPaintIfAsked(QWidget& window)
{
    if (qEnvironmentVariableIsSet("ROSTELLE_BENCH_END_AT_FIRST_PAINT"))
        window.installEventFilter(new EndAfterPaint(&window));
}

}  // namespace commands
