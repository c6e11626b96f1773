// Readable under any desktop palette and usable without the eyes: the contrast of every caption
// against what it is drawn on, light and dark, and the names screen readers announce.
#include "tests/ui/UiFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

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
}
