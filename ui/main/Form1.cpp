// The main window: layout, start-up, list fillers, the employee and shift buttons, remembered
// entries, help, pointer rules and closing.
#include "ui/main/Form1.h"

#include "ui/main/BuildProgressDialog.h"
#include "ui/main/Form2.h"
#include "ui/main/HoursWindow.h"
#include "ui/main/ShiftListView.h"
#include "ui/main/Twips.h"

#include "app/BuildConfig.h"
#include "app/DataSetup.h"
#include "app/Dialogs.h"
#include "app/Helpers.h"
#include "app/IsInstalled.h"
#include "app/Paths.h"
#include "app/ProgramExit.h"
#include "app/ProtectedFiles.h"
#include "app/TrapSteps.h"
#include "app/StoreChoice.h"
#include "app/Trap.h"
#include "app/WindowHelpers.h"

#include "preview/Form3.h"

#include "report/ReportDriver.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/TimeText.h"
#include "store/Weekday.h"
#include "store/RosterRules.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>

namespace ui {
namespace {

// The row of the planner's tools, below the specified layout.
constexpr int kToolRowTop = 6195;
constexpr int kToolRowHeight = 400;

QFont windowFont()
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9);
    arial.setBold(true);
    return arial;
}

QFont buttonFont()
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(11.25);
    arial.setBold(true);
    return arial;
}

// A fixed background brings the text colour that reads on it, so that a dark desktop palette's
// light text never lands on the white frames.
void giveBackground(QWidget* widget, const QColor& colour, const QColor& text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

template <class W>
W* place(QWidget* parent, const char* name, QRect rect)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(rect);
    return widget;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption, QRect rect)
{
    auto* button = place<QPushButton>(parent, name, rect);
    button->setText(caption);
    button->setFont(buttonFont());
    return button;
}

}  // namespace

// The window's lists as the sample data procedure sees them.
class Form1::WindowLists final : public app::SampleLoadView {
public:
    explicit WindowLists(Form1& form) : form_(form) {}
    void loadEmployees() override { form_.loadEmployees(); }
    void selectEmployeeByName(const QString& name) override { form_.selectEmployeeByText(name); }
    qint64 selectedEmployeeId() const override { return form_.currentEmployeeId(); }
    int timeListCount() const override { return form_.cboTimeIn->count(); }
    void selectTimeIn(int position) override { select(form_.cboTimeIn, position); }
    void selectTimeOut(int position) override { select(form_.cboTimeOut, position); }
    QString selectedTimeIn() const override { return selected(form_.cboTimeIn); }
    QString selectedTimeOut() const override { return selected(form_.cboTimeOut); }

private:
    static void select(QComboBox* list, int position)
    {
        if (position < 0 || position >= list->count())
            throw app::Failure(QStringLiteral("The time list has no entry at position %1.").arg(position));
        list->setCurrentIndex(position);
    }
    static QString selected(QComboBox* list)
    {
        if (list->currentIndex() < 0)
            throw app::Failure(QStringLiteral("No time is selected."));
        return list->currentText();
    }
    Form1& form_;
};

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    buildLayout();
    connectBehaviour();
}

Form1::~Form1() = default;

