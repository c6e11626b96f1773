// Form1, the main window: the two header texts, the time interval, the employee and time lists,
// the buttons that add and delete employees and shifts, a tab per weekday with that weekday's
// shifts, and the buttons for sample data, help and the schedule workbook. Its load procedure
// brings the program up; closing it ends the program. Below that layout, a row of the planner's
// tools: editing an employee or a shift, copying or clearing a day, undoing this window's last
// change, and the week's hours (Form1Tools.cpp).
#pragma once

#include "app/SampleLoad.h"
#include "app/Settings.h"
#include "app/WindowPointer.h"

#include "store/ChangeRecord.h"
#include "store/RosterWatch.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QTreeWidget;

namespace ui {

class HoursWindow;

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: folders, working database, connection, lists, remembered entries, time lists and
    // the spreadsheet check. Run once before the window is first shown.
    void Form_Load();

    // Rebuilds the employee list and its identifiers from the database; nothing stays selected.
    // Throws on failure (the caller's trap reports it).
    void loadEmployees();
    // Rebuilds the shift list for the weekday of the current tab; reports its own failures.
    void listSchedules();
    // Refills both time lists for the selected interval; neither keeps a selection.
    void FillTimeLists();

    // The identifiers parallel to the employee list: entry i has its identifier at position i + 1.
    qint64 employeeIds(int position) const;
    int employeeCount() const { return static_cast<int>(employeeIds_.size()); }
    // The identifier of the selected employee; throws when none is selected.
    qint64 currentEmployeeId() const;
    // Selects the first employee entry with exactly this text; throws when there is none.
    void selectEmployeeByText(const QString& name);
    // Selects the employee with this identifier; nothing stays selected when it is not listed.
    void selectEmployeeById(qint64 id);

    // What the schedule workbook reads from the window.
    QString weekText() const;        // txtForAWeek
    QString departmentText() const;  // txtDepartment
    schedule::Interval selectedInterval() const;  // none selected counts as Hourly

    using Pointer = app::WindowPointer::Shape;
    // The window's pointer. Busy stays until it is set to something else by the caller.
    void setWindowPointer(Pointer pointer) { pointer_->set(pointer); }
    Pointer windowPointer() const { return pointer_->shape(); }

public slots:
    void PushButton1_Click();   // Add Employee
    void PushButton2_Click();   // Delete Employee
    void PushButton3_Click();   // Add Schedule
    void PushButton4_Click();   // Delete Schedule
    void PushButton6_Click();   // Help
    void PushButton7_Click();   // Load Sample/Example Data
    void PushButton22_Click();  // Start Creating Template

    // The planner's tools.
    void editEmployeeClicked();
    void editScheduleClicked();
    void copyDayClicked();
    void clearDayClicked();
    void undoClicked();
    void hoursClicked();

public:
    // How often the window asks whether the roster changed elsewhere.
    static constexpr int kFollowMilliseconds = 500;
    // A change this window is making: record its rows here, then keep() it once it is stored, and
    // it becomes what Undo takes back.
    store::ChangeRecord& newChange();
    void keepChange();
    bool canUndo() const { return lastChange_.has_value(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class WindowLists;
    friend class WindowLists;

    void buildLayout();
    void buildToolRow();
    void connectTools();
    // After a change: the lists rebuilt, the employee and the shift selected again by identifier
    // when they are still there, the hours window read again.
    void showRosterAgain(std::optional<qint64> employee, std::optional<qint64> shift);
    // Following changes made elsewhere (Form1Follow.cpp).
    void followRoster();
    void checkRoster();
    bool userIsActing() const;
    void rebuildQuietly();
    std::optional<qint64> selectedShiftId() const;
    void selectShiftById(qint64 id);
    void connectBehaviour();
    void Form_QueryUnload();
    void optionClicked();
    void setOption(QRadioButton* option, bool value);
    std::optional<int> currentWeekdayIndex() const;

    QPushButton* PushButton22 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* PushButton7 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* txtForAWeek = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLineEdit* txtDepartment = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option5 = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cboName = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboTimeIn = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cboTimeOut = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QTreeWidget* ListView1 = nullptr;

    QPushButton* editEmployeeButton_ = nullptr;
    QPushButton* editScheduleButton_ = nullptr;
    QPushButton* copyDayButton_ = nullptr;
    QPushButton* clearDayButton_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QPushButton* hoursButton_ = nullptr;
    HoursWindow* hours_ = nullptr;
    QTimer* follow_ = nullptr;
    std::unique_ptr<store::RosterWatch> watch_;
    bool rebuildPending_ = false;
    bool shownLost_ = false;
    std::optional<store::ChangeRecord> pendingChange_;
    std::optional<store::ChangeRecord> lastChange_;

    std::vector<qint64> employeeIds_;
    app::WindowPointer* pointer_ = nullptr;
};

}  // namespace ui
