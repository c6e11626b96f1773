// The main window's row of the planner's tools: "Edit Employee...", "Edit Schedule...", "Copy
// Day...", "Clear Day...", "Undo" and "Hours...", with their keys (Enter or a double click on a
// shift edits it, Delete deletes it, Ctrl+Z undoes). Each change is a store rule that records its
// rows, so that Undo can take back this window's last change.
#include "ui/main/Form1.h"

#include "ui/main/CopyDayDialog.h"
#include "ui/main/EditScheduleDialog.h"
#include "ui/main/Form2.h"
#include "ui/main/HoursWindow.h"

#include "app/DayCopyMessage.h"
#include "app/Dialogs.h"
#include "app/Trap.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/RosterRules.h"
#include "store/Shifts.h"
#include "store/TimeText.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace ui {
namespace {

// A shift list text ("8:30:00 AM") as a time list text ("08:30:00 AM"); empty when it is none.
QString listTextOf(const QString& shown)
{
    const std::optional<QTime> time = store::parseDisplayTime(shown);
    return time ? store::listTimeText(*time) : QString();
}

}  // namespace

store::ChangeRecord& Form1::newChange()
{
    pendingChange_.emplace();
    return *pendingChange_;
}

void Form1::keepChange()
{
    if (pendingChange_ && !pendingChange_->empty()) {
        lastChange_ = std::move(pendingChange_);
        undoButton_->setEnabled(true);
    }
    pendingChange_.reset();
    if (hours_ && hours_->isVisible())
        hours_->refresh();
}

void Form1::connectTools()
{
    connect(editEmployeeButton_, &QPushButton::clicked, this, &Form1::editEmployeeClicked);
    connect(editScheduleButton_, &QPushButton::clicked, this, &Form1::editScheduleClicked);
    connect(copyDayButton_, &QPushButton::clicked, this, &Form1::copyDayClicked);
    connect(clearDayButton_, &QPushButton::clicked, this, &Form1::clearDayClicked);
    connect(undoButton_, &QPushButton::clicked, this, &Form1::undoClicked);
    connect(hoursButton_, &QPushButton::clicked, this, &Form1::hoursClicked);
    connect(ListView1, &QTreeWidget::itemActivated, this, [this] { editScheduleClicked(); });
    ListView1->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete) && selectedShiftId()) {
        PushButton4_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    // Reached when the control that has the focus does not take the key itself (a text box
    // undoes its own typing).
    if (event->matches(QKeySequence::Undo) && canUndo()) {
        undoClicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

std::optional<qint64> Form1::selectedShiftId() const
{
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 id = selected.constFirst()->text(0).toLongLong(&ok);
    return ok ? std::optional<qint64>(id) : std::nullopt;
}

void Form1::selectEmployeeById(qint64 id)
{
    for (int i = 0; i < employeeCount(); ++i)
        if (employeeIds(i + 1) == id) {
            cboName->setCurrentIndex(i);
            return;
        }
    cboName->setCurrentIndex(-1);
}

void Form1::selectShiftById(qint64 id)
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        if (ListView1->topLevelItem(i)->text(0) == QString::number(id))
            ListView1->setCurrentItem(ListView1->topLevelItem(i));
}

void Form1::showRosterAgain(std::optional<qint64> employee, std::optional<qint64> shift)
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("showRosterAgain"));
    trap(100, [&] { loadEmployees(); });
    if (employee)
        trap(102, [&] { selectEmployeeById(*employee); });
    trap(104, [&] { listSchedules(); });
    if (shift)
        trap(106, [&] { selectShiftById(*shift); });
    if (hours_ && hours_->isVisible())
        trap(108, [&] { hours_->refresh(); });
}

void Form1::editEmployeeClicked()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("EditEmployee_Click"));
    if (cboName->currentIndex() < 0)
        return;
    std::optional<store::EmployeeDetails> details;
    const qint64 id = employeeIds(cboName->currentIndex() + 1);
    trap(100, [&] { details = store::employeeDetails(store::shared(), id); });
    if (!details) {
        trap(102, [&] {
            app::MsgBox(QStringLiteral("%1 is no longer on the roster (another planner deleted them).").arg(cboName->currentText()));
        });
        trap(104, [&] { showRosterAgain(std::nullopt, std::nullopt); });
        return;
    }
    trap(106, [&] {
        Form2 dialog(*this, id, details->name, details->position);
        dialog.Form_Load();
        dialog.exec();
    });
    if (hours_ && hours_->isVisible())
        trap(108, [&] { hours_->refresh(); });
}

