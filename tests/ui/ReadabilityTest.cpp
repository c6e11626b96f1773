// Readable under any desktop palette and usable without the eyes: the contrast of every caption
// against what it is drawn on, light and dark, and the names screen readers announce.
#include "tests/ui/UiFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace {

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What the widget's own background shows: the nearest of itself and its parents that paints one.
QColor shownBackground(const QWidget* widget)
{
    const QWidget* w = widget;
    while (!w->isWindow() && !w->autoFillBackground())
        w = w->parentWidget();
    return w->palette().color(w->backgroundRole());
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xde, 0xdd, 0xda));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    return dark;
}

// Every label, frame title and option of the window whose text reads below 4.5:1.
QStringList hardToRead(const QWidget& window)
{
    QStringList out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            text = frame->title();
        else if (auto* option = qobject_cast<QRadioButton*>(w))
            text = option->text();
        else
            continue;
        const double ratio = contrast(w->palette().color(QPalette::WindowText), shownBackground(w));
        if (ratio < 4.5)
            out << QStringLiteral("%1 %2:1").arg(text).arg(ratio, 0, 'f', 2);
    }
    return out;
}

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

}  // namespace

class ReadabilityTest : public UiTest {
protected:
    void TearDown() override
    {
        QApplication::setPalette(QPalette());
        UiTest::TearDown();
    }
};

TEST_F(ReadabilityTest, EveryCaptionReadsUnderLightAndDarkPalettes)
{
    const QPalette light(QColor(0xef, 0xef, 0xef));
    for (const QPalette& palette : {light, darkPalette()}) {
        QApplication::setPalette(palette);
        ui::Form1& window = start();
        EXPECT_EQ(hardToRead(window), QStringList()) << "main window";
        // The frames keep their white.
        EXPECT_EQ(shownBackground(child<QRadioButton>("Option3")), QColor(Qt::white));
        inEmployeeDialog([&](ui::Form2& dialog) {
            EXPECT_EQ(hardToRead(dialog), QStringList()) << "employee dialog";
            dialog.findChild<QPushButton*>("PushButton1")->click();
        });
        quit();
    }
}

TEST_F(ReadabilityTest, ScreenReadersNameEveryControl)
{
    start();
    const std::pair<const char*, const char*> named[] = {
        {"txtForAWeek", "For The Week Of..."}, {"txtDepartment", "Department Name"}, {"cboName", "Employee"},
        {"cboTimeIn", "Time In"},              {"cboTimeOut", "Time Out"},          {"ListView1", "Shifts"},
        {"PushButton3", "Add Schedule"},       {"Option5", "15 minutes"}};
    for (const auto& [name, expected] : named)
        EXPECT_EQ(accessibleName(child<QWidget>(name)), expected) << name;

    inEmployeeDialog([&](ui::Form2& dialog) {
        EXPECT_EQ(accessibleName(dialog.findChild<QLineEdit*>("txtName")), "Name");
        EXPECT_EQ(accessibleName(dialog.findChild<QLineEdit*>("txtPosition")), "Position");
        dialog.findChild<QPushButton*>("PushButton1")->click();
    });

    // The shift list reads as the table the eye sees: its identifier column is left out.
    addEmployee("Ada", "Cook");
    addShift("Ada", 0, "09:00:00 AM", "05:00:00 PM");
    addShift("Ada", 0, "06:00:00 PM", "10:00:00 PM");
    auto* view = child<QTreeWidget>("ListView1");
    ASSERT_EQ(view->topLevelItemCount(), 2);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(face->tableInterface(), nullptr);
    QAccessibleTableInterface* table = face->tableInterface();
    ASSERT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->rowCount(), 2);
    QStringList headers;
    for (int column = 0; column < table->columnCount(); ++column)
        headers << table->columnDescription(column);
    EXPECT_EQ(headers, QStringList({"Time In", "Time Out", "Employee"}));

    QStringList seen{"Time In", "Time Out", "Employee"};  // what the eye reads, header row first
    QStringList identifiers;
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = view->topLevelItem(row);
        seen << item->text(1) << item->text(2) << item->text(3);
        identifiers << item->text(0);
        for (int column = 0; column < 3; ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->text(QAccessible::Name), item->text(column + 1)) << row << "," << column;
            EXPECT_EQ(face->indexOfChild(cell), (row + 1) * 3 + column);
        }
    }
    QStringList told;
    for (int i = 0; i < face->childCount(); ++i)
        told << face->child(i)->text(QAccessible::Name);
    EXPECT_EQ(told, seen);
    for (const QString& id : identifiers)
        EXPECT_FALSE(told.contains(id)) << id.toStdString();

    view->setCurrentItem(view->topLevelItem(1));
    EXPECT_EQ(table->selectedRows(), QList<int>({1}));
    EXPECT_EQ(table->selectedCellCount(), 3);

    // A refilled list is read afresh.
    addShift("Ada", 0, "06:00:00 AM", "07:00:00 AM");
    ASSERT_EQ(view->topLevelItemCount(), 3);
    EXPECT_EQ(table->rowCount(), 3);
    for (int row : {0, 2})
        EXPECT_EQ(table->cellAt(row, 0)->text(QAccessible::Name), view->topLevelItem(row)->text(1)) << row;
}