void Form1::buildLayout()
{
    setFont(windowFont());
    // The specified layout, and the row of the planner's tools below it.
    setFixedSize(twips(10560), twips(kToolRowTop + kToolRowHeight + 120));
    const QColor white(Qt::white);

    PushButton22 = pushButton(this, "PushButton22", QStringLiteral("Start Creating Template"), twipsRect(120, 120, 10320, 400));
    PushButton6 = pushButton(this, "PushButton6", QStringLiteral("Help"), twipsRect(120, 630, 5040, 405));
    PushButton7 = pushButton(this, "PushButton7", QStringLiteral("Load Sample/Example Data"), twipsRect(5280, 630, 5160, 405));

    Frame3 = place<QGroupBox>(this, "Frame3", twipsRect(120, 1070, 3000, 800));
    Frame3->setTitle(QStringLiteral("For The Week Of..."));
    txtForAWeek = place<QLineEdit>(Frame3, "txtForAWeek", twipsRect(240, 300, 2505, 345));
    Frame4 = place<QGroupBox>(this, "Frame4", twipsRect(3240, 1070, 3000, 800));
    Frame4->setTitle(QStringLiteral("Department Name"));
    txtDepartment = place<QLineEdit>(Frame4, "txtDepartment", twipsRect(240, 300, 2505, 345));
    Frame2 = place<QGroupBox>(this, "Frame2", twipsRect(6360, 1070, 4080, 800));
    Frame2->setTitle(QStringLiteral("Time Intervals"));
    Option3 = place<QRadioButton>(Frame2, "Option3", twipsRect(240, 350, 975, 255));
    Option3->setText(QStringLiteral("Hourly"));
    Option4 = place<QRadioButton>(Frame2, "Option4", twipsRect(1320, 350, 1095, 255));
    Option4->setText(QStringLiteral("Half-hour"));
    Option5 = place<QRadioButton>(Frame2, "Option5", twipsRect(2640, 350, 1335, 255));
    Option5->setText(QStringLiteral("15 minutes"));
    Option3->setChecked(true);
    // The frames are white; the options paint no background of their own (a button's would be the
    // grey button face), so they show the white of the frame they sit in.
    for (QGroupBox* frame : {Frame2, Frame3, Frame4})
        giveBackground(frame, white, Qt::black);

    SSTab1 = place<QTabWidget>(this, "SSTab1", twipsRect(120, 1970, 10320, 4125));
    for (const store::Weekday day : store::allWeekdays) {
        auto* page = new QWidget(SSTab1);
        page->setObjectName(QStringLiteral("Tab") + store::weekdayCaption(day));
        SSTab1->addTab(page, store::weekdayCaption(day));
    }

    // One panel drawn over the tab pages, shared by all seven tabs.
    Picture1 = place<QWidget>(this, "Picture1", twipsRect(180, 2310, 10210, 3720));
    giveBackground(Picture1, palette().color(QPalette::Base), palette().color(QPalette::Text));
    Picture1->raise();

    Label3 = place<QLabel>(Picture1, "Label3", twipsRect(240, 180, 870, 225));
    Label3->setText(QStringLiteral("Employee:"));
    cboName = place<QComboBox>(Picture1, "cboName", twipsRect(1200, 135, 2055, 345));
    Label2 = place<QLabel>(Picture1, "Label2", twipsRect(3480, 180, 660, 225));
    Label2->setText(QStringLiteral("Time In:"));
    cboTimeIn = place<QComboBox>(Picture1, "cboTimeIn", twipsRect(4320, 120, 2295, 345));
    Label1 = place<QLabel>(Picture1, "Label1", twipsRect(6840, 180, 810, 225));
    Label1->setText(QStringLiteral("Time Out:"));
    cboTimeOut = place<QComboBox>(Picture1, "cboTimeOut", twipsRect(7800, 120, 2295, 345));
    for (QComboBox* list : {cboName, cboTimeIn, cboTimeOut})
        list->setMaxVisibleItems(16);

    PushButton1 = pushButton(Picture1, "PushButton1", QStringLiteral("Add Employee"), twipsRect(120, 570, 2400, 400));
    PushButton2 = pushButton(Picture1, "PushButton2", QStringLiteral("Delete Employee"), twipsRect(2640, 570, 2400, 400));
    PushButton3 = pushButton(Picture1, "PushButton3", QStringLiteral("Add Schedule"), twipsRect(5160, 570, 2400, 400));
    PushButton4 = pushButton(Picture1, "PushButton4", QStringLiteral("Delete Schedule"), twipsRect(7680, 570, 2400, 405));

    ListView1 = place<ShiftListView>(Picture1, "ListView1", twipsRect(120, 1080, 9980, 2535));
    ListView1->setColumnCount(0);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setMinimumSectionSize(1);

    // Screen readers name each field by the caption the eye reads beside it.
    txtForAWeek->setAccessibleName(Frame3->title());
    txtDepartment->setAccessibleName(Frame4->title());
    cboName->setAccessibleName(QStringLiteral("Employee"));
    cboTimeIn->setAccessibleName(QStringLiteral("Time In"));
    cboTimeOut->setAccessibleName(QStringLiteral("Time Out"));
    SSTab1->setAccessibleName(QStringLiteral("Weekday"));
    ListView1->setAccessibleName(QStringLiteral("Shifts"));

    for (QWidget* captioned : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                               static_cast<QWidget*>(Option3), static_cast<QWidget*>(Option4), static_cast<QWidget*>(Option5)})
        widenToCaption(captioned);

    // Tab order follows the way the window is read: header texts, interval, employee, times,
    // buttons, list.
    setTabOrder(PushButton22, PushButton6);
    setTabOrder(PushButton6, PushButton7);
    setTabOrder(PushButton7, txtForAWeek);
    setTabOrder(txtForAWeek, txtDepartment);
    setTabOrder(txtDepartment, Option3);
    setTabOrder(Option3, SSTab1);
    setTabOrder(SSTab1, cboName);
    setTabOrder(cboName, cboTimeIn);
    setTabOrder(cboTimeIn, cboTimeOut);
    setTabOrder(cboTimeOut, PushButton1);
    setTabOrder(PushButton1, PushButton2);
    setTabOrder(PushButton2, PushButton3);
    setTabOrder(PushButton3, PushButton4);
    setTabOrder(PushButton4, ListView1);
    buildToolRow();
}

