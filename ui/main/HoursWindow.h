// The window of "Hours...": one row per employee with the hours of each weekday and the week, and
// a last row of each day's total, with "Copy" (the table as tab-separated text on the clipboard)
// and "Save as CSV...". Not modal; it is read again from the roster whenever refresh() is called,
// which the main window does after each change it makes.
#pragma once

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace ui {

class HoursWindow : public QWidget {
    Q_OBJECT
public:
    explicit HoursWindow(QWidget* parent);

    // Reads the roster again; reports its failures.
    void refresh();

public slots:
    void copyClicked();
    void saveClicked();

private:
    QTableWidget* table_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    std::vector<std::vector<QString>> shown_;
};

}  // namespace ui
