// The main window follows the roster as others change it: every half second it asks whether the roster changed elsewhere and, when it did,
// rebuilds its lists and the hours window from the store, keeping the employee and the shift the
// user had selected when they are still there. A rebuild waits while the user is in the middle of
// something (a dialog or a message is open, a button is held down, a list is dropped down). When
// the server cannot be reached the title says so until it is back.
#include "ui/main/Form1.h"

#include "ui/main/HoursWindow.h"

#include "app/StoreChoice.h"

#include "store/Connection.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QTreeWidget>

namespace ui {

void Form1::followRoster()
{
    if (!store::sharedIsOpen())
        return;
    try {
        watch_ = std::make_unique<store::RosterWatch>(store::shared());
    } catch (const store::StoreError&) {
        return;  // a file that cannot be asked now is not followed; everything else works as before
    }
    follow_ = new QTimer(this);
    follow_->setObjectName(QStringLiteral("followRoster"));
    follow_->setInterval(kFollowMilliseconds);
    connect(follow_, &QTimer::timeout, this, &Form1::checkRoster);
    follow_->start();
}

bool Form1::userIsActing() const
{
    return QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr ||
           QApplication::mouseButtons() != Qt::NoButton;
}

void Form1::checkRoster()
{
    if (!watch_ || !store::sharedIsOpen() || store::shared().inTransaction())
        return;
    store::Connection& roster = store::shared();
    const QString title = app::windowTitle(roster.location());
    if (roster.isLost()) {
        // Asked again until it answers; the title says what is the matter meanwhile.
        try {
            roster.query(QStringLiteral("select 1"));
        } catch (const store::StoreError&) {
        }
    }
    const bool lost = roster.isLost();
    setWindowTitle(lost ? title + QStringLiteral(" (connection lost)") : title);
    if (lost)
        return;
    try {
        rebuildPending_ = watch_->changedElsewhere() || rebuildPending_;
    } catch (const store::StoreError&) {
        return;  // busy or unreachable for the moment: asked again at the next tick
    }
    if (!rebuildPending_ || userIsActing())
        return;
    rebuildPending_ = false;
    rebuildQuietly();
}

void Form1::rebuildQuietly()
{
    const std::optional<qint64> employee =
        cboName->currentIndex() >= 0 ? std::optional<qint64>(employeeIds(cboName->currentIndex() + 1)) : std::nullopt;
    const std::optional<qint64> shift = selectedShiftId();
    try {
        loadEmployees();
    } catch (const std::exception&) {
        rebuildPending_ = true;  // tried again at the next tick, without a report
        return;
    }
    if (employee)
        selectEmployeeById(*employee);
    listSchedules();
    if (shift)
        selectShiftById(*shift);
    if (hours_ && hours_->isVisible())
        hours_->refresh();
}

}  // namespace ui
