// The main window follows the roster as others change it, on either store: another connection's
// or another process's changes show within a second with the selection kept, a rebuild waits while
// a dialog is open, another planner's delete is news rather than an error, and no report is shown
// while a change's transaction is open.
#include "tests/ui/UiFixture.h"

#include "tests/support/PostgresServer.h"
#include "tests/support/ProgramRun.h"

#include "app/StoreChoice.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/RosterRules.h"
#include "store/ServerSetup.h"

#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

class LiveRosterTest : public UiTest, public ::testing::WithParamInterface<bool> {
protected:
    bool onServer() const { return GetParam(); }
    void SetUp() override
    {
        UiTest::SetUp();
        if (!onServer())
            return;
        QString whyNot;
        ASSERT_TRUE(schema.make(&whyNot)) << whyNot.toStdString();
        store::setUpServerDatabase(store::Location::server(schema.uri()));
        app::chooseDatabase(schema.uri());
    }
    void TearDown() override
    {
        UiTest::TearDown();
        app::chooseDatabase(QString());
    }
    // Another planner's connection to the window's roster.
    std::unique_ptr<store::Connection> otherPlanner()
    {
        auto other = std::make_unique<store::Connection>(QStringLiteral("other-planner"));
        other->open(store::shared().location());
        return other;
    }
    QStringList names() const
    {
        QStringList all;
        for (int i = 0; i < list("cboName")->count(); ++i)
            all << list("cboName")->itemText(i);
        return all;
    }
    bool showsWithinASecond(const std::function<bool()>& shown) { return QTest::qWaitFor(shown, 1500); }

    testing_support::ServerSchema schema;
};

INSTANTIATE_TEST_SUITE_P(Stores, LiveRosterTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "PostgreSQL" : "SQLite"; });

}  // namespace

TEST_P(LiveRosterTest, ChangesMadeElsewhereShowWithinASecondAndTheSelectionStays)
{
    start();
    addEmployee("Bob", "Waiter");
    addEmployee("Cleo", "Host");
    list("cboName")->setCurrentIndex(list("cboName")->findText("Cleo"));
    const auto other = otherPlanner();

    // Another planner's program changes the roster through the same rules.
    store::FailFastSteps steps;
    const qint64 aaron = store::addEmployee(*other, "Aaron", "Cook");
    store::addShift(*other, store::Weekday::Monday,
                    {[=] { return aaron; }, [] { return QStringLiteral("09:00:00 AM"); },
                     [] { return QStringLiteral("10:00:00 AM"); }},
                    steps);
    child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    ASSERT_TRUE(showsWithinASecond([&] { return names().contains("Aaron"); })) << names().join(", ").toStdString();
    EXPECT_EQ(list("cboName")->currentText(), "Cleo") << "kept by identifier, not by position";
    EXPECT_TRUE(showsWithinASecond([&] { return child<QTreeWidget>("ListView1")->topLevelItemCount() == 1; }));

    store::editEmployee(*other, *store::findEmployee(*other, "Bob", "Waiter"), "Abe", "Waiter");
    EXPECT_TRUE(showsWithinASecond([&] { return names() == QStringList({"Aaron", "Abe", "Cleo"}); }));
    const qint64 cleo = form->currentEmployeeId();
    store::removeEmployee(*other, [=] { return cleo; }, steps);
    EXPECT_TRUE(showsWithinASecond([&] { return !names().contains("Cleo"); }));
    EXPECT_EQ(list("cboName")->currentIndex(), -1) << "the selected employee is gone: nothing is selected";

    // Another process: a command run on the same roster.
    const QStringList store = onServer() ? QStringList{"--database", schema.uri()} : QStringList{};
    ASSERT_EQ(testing_support::runProgram(env, store + QStringList{"--copy-day", "Monday", "--to", "Tuesday"}).exitCode, 0);
    child<QTabWidget>("SSTab1")->setCurrentIndex(1);
    EXPECT_EQ(child<QTreeWidget>("ListView1")->topLevelItemCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty()) << qPrintable(dialogs.texts().join("\n"));
}

TEST_P(LiveRosterTest, ARebuildWaitsWhileADialogIsOpen)
{
    start();
    addEmployee("Bob", "Waiter");
    const auto other = otherPlanner();
    QStringList whileOpen;
    QTimer::singleShot(0, [&] {
        store::addEmployee(*other, "Zed", "Cook");
        QTest::qWait(1200);
        whileOpen = names();
        QApplication::activeModalWidget()->close();
    });
    QDialog dialog(form.get());
    dialog.exec();
    EXPECT_EQ(whileOpen, QStringList({"Bob"}));
    EXPECT_TRUE(showsWithinASecond([&] { return names().contains("Zed"); }));
}

TEST_P(LiveRosterTest, AnotherPlannersDeleteIsNewsAndNoReportWaitsInsideAChange)
{
    start();
    addEmployee("Ann", "Cook");
    list("cboName")->setCurrentIndex(0);
    list("cboTimeIn")->setCurrentIndex(list("cboTimeIn")->findText("08:00:00 AM"));
    list("cboTimeOut")->setCurrentIndex(list("cboTimeOut")->findText("12:00:00 PM"));
    store::deleteEmployee(*otherPlanner(), form->currentEmployeeId());
    click("PushButton3");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Ann is no longer on the roster: another planner deleted them, so the shift "
                                        "was not stored.");
    EXPECT_NE(dialogs.messages[0].title, "Application Error");

    // Every step of this add fails inside the change; each report waits until it has ended.
    dialogs.clear();
    addEmployee("Bea", "Cook");
    list("cboName")->setCurrentIndex(list("cboName")->findText("Bea"));
    store::shared().execute("drop view qryMonday");
    store::shared().execute("drop table tblShiftMonday");
    std::vector<bool> openAtABox;
    dialogs.whileOpen = [&] { openAtABox.push_back(store::shared().inTransaction()); };
    child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    click("PushButton3");
    dialogs.whileOpen = {};
    EXPECT_GE(dialogs.errorReports().size(), 2u);
    EXPECT_EQ(std::count(openAtABox.begin(), openAtABox.end(), true), 0) << "no box waited inside a transaction";
}
