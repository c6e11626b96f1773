// The dialog of "Copy Day...": which weekdays to copy the current tab's day to, one check box each,
// the day itself left off.
#pragma once

#include "store/Weekday.h"

#include <QDialog>

#include <vector>

class QCheckBox;

namespace ui {

class CopyDayDialog : public QDialog {
    Q_OBJECT
public:
    CopyDayDialog(QWidget* parent, store::Weekday from);

    // The days ticked, Monday to Sunday.
    std::vector<store::Weekday> chosenDays() const;
    void choose(store::Weekday day, bool ticked);

private:
    std::vector<QCheckBox*> boxes_;
};

}  // namespace ui
