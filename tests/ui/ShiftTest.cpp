// Shifts through the window's buttons: what the overlap check is given, the messages, the list
// and deleting.
#include "tests/ui/UiFixture.h"

#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {
const QString kRefused = QStringLiteral("Schedule already exists.");
}

class ShiftTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        start();
        addEmployee("Ada", "Cook");
        addEmployee("Bea", "Waiter");
        addShift("Ada", 0, "09:00:00 AM", "05:00:00 PM");
        dialogs.clear();
    }
    // Adds for Ada on Monday; true when it was refused with the message.
    bool refused(const QString& in, const QString& out, const QString& who = "Ada", int day = 0)
    {
        dialogs.clear();
        addShift(who, day, in, out);
        EXPECT_TRUE(dialogs.errorReports().empty()) << qPrintable(dialogs.texts().join("\n"));
        return dialogs.texts() == QStringList({kRefused});
    }
};

// The overlap rule itself is the store's and tested there; here the window hands it the selected
// employee, weekday and times, and says so when it refuses.
TEST_F(ShiftTest, TheSelectedEmployeeWeekdayAndTimesAreCheckedForOverlaps)
{
    EXPECT_TRUE(refused("05:00:00 PM", "09:00:00 PM"));  // starts when Ada's Monday shift ends
    EXPECT_FALSE(refused("06:00:00 PM", "10:00:00 PM"));
    EXPECT_FALSE(refused("09:00:00 AM", "05:00:00 PM", "Bea", 0));
    EXPECT_FALSE(refused("09:00:00 AM", "05:00:00 PM", "Ada", 1));
    child<QRadioButton>("Option4")->click();  // the half-hour list
    EXPECT_FALSE(refused("10:30:00 PM", "06:00:00 AM", "Bea", 4));
    EXPECT_EQ(shifts(store::Weekday::Monday),
              QStringList({"Ada 09:00:00 AM-05:00:00 PM", "Bea 09:00:00 AM-05:00:00 PM", "Ada 06:00:00 PM-10:00:00 PM"}));
    EXPECT_EQ(shifts(store::Weekday::Tuesday), QStringList({"Ada 09:00:00 AM-05:00:00 PM"}));
    EXPECT_EQ(shifts(store::Weekday::Friday), QStringList({"Bea 10:30:00 PM-06:00:00 AM"}));
}

TEST_F(ShiftTest, MissingTimesAskForThemAndLeaveTheListAsItIs)
{
    auto* view = child<QTreeWidget>("ListView1");
    ASSERT_EQ(view->topLevelItemCount(), 1);
    view->clear();  // would be refilled by a refresh
    list("cboTimeIn")->setCurrentIndex(3);
    list("cboTimeOut")->setCurrentIndex(-1);
    click("PushButton3");
    EXPECT_EQ(dialogs.texts(), QStringList({"You forgot to select schedule."}));
    EXPECT_EQ(dialogs.messages[0].style, 0);
    EXPECT_EQ(view->topLevelItemCount(), 0);

    // A refused shift refreshes the list.
    dialogs.clear();
    addShift("Ada", 0, "10:00:00 AM", "11:00:00 AM");
    EXPECT_EQ(dialogs.texts(), QStringList({kRefused}));
    EXPECT_EQ(view->topLevelItemCount(), 1);
}

TEST_F(ShiftTest, TheListShowsTheDayInTimeOrderAndDeleteRemovesTheSelectedRow)
{
    addShift("Bea", 0, "12:00:00 AM", "01:00:00 AM");
    addShift("Bea", 0, "01:00:00 PM", "03:00:00 PM");
    auto* view = child<QTreeWidget>("ListView1");
    ASSERT_EQ(view->topLevelItemCount(), 3);
    EXPECT_EQ(view->topLevelItem(0)->text(1), "12:00:00 AM");  // midnight sorts first
    EXPECT_EQ(view->topLevelItem(0)->text(2), "1:00:00 AM");
    EXPECT_EQ(view->topLevelItem(1)->text(1), "9:00:00 AM");
    EXPECT_EQ(view->topLevelItem(1)->text(3), "Ada");
    EXPECT_EQ(view->topLevelItem(2)->text(2), "3:00:00 PM");

    child<QTabWidget>("SSTab1")->setCurrentIndex(1);
    EXPECT_EQ(view->topLevelItemCount(), 0);
    dialogs.clear();
    click("PushButton4");  // empty list: nothing happens
    EXPECT_TRUE(dialogs.messages.empty());

    child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    ASSERT_EQ(view->topLevelItemCount(), 3);
    view->clearSelection();
    click("PushButton4");  // rows but none selected: reported, nothing deleted
    EXPECT_EQ(reportLines(), QStringList({"Form1.PushButton4_Click:104"}));
    EXPECT_EQ(view->topLevelItemCount(), 3);

    view->topLevelItem(1)->setSelected(true);
    click("PushButton4");
    EXPECT_EQ(shifts(store::Weekday::Monday),
              QStringList({"Bea 12:00:00 AM-01:00:00 AM", "Bea 01:00:00 PM-03:00:00 PM"}));
    EXPECT_EQ(view->topLevelItemCount(), 2);
}
