// Form2, the employee dialog: a name and a position typed in, "Save" stores the employee and
// selects it in the main window, "Close" leaves without storing.
#pragma once

#include <QCursor>
#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class Form1;

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(Form1& mainWindow);

    // Colours, icon and hand pointer.
    void Form_Load();

public slots:
    void PushButton4_Click();  // Save
    void PushButton1_Click();  // Close

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& mainWindow_;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtPosition = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* positionLabel = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton1 = nullptr;
    std::optional<QCursor> handPointer_;
};

}  // namespace ui
