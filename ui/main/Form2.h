// Form2, the employee dialog: a name and a position typed in, "Save" stores the employee and
// selects it in the main window, "Close" leaves without storing. Opened for an employee on the
// roster it is "Edit Employee": filled with the employee's name and position, and Save changes them.
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
class WindowPointer;
}

namespace ui {

class Form1;

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(Form1& mainWindow);
    // The dialog for editing this employee.
    Form2(Form1& mainWindow, qint64 employeeId, const QString& name, const QString& position);

    // Colours, icon and hand pointer.
    void Form_Load();

public slots:
    void PushButton4_Click();  // Save
    void PushButton1_Click();  // Close

private:
    void saveEdit();

    Form1& mainWindow_;
    std::optional<qint64> editing_;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtPosition = nullptr;
    QLabel* nameLabel_ = nullptr;      // "Name:"
    QLabel* positionLabel_ = nullptr;  // "Position:"
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton1 = nullptr;
    app::WindowPointer* pointer_ = nullptr;
};

}  // namespace ui
