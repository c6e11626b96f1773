// The main window: layout, intervals, remembered texts, focus, tabs, help, pointer and closing.
#include "tests/ui/UiFixture.h"

#include "app/BuildConfig.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "app/WindowPointer.h"

#include "store/Connection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

class MainWindowTest : public UiTest {};

TEST_F(MainWindowTest, LayoutFollowsTheTwipsOfTheDesign)
{
    start();
    // The specified 704 x 413, and the row of the planner's tools below it.
    EXPECT_EQ(form->size(), QSize(704, 448));
    const char* tools[] = {"EditEmployee", "EditSchedule", "CopyDay", "ClearDay", "Undo", "Hours"};
    int left = 8;
    for (const char* tool : tools) {
        const QRect button = child<QPushButton>(tool)->geometry();
        EXPECT_EQ(button.top(), 413) << tool;
        EXPECT_EQ(button.height(), 27) << tool;
        EXPECT_GE(button.left(), left) << tool;
        left = button.right() + 1;
    }
    EXPECT_LE(left, 696);
    EXPECT_EQ(child<QPushButton>("PushButton22")->geometry(), QRect(8, 8, 688, 27));
    EXPECT_EQ(child<QPushButton>("PushButton22")->text(), "Start Creating Template");
    EXPECT_EQ(child<QPushButton>("PushButton7")->geometry(), QRect(352, 42, 344, 27));
    EXPECT_EQ(child<QGroupBox>("Frame2")->title(), "Time Intervals");
    EXPECT_EQ(child<QLineEdit>("txtDepartment")->geometry().topLeft(), QPoint(16, 20));
    EXPECT_EQ(child<QWidget>("Picture1")->geometry(), QRect(12, 154, 681, 248));
    EXPECT_EQ(child<QTreeWidget>("ListView1")->geometry(), QRect(8, 72, 665, 169));
    EXPECT_EQ(child<QPushButton>("PushButton4")->text(), "Delete Schedule");
    EXPECT_EQ(child<QPushButton>("PushButton4")->font().pointSizeF(), 11.25);
    EXPECT_TRUE(child<QPushButton>("PushButton4")->font().bold());
    EXPECT_EQ(form->font().pointSizeF(), 9.0);

    auto* tabs = child<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 7);
    EXPECT_EQ(tabs->tabText(0), "Monday");
    EXPECT_EQ(tabs->tabText(6), "Sunday");

    // The interval options sit on the white of their frame, with no patch of their own.
    auto* frame = child<QGroupBox>("Frame2");
    const QImage shot = frame->grab().toImage();
    const QRect hourly = child<QRadioButton>("Option3")->geometry();
    const QRect halfHour = child<QRadioButton>("Option4")->geometry();
    ASSERT_GT(halfHour.left() - hourly.right(), 1);
    const QColor between = shot.pixelColor((hourly.right() + halfHour.left()) / 2, halfHour.top());
    EXPECT_GE(between.lightness(), 245) << "the frame is white";
    for (const char* name : {"Option3", "Option4", "Option5"}) {
        const QRect option = child<QRadioButton>(name)->geometry();
        EXPECT_EQ(shot.pixelColor(option.topRight()), between) << name;
        EXPECT_EQ(shot.pixelColor(option.bottomRight()), between) << name;
    }
}

TEST_F(MainWindowTest, ChangingTheIntervalRefillsTheListsAndRemembersTheOptions)
{
    start();
    list("cboTimeIn")->setCurrentIndex(5);
    list("cboTimeOut")->setCurrentIndex(7);
    EXPECT_EQ(app::Settings::stored(app::Settings::kTimeInIndex).value_or(""), "5");

    child<QRadioButton>("Option5")->click();
    EXPECT_EQ(list("cboTimeIn")->count(), 96);
    EXPECT_EQ(list("cboTimeOut")->count(), 96);
    EXPECT_EQ(list("cboTimeIn")->currentIndex(), -1);
    EXPECT_EQ(list("cboTimeOut")->currentIndex(), -1);
    EXPECT_EQ(list("cboTimeIn")->itemText(95), "11:45:00 PM");
    EXPECT_EQ(app::Settings::stored(app::Settings::kHourly).value_or(""), "False");
    EXPECT_EQ(app::Settings::stored(app::Settings::kHalfHour).value_or(""), "False");
    EXPECT_EQ(app::Settings::stored(app::Settings::kFifteenMinutes).value_or(""), "True");
    EXPECT_EQ(form->selectedInterval(), schedule::Interval::FifteenMinutes);
}

