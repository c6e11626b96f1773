// Employees: the dialog, saving, namesakes, deleting with every weekday's shifts (kept whole when
// one step fails), and text that carries apostrophes or other characters exactly as typed.
#include "tests/ui/UiFixture.h"

#include "ui/main/Form2.h"

#include "app/Paths.h"
#include "app/Settings.h"

#include "store/Connection.h"
#include "store/Employees.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTreeWidget>

class EmployeeTest : public UiTest {};

TEST_F(EmployeeTest, TheEmployeeDialogIsLaidOutAndStartsEmpty)
{
    start();
    bool seen = false;
    inEmployeeDialog([&](ui::Form2& dialog) {
        seen = true;
        EXPECT_EQ(dialog.windowTitle(), "Employee");
        EXPECT_EQ(dialog.size(), QSize(304, 107));
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtName")->geometry(), QRect(64, 8, 232, 23));
        EXPECT_EQ(dialog.findChild<QPushButton*>("PushButton4")->text(), "Save");
        EXPECT_EQ(dialog.findChild<QPushButton*>("PushButton1")->geometry(), QRect(184, 72, 112, 27));
        EXPECT_TRUE(dialog.findChild<QLineEdit*>("txtName")->text().isEmpty());
        // The hand over its buttons, as in the main window.
        auto* save = dialog.findChild<QPushButton*>("PushButton4");
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), save->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(save, &move);
        EXPECT_EQ(dialog.cursor().shape(), Qt::BitmapCursor);
        dialog.findChild<QPushButton*>("PushButton1")->click();
    });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(store::listEmployees(store::shared()).empty());
}

TEST_F(EmployeeTest, SaveWithAFieldEmptyStoresNothingAndKeepsTheDialogOpen)
{
    start();
    for (const auto& [name, position] : {std::pair<QString, QString>{"Ada", ""}, {"", "Cook"}}) {
        bool stayedOpen = false;
        inEmployeeDialog([&](ui::Form2& dialog) {
            typeAndSave(dialog, name, position);
            stayedOpen = dialog.isVisible();
            dialog.findChild<QPushButton*>("PushButton1")->click();
        });
        EXPECT_TRUE(stayedOpen);
    }
    EXPECT_TRUE(store::listEmployees(store::shared()).empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EmployeeTest, SaveSelectsTheFirstEntryOfThatNameAndNamesakesAreKept)
{
    start();
    addEmployee("Mo", "Cook");
    EXPECT_EQ(list("cboName")->currentText(), "Mo");
    addEmployee("Al", "Porter");
    EXPECT_EQ(list("cboName")->currentIndex(), 0);
    EXPECT_EQ(app::Settings::stored(app::Settings::kEmployeeIndex).value_or(""), "0");
    addEmployee("Mo", "Waiter");
    ASSERT_EQ(list("cboName")->count(), 3);
    EXPECT_EQ(list("cboName")->itemText(1), "Mo");
    EXPECT_EQ(list("cboName")->itemText(2), "Mo");
    EXPECT_EQ(list("cboName")->currentIndex(), 1);  // the first of the two in list order
    EXPECT_NE(form->employeeIds(2), form->employeeIds(3));
    // Blanks count as text and are kept.
    addEmployee(" ", " ");
    EXPECT_EQ(list("cboName")->count(), 4);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(EmployeeTest, ApostrophesAndOtherTextRoundTripExactly)
{
    start();
    addEmployee("O'Brien", "Chef's Assistant");
    addEmployee("Zoë \"Zed\" Łukasz; --", "Barista 'n' more");
    EXPECT_TRUE(dialogs.errorReports().empty()) << qPrintable(dialogs.texts().join("\n"));
    ASSERT_EQ(list("cboName")->count(), 2);
    EXPECT_EQ(list("cboName")->itemText(0), "O'Brien");
    EXPECT_EQ(list("cboName")->itemText(1), "Zoë \"Zed\" Łukasz; --");
    EXPECT_EQ(store::findEmployee(store::shared(), "O'Brien", "Chef's Assistant"), form->employeeIds(1));
    addShift("O'Brien", 0, "09:00:00 AM", "05:00:00 PM");
    EXPECT_EQ(shifts(store::Weekday::Monday), QStringList({"O'Brien 09:00:00 AM-05:00:00 PM"}));
}

TEST_F(EmployeeTest, DeleteEmployeeRemovesTheirShiftsOnEveryWeekday)
{
    start();
    addEmployee("Ada", "Cook");
    addEmployee("Bea", "Waiter");
    for (int day = 0; day < 7; ++day) {
        addShift("Ada", day, "08:00:00 AM", "12:00:00 PM");
        addShift("Bea", day, "01:00:00 PM", "05:00:00 PM");
    }
    child<QTabWidget>("SSTab1")->setCurrentIndex(3);
    list("cboName")->setCurrentIndex(list("cboName")->findText("Ada"));
    dialogs.answers = {app::msg::kYes};
    click("PushButton2");

    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0].text, "Are you sure you want to delete Ada?");
    EXPECT_EQ(dialogs.messages[0].style, 4);
    EXPECT_EQ(dialogs.messages[0].title, "Rostelle");
    EXPECT_TRUE(dialogs.errorReports().empty());
    for (const store::Weekday day : store::allWeekdays)
        EXPECT_EQ(shifts(day), QStringList({"Bea 01:00:00 PM-05:00:00 PM"})) << store::weekdayCaption(day).toStdString();
    EXPECT_EQ(list("cboName")->count(), 1);
    EXPECT_EQ(list("cboName")->currentIndex(), -1);
    auto* view = child<QTreeWidget>("ListView1");
    ASSERT_EQ(view->topLevelItemCount(), 1);  // the Thursday list was refreshed
    EXPECT_EQ(view->topLevelItem(0)->text(3), "Bea");

    // With nobody selected, Add Schedule reports the missing employee and stores nothing.
    dialogs.clear();
    list("cboTimeIn")->setCurrentIndex(2);
    list("cboTimeOut")->setCurrentIndex(3);
    click("PushButton3");
    EXPECT_EQ(reportLines(), QStringList({"Form1.PushButton3_Click:106", "Form1.PushButton3_Click:108",
                                          "Form1.PushButton3_Click:110"}));
    EXPECT_EQ(shifts(store::Weekday::Thursday).size(), 1);

    // Deleting with nobody selected does nothing at all.
    dialogs.clear();
    click("PushButton2");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EmployeeTest, ADeleteCascadeWithAFailedStepKeepsTheEmployeeAndEveryShift)
{
    start();
    addEmployee("Ada", "Cook");
    for (int day = 0; day < 7; ++day)
        addShift("Ada", day, "08:00:00 AM", "12:00:00 PM");
    {
        // Thursday's shifts cannot be deleted, as in a damaged or locked table.
        store::Connection other(QStringLiteral("refuser"));
        other.open(app::paths::workingDatabase());
        other.execute("create trigger refuse before delete on tblShiftThursday "
                      "begin select raise(abort, 'deleting is refused'); end");
    }
    list("cboName")->setCurrentIndex(0);
    dialogs.answers = {app::msg::kYes};
    click("PushButton2");

    EXPECT_EQ(reportLines(), QStringList({"Form1.PushButton2_Click:114"}));
    EXPECT_EQ(list("cboName")->count(), 1);
    for (const store::Weekday day : store::allWeekdays)
        EXPECT_EQ(shifts(day), QStringList({"Ada 08:00:00 AM-12:00:00 PM"})) << store::weekdayCaption(day).toStdString();
}

