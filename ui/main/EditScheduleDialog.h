// The dialog of "Edit Schedule...": the Time In and Time Out lists of the current interval, set to
// the shift's times. A stored time that is not on the current grid is shown first in its list and
// kept unless another is picked.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace ui {

class EditScheduleDialog : public QDialog {
    Q_OBJECT
public:
    // Times as list texts ("08:30:00 AM"); an empty text leaves its list without a selection.
    EditScheduleDialog(QWidget* parent, const QStringList& entries, const QString& timeIn, const QString& timeOut);

    QString timeIn() const;
    QString timeOut() const;

private:
    QComboBox* cboTimeIn = nullptr;
    QComboBox* cboTimeOut = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace ui