void Form1::buildToolRow()
{
    // Six buttons across the width of the layout above, 120 twips apart as its buttons are.
    constexpr int width = (10320 - 5 * 120) / 6;
    const auto tool = [&](int index, const char* name, const QString& caption) {
        return pushButton(this, name, caption, twipsRect(120 + index * (width + 120), kToolRowTop, width, kToolRowHeight));
    };
    editEmployeeButton_ = tool(0, "EditEmployee", QStringLiteral("Edit Employee..."));
    editScheduleButton_ = tool(1, "EditSchedule", QStringLiteral("Edit Schedule..."));
    copyDayButton_ = tool(2, "CopyDay", QStringLiteral("Copy Day..."));
    clearDayButton_ = tool(3, "ClearDay", QStringLiteral("Clear Day..."));
    undoButton_ = tool(4, "Undo", QStringLiteral("Undo"));
    hoursButton_ = tool(5, "Hours", QStringLiteral("Hours..."));
    for (QPushButton* button : {editEmployeeButton_, editScheduleButton_, copyDayButton_, clearDayButton_, undoButton_,
                                hoursButton_})
        button->setFont(windowFont());
    undoButton_->setEnabled(false);
    setTabOrder(ListView1, editEmployeeButton_);
    setTabOrder(editEmployeeButton_, editScheduleButton_);
    setTabOrder(editScheduleButton_, copyDayButton_);
    setTabOrder(copyDayButton_, clearDayButton_);
    setTabOrder(clearDayButton_, undoButton_);
    setTabOrder(undoButton_, hoursButton_);
}

void Form1::connectBehaviour()
{
    connectTools();
    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(PushButton22, &QPushButton::clicked, this, &Form1::PushButton22_Click);

    for (QRadioButton* option : {Option3, Option4, Option5})
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                optionClicked();
        });
    connect(cboName, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            app::Settings::setEmployeeIndex(index);
    });
    connect(cboTimeIn, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            app::Settings::setTimeInIndex(index);
    });
    connect(txtDepartment, &QLineEdit::textChanged, this, [](const QString& text) { app::Settings::setDepartment(text); });
    connect(txtForAWeek, &QLineEdit::textChanged, this, [](const QString& text) { app::Settings::setForAWeek(text); });
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { listSchedules(); });

    app::selectWholeTextOnFocus(txtForAWeek);
    app::selectWholeTextOnFocus(txtDepartment);
    pointer_ = new app::WindowPointer(this);
    for (QWidget* surface : {static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Frame3), static_cast<QWidget*>(Frame4),
                             Picture1, ListView1->viewport()})
        pointer_->addSurface(surface);
}

// ---- start-up ------------------------------------------------------------------------------

