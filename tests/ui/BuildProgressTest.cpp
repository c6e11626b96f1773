// The progress dialog of a long build: nothing before its delay, then a modal dialog that names
// the weekday and employee reached, lets pending events run and cannot be dismissed; and the
// same through the main window's start button.
#include "tests/ui/UiFixture.h"

#include "ui/main/BuildProgressDialog.h"

#include "preview/Form3.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QTimer>

using report::BuildProgress;
using ui::BuildProgressDialog;

namespace {

class BuildProgressTest : public UiTest {
protected:
    void TearDown() override
    {
        BuildProgressDialog::setDefaultDelay(std::chrono::milliseconds(500));
        UiTest::TearDown();
    }
    QWidget owner;
};

BuildProgress drawing(store::Weekday day, int done, int of) { return {BuildProgress::Stage::Drawing, day, done, of}; }

TEST_F(BuildProgressTest, TheTextNamesTheWeekdayAndTheEmployeeReached)
{
    EXPECT_EQ(BuildProgressDialog::describe(drawing(store::Weekday::Sunday, 10, 10)),
              "Building the schedule: Sunday, employee 10 of 10");
    EXPECT_EQ(BuildProgressDialog::describe(drawing(store::Weekday::Monday, 0, 0)), "Building the schedule: Monday");
    EXPECT_EQ(BuildProgressDialog::describe({BuildProgress::Stage::Saving}), "Saving the schedule...");
}

TEST_F(BuildProgressTest, AShortBuildShowsNothingAndLetsNoEventRun)
{
    BuildProgressDialog progress(&owner, std::chrono::hours(1));
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    for (int done = 0; done <= 3; ++done)
        progress.reached(drawing(store::Weekday::Monday, done, 3));
    EXPECT_FALSE(progress.isShowing());
    EXPECT_FALSE(ran) << "a build that ends in time runs exactly as before";
    QApplication::processEvents();
}

TEST_F(BuildProgressTest, ALongBuildShowsAModalDialogThatKeepsTheWindowsPaintedAndCannotBeDismissed)
{
    BuildProgressDialog progress(&owner, std::chrono::milliseconds(0));
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    progress.reached(drawing(store::Weekday::Wednesday, 4, 9));
    ASSERT_TRUE(progress.isShowing());
    EXPECT_TRUE(ran) << "pending events ran";
    EXPECT_EQ(progress.text(), "Building the schedule: Wednesday, employee 5 of 9");

    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog->findChild<QPushButton*>(), nullptr) << "no Cancel";
    EXPECT_EQ(dialog->value(), 2 * 9 + 4);
    QCloseEvent close;
    QApplication::sendEvent(dialog, &close);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog, &escape);
    EXPECT_TRUE(progress.isShowing());

    progress.close();
    EXPECT_FALSE(progress.isShowing());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(BuildProgressTest, TheStartButtonShowsTheDialogWhileBuildingAndTakesItAwayForThePreview)
{
    BuildProgressDialog::setDefaultDelay(std::chrono::milliseconds(0));
    start();
    click("PushButton7");  // the sample data
    QStringList seen;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
            seen << dialog->labelText();
    });
    click("PushButton22");
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].startsWith("Building the schedule: Monday")) << seen[0].toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_NE(preview::Form3::existing(), nullptr);
    EXPECT_TRUE(preview::Form3::existing()->isVisible());
    EXPECT_TRUE(dialogs.errorReports().empty());
    delete preview::Form3::existing();
}

}  // namespace
