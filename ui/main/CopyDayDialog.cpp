// Choosing the days to copy to.
#include "ui/main/CopyDayDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

CopyDayDialog::CopyDayDialog(QWidget* parent, store::Weekday from) : QDialog(parent)
{
    setObjectName(QStringLiteral("CopyDay"));
    setWindowTitle(QStringLiteral("Copy Day"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Copy the shifts of %1 to:").arg(store::weekdayCaption(from)), this));
    for (const store::Weekday day : store::allWeekdays) {
        auto* box = new QCheckBox(store::weekdayCaption(day), this);
        box->setObjectName(store::weekdayCaption(day));
        box->setEnabled(day != from);
        boxes_.push_back(box);
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::AcceptRole);
    copy->setObjectName(QStringLiteral("Copy"));
    copy->setDefault(true);
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<store::Weekday> CopyDayDialog::chosenDays() const
{
    std::vector<store::Weekday> days;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->isEnabled() && boxes_[i]->isChecked())
            days.push_back(store::allWeekdays[i]);
    return days;
}

void CopyDayDialog::choose(store::Weekday day, bool ticked)
{
    boxes_[static_cast<std::size_t>(store::weekdayIndex(day))]->setChecked(ticked);
}

}  // namespace ui
