#include "tests/ui/UiFixture.h"

#include "app/Paths.h"
#include "app/ProgramExit.h"

#include "store/Connection.h"
#include "store/TimeText.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

void UiTest::SetUp()
{
    app::paths::setProgramFolder(QStringLiteral(ROSTELLE_PROGRAM_DIR));
    app::setEndProgramHandler([this](int code) { endCodes.push_back(code); });
}

void UiTest::TearDown()
{
    form.reset();
    store::shared().close();
    app::setEndProgramHandler(nullptr);
    app::paths::setProgramFolder(QString());
}

ui::Form1& UiTest::start()
{
    form = std::make_unique<ui::Form1>();
    form->Form_Load();
    return *form;
}

void UiTest::quit()
{
    form->close();
    form.reset();
    store::shared().close();
}

void UiTest::inEmployeeDialog(const std::function<void(ui::Form2&)>& step)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ui::Form2*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
    });
    click("PushButton1");
}

void UiTest::typeAndSave(ui::Form2& dialog, const QString& name, const QString& position)
{
    dialog.findChild<QLineEdit*>("txtName")->setText(name);
    dialog.findChild<QLineEdit*>("txtPosition")->setText(position);
    dialog.findChild<QPushButton*>("PushButton4")->click();
}

void UiTest::addEmployee(const QString& name, const QString& position)
{
    inEmployeeDialog([&](ui::Form2& dialog) {
        typeAndSave(dialog, name, position);
        if (dialog.isVisible())  // Save did not close it: leave as the user would
            dialog.findChild<QPushButton*>("PushButton1")->click();
    });
}

void UiTest::addShift(const QString& name, int weekday, const QString& timeIn, const QString& timeOut)
{
    child<QTabWidget>("SSTab1")->setCurrentIndex(weekday);
    QComboBox* names = list("cboName");
    names->setCurrentIndex(names->findText(name));
    list("cboTimeIn")->setCurrentIndex(list("cboTimeIn")->findText(timeIn));
    list("cboTimeOut")->setCurrentIndex(list("cboTimeOut")->findText(timeOut));
    click("PushButton3");
}

QStringList UiTest::shifts(store::Weekday day) const
{
    QStringList out;
    for (const store::ShiftListEntry& entry : store::listShifts(store::shared(), day))
        out << entry.employeeName + " " + store::listTimeText(*store::parseDisplayTime(entry.timeIn)) + "-"
                   + store::listTimeText(*store::parseDisplayTime(entry.timeOut));
    return out;
}

QStringList UiTest::reportLines() const
{
    static const QRegularExpression where(QStringLiteral("in Rostellix2021/08/31\\.(\\w+\\.\\w+) at line (\\d+)"));
    QStringList out;
    for (const auto& report : dialogs.errorReports()) {
        const auto match = where.match(report.text);
        out << (match.hasMatch() ? match.captured(1) + ":" + match.captured(2) : QStringLiteral("?"));
    }
    return out;
}
