// A Qt window of the main window's size that does nothing, ending after its first paint: what
// bench/startup.sh holds the program's start against.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace {

class EndAfterPaint final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { std::_Exit(0); });
        return false;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(704, 448);
    EndAfterPaint ending;
    window.installEventFilter(&ending);
    window.show();
    return application.exec();
}