void Form1::Form_Load()
{
    app::protectProgramFiles();
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    using namespace app::paths;

    if (trap.test(100, [] { return app::nothingAt(makerFolder()); }))
        trap(102, [] { app::createFolder(makerFolder()); });
    if (trap.test(104, [] { return app::nothingAt(dataFolder()); }))
        trap(106, [] { app::createFolder(dataFolder()); });
    if (trap.test(108, [] { return app::usesWorkingFile() && !app::FileExists(workingDatabase()); }))
        trap(110, [] { app::copyTemplateDatabase(templateDatabase(), workingDatabase()); });
    trap(112, [&] { app::ApplySkin(this); });
    trap(114, [&] { setWindowTitle(QString::fromUtf8(app::kProductName)); });
    trap(116, [&] { setWindowIcon(QIcon(iconFile())); });
    trap(118, [] { app::ShortenAppTitle(); });
    if (trap.test(120, [] { return app::FileExists(handPointerFile()); }))
        trap(122, [&] { pointer_->setHand(app::loadPointerFile(handPointerFile())); });
    trap(124, [] { store::shared(); });
    trap(126, [&] {
        store::shared().open(app::chosenStore(store::Access::ReadWrite));
        setWindowTitle(app::windowTitle(store::shared().location()));
    });

    auto addColumn = [this](const QString& header) {
        const int column = ListView1->columnCount();
        ListView1->setColumnCount(column + 1);
        ListView1->headerItem()->setText(column, header);
    };
    trap(128, [&] { addColumn(QStringLiteral("id")); });
    trap(130, [&] { addColumn(QStringLiteral("Time In")); });
    trap(132, [&] { addColumn(QStringLiteral("Time Out")); });
    trap(134, [&] { addColumn(QStringLiteral("Employee")); });
    // The identifier column is one twip wide: there, but not to be seen.
    trap(136, [&] { ListView1->setColumnWidth(0, qMax(1, twips(1))); });
    trap(138, [&] { ListView1->setColumnWidth(1, twips(2500)); });
    trap(140, [&] { ListView1->setColumnWidth(2, twips(2500)); });
    trap(142, [&] { ListView1->setColumnWidth(3, twips(4000)); });

    trap(144, [&] { loadEmployees(); });
    trap(146, [&] { listSchedules(); });
    trap(148, [&] { txtForAWeek->setText(app::Settings::forAWeek()); });
    trap(150, [&] { txtDepartment->setText(app::Settings::department()); });
    if (trap.test(152, [&] { return cboName->count() > 0; })) {
        if (trap.test(154, [&] { return app::Settings::employeeIndex() < cboName->count(); }))
            trap(156, [&] {
                const int remembered = app::Settings::employeeIndex();
                if (remembered < 0)
                    throw app::Failure(
                        QStringLiteral("The remembered employee position %1 is not in the list.").arg(remembered));
                cboName->setCurrentIndex(remembered);
            });
        else
            trap(158, [&] { cboName->setCurrentIndex(0); });
    }
    trap(160, [&] { setOption(Option3, app::Settings::hourly()); });
    trap(162, [&] { setOption(Option4, app::Settings::halfHour()); });
    trap(164, [&] { setOption(Option5, app::Settings::fifteenMinutes()); });
    trap(166, [&] { FillTimeLists(); });
    trap(168, [] { app::IsInstalled(); });
    followRoster();
}

// ---- list fillers --------------------------------------------------------------------------

void Form1::FillTimeLists()
{
    const QStringList entries = store::timeListEntries(schedule::stepMinutes(selectedInterval()));
    const QSignalBlocker blockIn(cboTimeIn);
    const QSignalBlocker blockOut(cboTimeOut);
    cboTimeIn->clear();
    cboTimeOut->clear();
    for (const QString& entry : entries) {
        cboTimeIn->addItem(entry);
        cboTimeOut->addItem(entry);
    }
    // A list that gains its first entry selects it by itself; these start without a selection.
    cboTimeIn->setCurrentIndex(-1);
    cboTimeOut->setCurrentIndex(-1);
}

void Form1::loadEmployees()
{
    const auto employees = store::listEmployees(store::shared());
    const QSignalBlocker block(cboName);
    cboName->clear();
    employeeIds_.clear();
    QStringList names;
    names.reserve(static_cast<qsizetype>(employees.size()));
    for (const auto& employee : employees) {
        names.append(employee.name);
        employeeIds_.push_back(employee.id);
    }
    cboName->addItems(names);  // at once: the list's model then tells of one insertion
    cboName->setCurrentIndex(-1);
}

void Form1::listSchedules()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("listSchedules"));
    const std::optional<int> tab = currentWeekdayIndex();
    const std::optional<store::Weekday> day = trap.value(100, std::optional<store::Weekday>(), [&] {
        return tab ? store::weekdayFromIndex(*tab) : std::nullopt;
    });
    std::optional<std::vector<store::ShiftListEntry>> rows;
    trap(102, [&] {
        if (!day)
            throw app::Failure(tab ? QStringLiteral("Tab %1 is not a weekday.").arg(*tab)
                                   : QStringLiteral("No weekday tab is selected."));
        rows = store::listShifts(store::shared(), *day);
    });
    trap(104, [&] { ListView1->clear(); });
    if (!rows)
        return;  // the query failed and has been reported: there are no rows to read
    // Each row's item is made whole and the items go into the list together: filled one text at a
    // time inside the list, every text would tell the list's view of the change.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows->size()));
    for (const store::ShiftListEntry& row : *rows)
        trap(106, [&] {
            items.append(new QTreeWidgetItem(QStringList{QString::number(row.id), row.timeIn, row.timeOut, row.employeeName}));
        });
    ListView1->addTopLevelItems(items);
}

