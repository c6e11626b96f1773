// The planner's tools through the real main window: editing an employee and a shift (with its
// keys), copying and clearing a day, undoing each kind of change and refusing to when another
// planner changed the same rows, and the hours window with its copy and CSV.
#include "tests/ui/UiFixture.h"

#include "ui/main/CopyDayDialog.h"
#include "ui/main/EditScheduleDialog.h"

#include "store/Connection.h"
#include "store/Employees.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

class ToolsTest : public UiTest {
protected:
    // Acts in the next modal dialog once it shows.
    template <class Dialog>
    void inDialog(const std::function<void(Dialog&)>& step)
    {
        QTimer::singleShot(0, [step] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            step(*dialog);
        });
    }
    void selectShift(int row)
    {
        auto* shifts = child<QTreeWidget>("ListView1");
        shifts->setCurrentItem(shifts->topLevelItem(row));
    }
    // Starts with Ann (two Monday shifts) and Bob (one on Tuesday), Monday's tab shown.
    void startWithARoster()
    {
        start();
        addEmployee("Ann", "Cook");
        addEmployee("Bob", "Waiter");
        addShift("Ann", 0, "09:00:00 AM", "11:00:00 AM");
        addShift("Ann", 0, "02:00:00 PM", "04:00:00 PM");
        addShift("Bob", 1, "10:00:00 AM", "12:00:00 PM");
        child<QTabWidget>("SSTab1")->setCurrentIndex(0);
        dialogs.clear();
    }
};

}  // namespace

TEST_F(ToolsTest, EditEmployeeChangesNameAndPositionAndKeepsTheEmployeeSelected)
{
    startWithARoster();
    list("cboName")->setCurrentIndex(-1);
    click("EditEmployee");  // nothing selected: nothing happens
    list("cboName")->setCurrentIndex(list("cboName")->findText("Bob"));
    const qint64 bob = form->currentEmployeeId();
    inDialog<ui::Form2>([](ui::Form2& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Employee");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtName")->text(), "Bob");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtPosition")->text(), "Waiter");
        typeAndSave(dialog, "Abe", "");  // an empty field does nothing
        EXPECT_TRUE(dialog.isVisible());
        typeAndSave(dialog, "Abe", "Host");
    });
    click("EditEmployee");
    EXPECT_EQ(list("cboName")->currentText(), "Abe");
    EXPECT_EQ(form->currentEmployeeId(), bob);
    EXPECT_EQ(store::employeeDetails(store::shared(), bob)->position, "Host");
    EXPECT_EQ(list("cboName")->itemText(0), "Abe") << "the list is rebuilt in name order";
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ToolsTest, EditScheduleByButtonOrKeyRefusesAnOverlapWithAnotherShiftOnly)
{
    startWithARoster();
    selectShift(0);
    inDialog<ui::EditScheduleDialog>([](ui::EditScheduleDialog& dialog) {
        auto* in = dialog.findChild<QComboBox*>("cboTimeIn");
        auto* out = dialog.findChild<QComboBox*>("cboTimeOut");
        EXPECT_EQ(in->currentText(), "09:00:00 AM");
        EXPECT_EQ(out->currentText(), "11:00:00 AM");
        out->setCurrentIndex(out->findText("02:00:00 PM"));  // touches the afternoon shift
        dialog.accept();
    });
    click("EditSchedule");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Schedule already exists.");
    EXPECT_EQ(shifts(store::Weekday::Monday), (QStringList{"Ann 09:00:00 AM-11:00:00 AM", "Ann 02:00:00 PM-04:00:00 PM"}));

    // Enter on the row opens it too; overlapping its own old times is no overlap.
    selectShift(0);
    inDialog<ui::EditScheduleDialog>([](ui::EditScheduleDialog& dialog) {
        auto* out = dialog.findChild<QComboBox*>("cboTimeOut");
        out->setCurrentIndex(out->findText("12:00:00 PM"));
        dialog.accept();
    });
    QTest::keyClick(child<QTreeWidget>("ListView1"), Qt::Key_Return);
    EXPECT_EQ(shifts(store::Weekday::Monday), (QStringList{"Ann 09:00:00 AM-12:00:00 PM", "Ann 02:00:00 PM-04:00:00 PM"}));
    EXPECT_EQ(dialogs.messages.size(), 1u);

    // The Delete key deletes the selected row.
    selectShift(1);
    QTest::keyClick(child<QTreeWidget>("ListView1"), Qt::Key_Delete);
    EXPECT_EQ(shifts(store::Weekday::Monday), (QStringList{"Ann 09:00:00 AM-12:00:00 PM"}));

    // A time off the hourly grid is shown and kept unless another is picked.
    store::insertShift(store::shared(), store::Weekday::Friday, form->employeeIds(1), "08:15:00 AM", "08:45:00 AM");
    child<QTabWidget>("SSTab1")->setCurrentIndex(4);
    selectShift(0);
    inDialog<ui::EditScheduleDialog>([](ui::EditScheduleDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QComboBox*>("cboTimeIn")->currentText(), "08:15:00 AM");
        auto* out = dialog.findChild<QComboBox*>("cboTimeOut");
        out->setCurrentIndex(out->findText("10:00:00 AM"));
        dialog.accept();
    });
    click("EditSchedule");
    EXPECT_EQ(shifts(store::Weekday::Friday), (QStringList{"Ann 08:15:00 AM-10:00:00 AM"}));
}

