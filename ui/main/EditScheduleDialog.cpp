// The shift's new times.
#include "ui/main/EditScheduleDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {
namespace {

void fill(QComboBox* list, const QStringList& entries, const QString& chosen)
{
    list->addItems(entries);
    list->setMaxVisibleItems(16);
    if (chosen.isEmpty())
        return;
    if (!entries.contains(chosen))
        list->insertItem(0, chosen);
    list->setCurrentIndex(list->findText(chosen));
}

}  // namespace

EditScheduleDialog::EditScheduleDialog(QWidget* parent, const QStringList& entries, const QString& timeIn,
                                       const QString& timeOut)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("EditSchedule"));
    setWindowTitle(QStringLiteral("Edit Schedule"));
    setModal(true);
    cboTimeIn = new QComboBox(this);
    cboTimeIn->setObjectName(QStringLiteral("cboTimeIn"));
    cboTimeIn->setAccessibleName(QStringLiteral("Time In:"));
    fill(cboTimeIn, entries, timeIn);
    cboTimeOut = new QComboBox(this);
    cboTimeOut->setObjectName(QStringLiteral("cboTimeOut"));
    cboTimeOut->setAccessibleName(QStringLiteral("Time Out:"));
    fill(cboTimeOut, entries, timeOut);

    auto* buttons = new QDialogButtonBox(this);
    saveButton_ = buttons->addButton(QStringLiteral("Save"), QDialogButtonBox::AcceptRole);
    saveButton_->setObjectName(QStringLiteral("Save"));
    saveButton_->setDefault(true);
    closeButton_ = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    closeButton_->setObjectName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Time In:"), cboTimeIn);
    form->addRow(QStringLiteral("Time Out:"), cboTimeOut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString EditScheduleDialog::timeIn() const { return cboTimeIn->currentText(); }
QString EditScheduleDialog::timeOut() const { return cboTimeOut->currentText(); }

}  // namespace ui