// ---- the employee list and its identifiers -------------------------------------------------

qint64 Form1::employeeIds(int position) const
{
    if (position < 1 || position > static_cast<int>(employeeIds_.size()))
        throw app::Failure(QStringLiteral("The employee list has no entry at position %1.").arg(position));
    return employeeIds_[position - 1];
}

qint64 Form1::currentEmployeeId() const
{
    if (cboName->currentIndex() < 0)
        throw app::Failure(QStringLiteral("No employee is selected."));
    return employeeIds(cboName->currentIndex() + 1);
}

void Form1::selectEmployeeByText(const QString& name)
{
    const int index = cboName->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        throw app::Failure(QStringLiteral("\"%1\" is not in the employee list.").arg(name));
    cboName->setCurrentIndex(index);
}

// ---- what the schedule workbook reads ------------------------------------------------------

QString Form1::weekText() const { return txtForAWeek->text(); }
QString Form1::departmentText() const { return txtDepartment->text(); }

schedule::Interval Form1::selectedInterval() const
{
    if (Option3->isChecked())
        return schedule::Interval::Hourly;
    if (Option4->isChecked())
        return schedule::Interval::HalfHour;
    if (Option5->isChecked())
        return schedule::Interval::FifteenMinutes;
    return schedule::Interval::Hourly;  // none selected: as Hourly
}

std::optional<int> Form1::currentWeekdayIndex() const
{
    const int index = SSTab1->currentIndex();
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

// ---- interval options ----------------------------------------------------------------------

void Form1::setOption(QRadioButton* option, bool value)
{
    if (value) {
        option->setChecked(true);
        return;
    }
    // Auto-exclusive buttons refuse to be cleared directly.
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

void Form1::optionClicked()
{
    app::Settings::setIntervalOptions(Option3->isChecked(), Option4->isChecked(), Option5->isChecked());
    FillTimeLists();
}

// ---- buttons -------------------------------------------------------------------------------

void Form1::PushButton1_Click()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    trap(100, [&] {
        Form2 dialog(*this);
        dialog.Form_Load();
        dialog.exec();
    });
}

void Form1::PushButton2_Click()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"));
    if (trap.test(100, [&] { return cboName->currentIndex() < 0; }))
        return;
    const int answer = trap.value(102, app::msg::kNo, [&] {
        return app::MsgBox(QStringLiteral("Are you sure you want to delete ") + cboName->currentText() + QStringLiteral("?"),
                           app::msg::kYesNo);
    });
    if (trap.test(104, [&] { return answer != app::msg::kYes; }))
        return;
    // The employee row, then its shifts from Monday to Sunday: together or not at all.
    app::TrapSteps removal{app::numbered(trap, 106), app::numbered(trap, 108), app::numbered(trap, 110),
                           app::numbered(trap, 112), app::numbered(trap, 114), app::numbered(trap, 116),
                           app::numbered(trap, 118), app::numbered(trap, 120)};
    if (store::removeEmployee(store::shared(), [&] { return currentEmployeeId(); }, removal, &newChange()) ==
        store::EmployeeRemoval::Removed)
        keepChange();
    trap(122, [&] { loadEmployees(); });
    trap(124, [&] { listSchedules(); });
}