TEST_F(EmployeeTest, WithTheDatabaseGoneEveryStatementOfTheDeleteIsReportedAtItsOwnLine)
{
    start();
    addEmployee("Ada", "Cook");
    store::shared().close();
    dialogs.answers = {app::msg::kYes};
    click("PushButton2");
    // The employee, then Monday to Sunday, then the reload; the refresh reports under its own label.
    EXPECT_EQ(reportLines(), QStringList({"Form1.PushButton2_Click:106", "Form1.PushButton2_Click:108",
                                          "Form1.PushButton2_Click:110", "Form1.PushButton2_Click:112",
                                          "Form1.PushButton2_Click:114", "Form1.PushButton2_Click:116",
                                          "Form1.PushButton2_Click:118", "Form1.PushButton2_Click:120",
                                          "Form1.PushButton2_Click:122", "Form1.listSchedules:102"}));
}

TEST_F(EmployeeTest, AnsweringNoChangesNothing)
{
    start();
    addEmployee("Ada", "Cook");
    addShift("Ada", 2, "08:00:00 AM", "12:00:00 PM");
    dialogs.answers = {app::msg::kNo};
    click("PushButton2");
    EXPECT_EQ(list("cboName")->count(), 1);
    EXPECT_EQ(list("cboName")->currentText(), "Ada");
    EXPECT_EQ(shifts(store::Weekday::Wednesday).size(), 1);
    EXPECT_EQ(store::listEmployees(store::shared()).size(), 1u);
}

TEST_F(EmployeeTest, EnterSavesAndEscapeClosesWithoutStoring)
{
    start();
    auto press = [](ui::Form2& dialog, Qt::Key key) {
        QWidget* focused = dialog.findChild<QLineEdit*>("txtPosition");
        focused->setFocus();
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(focused, &event);
    };
    bool closedByEnter = false;
    inEmployeeDialog([&](ui::Form2& dialog) {
        dialog.findChild<QLineEdit*>("txtName")->setText("Ada");
        dialog.findChild<QLineEdit*>("txtPosition")->setText("Cook");
        press(dialog, Qt::Key_Return);
        closedByEnter = !dialog.isVisible();
    });
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(list("cboName")->currentText(), "Ada");

    bool closedByEscape = false;
    inEmployeeDialog([&](ui::Form2& dialog) {
        dialog.findChild<QLineEdit*>("txtName")->setText("Bea");
        dialog.findChild<QLineEdit*>("txtPosition")->setText("Waiter");
        press(dialog, Qt::Key_Escape);
        closedByEscape = !dialog.isVisible();
    });
    EXPECT_TRUE(closedByEscape);
    EXPECT_EQ(store::listEmployees(store::shared()).size(), 1u);
}
