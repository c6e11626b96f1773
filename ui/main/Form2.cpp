// The employee dialog.
#include "ui/main/Form2.h"

#include "ui/main/Form1.h"
#include "ui/main/Twips.h"

#include "app/Dialogs.h"
#include "app/Helpers.h"
#include "app/Paths.h"
#include "app/Trap.h"
#include "app/WindowHelpers.h"
#include "app/WindowPointer.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/RosterRules.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {
namespace {

QFont boldArial(qreal points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

Form2::Form2(Form1& mainWindow) : QDialog(&mainWindow), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Employee"));
    setModal(true);
    setFont(boldArial(9));
    setFixedSize(twips(4560), twips(1605));

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setGeometry(twipsRect(960, 120, 3480, 345));
    txtPosition = new QLineEdit(this);
    txtPosition->setObjectName(QStringLiteral("txtPosition"));
    txtPosition->setGeometry(twipsRect(960, 600, 3480, 345));
    nameLabel_ = new QLabel(QStringLiteral("Name:"), this);
    nameLabel_->setObjectName(QStringLiteral("Label1"));
    nameLabel_->setGeometry(twipsRect(120, 180, 540, 225));
    positionLabel_ = new QLabel(QStringLiteral("Position:"), this);
    positionLabel_->setObjectName(QStringLiteral("Label1"));
    positionLabel_->setGeometry(twipsRect(120, 660, 735, 225));
    PushButton4 = new QPushButton(QStringLiteral("Save"), this);
    PushButton4->setObjectName(QStringLiteral("PushButton4"));
    PushButton4->setGeometry(twipsRect(960, 1080, 1680, 405));
    PushButton4->setFont(boldArial(11.25));
    PushButton4->setAutoDefault(false);
    // Enter saves from anywhere in the dialog; Escape closes it as the dialog's reject.
    PushButton4->setDefault(true);
    PushButton1 = new QPushButton(QStringLiteral("Close"), this);
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton1->setGeometry(twipsRect(2760, 1080, 1680, 405));
    PushButton1->setFont(boldArial(11.25));
    PushButton1->setAutoDefault(false);

    txtName->setAccessibleName(QStringLiteral("Name"));
    txtPosition->setAccessibleName(QStringLiteral("Position"));

    widenToCaption(nameLabel_);
    widenToCaption(positionLabel_);

    setTabOrder(txtName, txtPosition);
    setTabOrder(txtPosition, PushButton4);
    setTabOrder(PushButton4, PushButton1);

    connect(PushButton4, &QPushButton::clicked, this, &Form2::PushButton4_Click);
    connect(PushButton1, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    app::selectWholeTextOnFocus(txtName);
    app::selectWholeTextOnFocus(txtPosition);
    pointer_ = new app::WindowPointer(this);
}

Form2::Form2(Form1& mainWindow, qint64 employeeId, const QString& name, const QString& position) : Form2(mainWindow)
{
    setWindowTitle(QStringLiteral("Edit Employee"));
    editing_ = employeeId;
    txtName->setText(name);
    txtPosition->setText(position);
}

void Form2::Form_Load()
{
    app::Trap trap(QStringLiteral("Form2"), QStringLiteral("Form_Load"));
    trap(100, [&] { app::SetFormColours(this); });
    trap(102, [&] { setWindowIcon(mainWindow_.windowIcon()); });
    if (trap.test(104, [] { return app::FileExists(app::paths::handPointerFile()); }))
        trap(106, [&] { pointer_->setHand(app::loadPointerFile(app::paths::handPointerFile())); });
}

void Form2::PushButton4_Click()
{
    if (editing_) {
        saveEdit();
        return;
    }
    app::Trap trap(QStringLiteral("Form2"), QStringLiteral("PushButton4_Click"));
    // Names and positions are stored as typed, blanks included; only an empty field stops Save.
    if (trap.test(100, [&] { return txtName->text().isEmpty() || txtPosition->text().isEmpty(); }))
        return;
    trap(102, [&] {
        store::addEmployee(store::shared(), txtName->text(), txtPosition->text(), &mainWindow_.newChange());
        mainWindow_.keepChange();
    });
    trap(104, [&] { mainWindow_.loadEmployees(); });
    trap(106, [&] { mainWindow_.selectEmployeeByText(txtName->text()); });
    trap(108, [&] { accept(); });
}

void Form2::saveEdit()
{
    app::Trap trap(QStringLiteral("Form2"), QStringLiteral("SaveEdit"));
    // As when adding, an empty field stops Save.
    if (trap.test(100, [&] { return txtName->text().isEmpty() || txtPosition->text().isEmpty(); }))
        return;
    store::EmployeeEditing outcome = store::EmployeeEditing::Changed;
    const bool stored = trap(102, [&] {
        outcome = store::editEmployee(store::shared(), *editing_, txtName->text(), txtPosition->text(),
                                      &mainWindow_.newChange());
    });
    if (stored && outcome == store::EmployeeEditing::Changed)
        mainWindow_.keepChange();
    if (stored && outcome == store::EmployeeEditing::EmployeeGone)
        trap(104, [&] {
            app::MsgBox(QStringLiteral("%1 is no longer on the roster (another planner deleted them); nothing was stored.")
                            .arg(txtName->text()));
        });
    trap(106, [&] { mainWindow_.loadEmployees(); });
    trap(108, [&] { mainWindow_.selectEmployeeById(*editing_); });
    trap(110, [&] { accept(); });
}

void Form2::PushButton1_Click()
{
    app::Trap trap(QStringLiteral("Form2"), QStringLiteral("PushButton1_Click"));
    trap(100, [&] { reject(); });
}

}  // namespace ui