void Form1::editScheduleClicked()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("EditSchedule_Click"));
    const std::optional<qint64> shift = selectedShiftId();
    const std::optional<int> tab = currentWeekdayIndex();
    const std::optional<store::Weekday> day = tab ? store::weekdayFromIndex(*tab) : std::nullopt;
    if (!shift || !day)
        return;
    const QTreeWidgetItem* row = ListView1->selectedItems().constFirst();
    QStringList entries;
    for (int i = 0; i < cboTimeIn->count(); ++i)
        entries << cboTimeIn->itemText(i);
    EditScheduleDialog dialog(this, entries, listTextOf(row->text(1)), listTextOf(row->text(2)));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.timeIn().isEmpty() || dialog.timeOut().isEmpty()) {
        trap(100, [] { app::MsgBox(QStringLiteral("You forgot to select schedule.")); });
        return;
    }
    store::ShiftEditing outcome = store::ShiftEditing::Changed;
    const bool stored = trap(102, [&] {
        outcome = store::editShift(store::shared(), *day, *shift, dialog.timeIn(), dialog.timeOut(), &newChange());
    });
    if (stored && outcome == store::ShiftEditing::Changed)
        keepChange();
    if (stored && outcome == store::ShiftEditing::Overlaps)
        trap(104, [] { app::MsgBox(QStringLiteral("Schedule already exists.")); });
    if (stored && outcome == store::ShiftEditing::ShiftGone)
        trap(106, [] {
            app::MsgBox(QStringLiteral("The shift is no longer on the roster (another planner deleted it); nothing was stored."));
        });
    trap(108, [&] { showRosterAgain(std::nullopt, shift); });
}

void Form1::copyDayClicked()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("CopyDay_Click"));
    const std::optional<int> tab = currentWeekdayIndex();
    const std::optional<store::Weekday> day = tab ? store::weekdayFromIndex(*tab) : std::nullopt;
    if (!day)
        return;
    CopyDayDialog dialog(this, *day);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenDays().empty())
        return;
    std::optional<store::DayCopy> copy;
    trap(100, [&] { copy = store::copyDay(store::shared(), *day, dialog.chosenDays(), &newChange()); });
    if (copy)
        keepChange();
    // The change is over before the message waits for the user.
    if (copy)
        trap(102, [&] { app::MsgBox(app::dayCopyMessage(*copy)); });
    trap(104, [&] { showRosterAgain(std::nullopt, std::nullopt); });
}

void Form1::clearDayClicked()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("ClearDay_Click"));
    const std::optional<int> tab = currentWeekdayIndex();
    const std::optional<store::Weekday> day = tab ? store::weekdayFromIndex(*tab) : std::nullopt;
    if (!day)
        return;
    int count = 0;
    trap(100, [&] { count = static_cast<int>(store::dayShifts(store::shared(), *day).size()); });
    if (count == 0)
        return;
    const int answer = trap.value(102, app::msg::kNo, [&] {
        return app::MsgBox(QStringLiteral("Delete all %1 shifts of %2?").arg(count).arg(store::weekdayCaption(*day)),
                           app::msg::kYesNo);
    });
    if (answer != app::msg::kYes)
        return;
    if (trap(104, [&] { store::clearDay(store::shared(), *day, &newChange()); }))
        keepChange();
    trap(106, [&] { showRosterAgain(std::nullopt, std::nullopt); });
}

void Form1::undoClicked()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("Undo_Click"));
    if (!lastChange_)
        return;
    const std::optional<qint64> employee =
        cboName->currentIndex() >= 0 ? std::optional<qint64>(employeeIds(cboName->currentIndex() + 1)) : std::nullopt;
    QStringList changedSince;
    const bool done = trap(100, [&] { changedSince = lastChange_->takeBack(store::shared()); });
    if (done) {
        lastChange_.reset();
        undoButton_->setEnabled(false);
    }
    if (done && !changedSince.isEmpty())
        trap(102, [&] {
            app::MsgBox(QStringLiteral("Nothing was undone: since this change, another planner changed %1.")
                            .arg(changedSince.join(QStringLiteral("; "))));
        });
    trap(104, [&] { showRosterAgain(employee, std::nullopt); });
}

void Form1::hoursClicked()
{
    if (!hours_)
        hours_ = new HoursWindow(this);
    hours_->refresh();
    hours_->show();
    hours_->raise();
    hours_->activateWindow();
}

}  // namespace ui