TEST_F(ToolsTest, CopyDaySaysWhatItCopiedAndSkippedAndClearDayAsksFirst)
{
    startWithARoster();
    addShift("Ann", 2, "10:00:00 AM", "10:00:00 PM");  // Wednesday: overlaps both Monday shifts
    child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    dialogs.clear();
    inDialog<ui::CopyDayDialog>([](ui::CopyDayDialog& dialog) {
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("Monday")->isEnabled());
        dialog.choose(store::Weekday::Tuesday, true);
        dialog.choose(store::Weekday::Wednesday, true);
        dialog.accept();
    });
    click("CopyDay");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Shifts of Monday copied: 2 to Tuesday, 0 to Wednesday.\nSkipped 2"))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(shifts(store::Weekday::Tuesday).size(), 3);

    dialogs.clear();
    child<QTabWidget>("SSTab1")->setCurrentIndex(1);
    dialogs.answers = {app::msg::kNo, app::msg::kYes};
    click("ClearDay");
    EXPECT_EQ(dialogs.messages.at(0).text, "Delete all 3 shifts of Tuesday?");
    EXPECT_EQ(shifts(store::Weekday::Tuesday).size(), 3);
    click("ClearDay");
    EXPECT_TRUE(shifts(store::Weekday::Tuesday).isEmpty());
    EXPECT_EQ(child<QTreeWidget>("ListView1")->topLevelItemCount(), 0);
}

TEST_F(ToolsTest, UndoTakesBackEachKindOfChangeAndNothingAnotherPlannerChangedSince)
{
    startWithARoster();
    const auto roster = [&] {
        QStringList all;
        for (const store::EmployeeEntry& e : store::listEmployees(store::shared()))
            all << QString::number(e.id) + " " + e.name;
        for (const store::Weekday day : store::allWeekdays)
            all << shifts(day);
        return all;
    };
    const QStringList before = roster();
    EXPECT_TRUE(child<QPushButton>("Undo")->isEnabled()) << "the last shift added can be taken back";

    // A deleted employee comes back with its identifier and every shift.
    list("cboName")->setCurrentIndex(list("cboName")->findText("Ann"));
    dialogs.answers = {app::msg::kYes};
    click("PushButton2");
    EXPECT_NE(roster(), before);
    QTest::keySequence(form.get(), QKeySequence::Undo);
    EXPECT_EQ(roster(), before);
    EXPECT_FALSE(child<QPushButton>("Undo")->isEnabled()) << "one level";

    // A cleared day, and an edited shift.
    dialogs.answers = {app::msg::kYes};
    click("ClearDay");
    click("Undo");
    EXPECT_EQ(roster(), before);

    // Another planner changed the shift since: nothing is undone, and the message says what.
    selectShift(0);
    inDialog<ui::EditScheduleDialog>([](ui::EditScheduleDialog& dialog) {
        auto* out = dialog.findChild<QComboBox*>("cboTimeOut");
        out->setCurrentIndex(out->findText("12:00:00 PM"));
        dialog.accept();
    });
    click("EditSchedule");
    {
        store::Connection other(QStringLiteral("other-planner"));
        other.open(store::shared().location());
        other.execute("update tblShiftMonday set fldtimeout='13:00:00' where fldtimeout='12:00:00'");
    }
    dialogs.clear();
    click("Undo");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Nothing was undone: since this change, another planner changed a shift of Monday from 9:00:00 AM to "
              "12:00:00 PM.");
    EXPECT_EQ(shifts(store::Weekday::Monday).first(), "Ann 09:00:00 AM-01:00:00 PM");
}

TEST_F(ToolsTest, TheHoursWindowShowsTheWeekCopiesItAndSavesItAsCsv)
{
    startWithARoster();
    click("Hours");
    auto* hours = form->findChild<QWidget*>("HoursWindow");
    ASSERT_NE(hours, nullptr);
    EXPECT_TRUE(hours->isVisible());
    EXPECT_FALSE(hours->isModal());
    auto* table = hours->findChild<QTableWidget*>("HoursTable");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "Ann");
    EXPECT_EQ(table->item(0, 1)->text(), "4:00");
    EXPECT_EQ(table->item(2, 8)->text(), "6:00");

    // It follows the roster: a shift added in the window shows at once.
    addShift("Bob", 6, "10:00:00 PM", "02:00:00 AM");
    EXPECT_EQ(table->item(1, 7)->text(), "4:00") << "through midnight";

    hours->findChild<QPushButton*>("Copy")->click();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Employee\tMonday\t"));
    const QString csv = env.tempDir() + "/hours.csv";
    dialogs.savePaths = {csv};
    hours->findChild<QPushButton*>("SaveCsv")->click();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("Employee,Monday,Tuesday"));
    EXPECT_TRUE(dialogs.errorReports().empty());
}
