// The window on a shared roster: it names the roster, refuses overlaps, and after a lost
// connection reports, stores nothing, and works again on the next action.
#include "tests/ui/UiFixture.h"

#include "tests/support/PostgresServer.h"

#include "app/Paths.h"
#include "app/StoreChoice.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/ServerSetup.h"

#include <QTabWidget>

namespace {

class SharedRosterWindowTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
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

    testing_support::ServerSchema schema;
};

}  // namespace

TEST_F(SharedRosterWindowTest, TheWindowWorksOnTheSharedRosterAndNamesIt)
{
    start();
    EXPECT_TRUE(dialogs.errorReports().empty());
    EXPECT_EQ(form->windowTitle(), "Rostelle Software - rostelle_tests on this computer");
    EXPECT_FALSE(QFile::exists(app::paths::workingDatabase()));

    addEmployee("Ada", "Cook");
    addShift("Ada", 0, "08:00:00 AM", "12:00:00 PM");
    addShift("Ada", 0, "11:00:00 AM", "01:00:00 PM");
    EXPECT_EQ(dialogs.texts().filter("Schedule already exists.").size(), 1);
    EXPECT_EQ(shifts(store::Weekday::Monday), QStringList({"Ada 08:00:00 AM-12:00:00 PM"}));

    dialogs.answers = {app::msg::kYes};
    list("cboName")->setCurrentIndex(0);
    click("PushButton2");
    EXPECT_TRUE(store::listEmployees(store::shared()).empty());
    EXPECT_TRUE(shifts(store::Weekday::Monday).isEmpty());
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(SharedRosterWindowTest, AfterTheServerEndedTheSessionTheFirstActionWorksWithoutAReport)
{
    start();
    addEmployee("Ada", "Cook");
    child<QTabWidget>("SSTab1")->setCurrentIndex(2);
    list("cboName")->setCurrentIndex(0);
    list("cboTimeIn")->setCurrentIndex(list("cboTimeIn")->findText("08:00:00 AM"));
    list("cboTimeOut")->setCurrentIndex(list("cboTimeOut")->findText("12:00:00 PM"));
    schema.server()->endSessions(schema.name());
    click("PushButton3");
    EXPECT_TRUE(dialogs.errorReports().empty()) << qPrintable(dialogs.texts().join("\n"));
    EXPECT_EQ(shifts(store::Weekday::Wednesday), QStringList({"Ada 08:00:00 AM-12:00:00 PM"}));
}