TEST_F(MainWindowTest, HeaderTextsAreRememberedAtEveryKeystroke)
{
    start();
    auto* department = child<QLineEdit>("txtDepartment");
    department->setFocus();
    QString typed;
    for (const QChar c : QStringLiteral("Chef's")) {
        department->insert(QString(c));
        typed += c;
        EXPECT_EQ(app::Settings::department(), typed);
    }
    department->clear();
    EXPECT_EQ(app::Settings::stored(app::Settings::kDepartment).value_or("<absent>"), "");
    child<QLineEdit>("txtForAWeek")->setText("anything at all");
    EXPECT_EQ(app::Settings::forAWeek(), "anything at all");
    EXPECT_EQ(form->weekText(), "anything at all");
    quit();
    start();
    EXPECT_EQ(child<QLineEdit>("txtForAWeek")->text(), "anything at all");
}

TEST_F(MainWindowTest, FocusSelectsTheWholeText)
{
    start();
    for (const char* name : {"txtDepartment", "txtForAWeek"}) {
        auto* box = child<QLineEdit>(name);
        box->setText("Night shift");
        box->deselect();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(box, &focusIn);
        QApplication::processEvents();
        EXPECT_EQ(box->selectedText(), "Night shift") << name;
        EXPECT_EQ(box->selectionStart(), 0);
    }
}

TEST_F(MainWindowTest, HelpNamesTheContactPage)
{
    start();
    click("PushButton6");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Questions? Please contact Team Tarrowby at ") + QString::fromUtf8(app::config::kContactUrl));
    EXPECT_EQ(dialogs.messages[0].style, 0);
    EXPECT_EQ(dialogs.messages[0].title, "Rostelle");
    EXPECT_TRUE(QString::fromUtf8(app::config::kContactUrl).endsWith("/contact/"));
}

TEST_F(MainWindowTest, ButtonsShowTheHandUnlessTheWindowIsBusy)
{
    start();
    auto* button = child<QPushButton>("PushButton3");
    auto* panel = child<QWidget>("Picture1");
    // Delivered as the window delivers a move: the button ignores it and it goes on to the panel.
    auto moveOver = [](QWidget* w) {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    moveOver(button);
    EXPECT_EQ(form->windowPointer(), ui::Form1::Pointer::Hand);
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);  // the hand file of the program folder
    EXPECT_EQ(form->cursor().hotSpot(), app::loadPointerFile(app::paths::handPointerFile()).hotSpot());
    moveOver(panel);
    EXPECT_EQ(form->windowPointer(), ui::Form1::Pointer::Default);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);

    form->setWindowPointer(ui::Form1::Pointer::Busy);
    moveOver(button);
    EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
    form->setWindowPointer(ui::Form1::Pointer::Default);
    moveOver(child<QPushButton>("PushButton22"));
    EXPECT_EQ(form->windowPointer(), ui::Form1::Pointer::Hand);
}

TEST_F(MainWindowTest, ClosingClosesTheConnectionAndEndsTheProgram)
{
    start();
    ASSERT_TRUE(store::sharedIsOpen());
    form->close();
    EXPECT_FALSE(store::sharedIsOpen());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(MainWindowTest, TheSkinFileIsAppliedWhenPresent)
{
    QTemporaryDir programFolder;
    QFile::copy(QStringLiteral(ROSTELLE_PROGRAM_DIR) + "/dbBlank.sqlite", programFolder.path() + "/dbBlank.sqlite");
    app::paths::setProgramFolder(programFolder.path());
    start();
    EXPECT_TRUE(form->styleSheet().isEmpty());  // no skin file: the design colours stay
    EXPECT_EQ(child<QGroupBox>("Frame2")->palette().color(QPalette::Window), QColor(Qt::white));
    quit();

    QDir(programFolder.path()).mkdir("x");
    QFile skin(programFolder.path() + "/x/o.cjs");
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QPushButton { color: navy; }");
    skin.close();
    start();
    EXPECT_EQ(form->styleSheet(), "QPushButton { color: navy; }");
    const QColor face = form->palette().color(QPalette::Button);
    EXPECT_EQ(child<QGroupBox>("Frame2")->palette().color(QPalette::Window), face);
    EXPECT_EQ(child<QWidget>("Picture1")->palette().color(QPalette::Window), face);
}