void Form1::PushButton3_Click()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
    if (trap.test(100, [&] { return cboTimeIn->currentIndex() < 0 || cboTimeOut->currentIndex() < 0; })) {
        trap(102, [] { app::MsgBox(QStringLiteral("You forgot to select schedule.")); });
        return;
    }
    const std::optional<int> tab = currentWeekdayIndex();
    const std::optional<store::Weekday> day = tab ? store::weekdayFromIndex(*tab) : std::nullopt;
    if (!trap.test(104, [&] { return !day.has_value(); })) {
        // The overlap query, the decision and the insert; the change ends before the message,
        // which waits for the user.
        app::TrapSteps adding{app::numbered(trap, 106), app::numbered(trap, 108), app::numbered(trap, 110)};
        const store::ShiftLookUp shift{[&] { return currentEmployeeId(); }, [&] { return cboTimeIn->currentText(); },
                                       [&] { return cboTimeOut->currentText(); }};
        const store::ShiftAdding outcome = store::addShift(store::shared(), *day, shift, adding, &newChange());
        if (outcome == store::ShiftAdding::Added)
            keepChange();
        // Another planner may have deleted the employee since the list was filled: that is news,
        // told in the place of the overlap's message.
        const QString employee = cboName->currentText();
        if (outcome == store::ShiftAdding::Overlaps || outcome == store::ShiftAdding::EmployeeGone)
            trap(112, [&] {
                app::MsgBox(outcome == store::ShiftAdding::Overlaps
                                ? QStringLiteral("Schedule already exists.")
                                : QStringLiteral("%1 is no longer on the roster: another planner deleted them, so "
                                                 "the shift was not stored.")
                                      .arg(employee));
            });
    }
    trap(114, [&] { listSchedules(); });
}

void Form1::PushButton4_Click()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton4_Click"));
    if (trap.test(100, [&] { return ListView1->topLevelItemCount() == 0; }))
        return;
    const std::optional<int> tab = currentWeekdayIndex();
    const std::optional<store::Weekday> day = tab ? store::weekdayFromIndex(*tab) : std::nullopt;
    if (!trap.test(102, [&] { return !day.has_value(); }))
        trap(104, [&] {
            const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
            if (selected.isEmpty())
                throw app::Failure(QStringLiteral("No schedule is selected in the list."));
            bool ok = false;
            const qint64 id = selected.constFirst()->text(0).toLongLong(&ok);
            if (!ok)
                throw app::Failure(QStringLiteral("The selected row's \"%1\" is not a schedule's number.").arg(selected.constFirst()->text(0)));
            if (store::removeShift(store::shared(), *day, id, &newChange()))
                keepChange();
        });
    trap(106, [&] { listSchedules(); });
}

void Form1::PushButton6_Click()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"));
    trap(100, [] {
        app::MsgBox(QStringLiteral("Questions? Please contact Team Tarrowby at ") + QString::fromUtf8(app::config::kContactUrl),
                    app::msg::kOkOnly);
    });
}

void Form1::PushButton7_Click()
{
    WindowLists lists(*this);
    app::loadSampleData(lists);
    if (hours_ && hours_->isVisible())
        hours_->refresh();
}

namespace {

// The main window's side of a schedule build: its header texts, interval and pointer, the
// progress of a long build, and the hand-over to the preview window.
class Form1ReportHost final : public report::ReportHost {
public:
    explicit Form1ReportHost(Form1& form) : form_(form), progress_(&form) {}
    QString weekText() const override { return form_.weekText(); }
    QString departmentText() const override { return form_.departmentText(); }
    report::Interval interval() const override { return form_.selectedInterval(); }
    void setBusyPointer(bool busy) override
    {
        form_.setWindowPointer(busy ? Form1::Pointer::Busy : Form1::Pointer::Default);
    }
    void loadPreviewPicture(const QString& path, const QImage& written) override
    {
        preview::Form3::instance().loadPicture(path, written);
    }
    void setPreviewWorkbook(const QString& path) override { preview::Form3::instance().setExcelFile(path); }
    void buildProgress(const report::BuildProgress& reached) override { progress_.reached(reached); }
    void showPreview() override
    {
        progress_.close();
        preview::Form3::instance().showPreview();
    }
    void hideMainWindow() override { preview::Form3::instance().hideMainWindow(&form_); }

private:
    Form1& form_;
    BuildProgressDialog progress_;
};

}  // namespace

void Form1::PushButton22_Click()
{
    Form1ReportHost host(*this);
    report::startButtonClick(host);
}

// ---- closing -------------------------------------------------------------------------------

void Form1::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    event->accept();
}

void Form1::Form_QueryUnload()
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("Form_QueryUnload"));
    if (trap.test(100, [] { return store::sharedIsOpen(); }))
        trap(102, [] { store::shared().close(); });
    trap(104, [&] { employeeIds_.clear(); });
    trap(106, [] { QCoreApplication::processEvents(); });
    trap(108, [] { QCoreApplication::processEvents(); });
    trap(110, [] { app::endProgram(0); });
}

}  // namespace ui
