// The week's hours on screen.
#include "ui/main/HoursWindow.h"

#include "app/Dialogs.h"
#include "app/FileNames.h"
#include "app/ProtectedFiles.h"
#include "app/Trap.h"
#include "app/WindowPointer.h"

#include "fileio/AtomicWrite.h"

#include "preview/Overwrite.h"

#include "report/WeekHours.h"

#include "store/Connection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {

HoursWindow::HoursWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HoursWindow"));
    setWindowTitle(QStringLiteral("Hours"));
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("HoursTable"));
    table_->setAccessibleName(QStringLiteral("Hours"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    copyButton_ = new QPushButton(QStringLiteral("Copy"), this);
    copyButton_->setObjectName(QStringLiteral("Copy"));
    saveButton_ = new QPushButton(QStringLiteral("Save as CSV..."), this);
    saveButton_->setObjectName(QStringLiteral("SaveCsv"));
    connect(copyButton_, &QPushButton::clicked, this, &HoursWindow::copyClicked);
    connect(saveButton_, &QPushButton::clicked, this, &HoursWindow::saveClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton_);
    buttons->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(720, 320);
    new app::WindowPointer(this);
}

void HoursWindow::refresh()
{
    app::Trap trap(QStringLiteral("Hours"), QStringLiteral("refresh"));
    std::vector<std::vector<QString>> rows;
    if (!trap(100, [&] { rows = report::hoursTable(report::readWeekHours(store::shared())); }))
        return;
    shown_ = rows;
    table_->clear();
    const std::vector<QString>& header = rows.front();
    table_->setColumnCount(static_cast<int>(header.size()));
    table_->setRowCount(static_cast<int>(rows.size()) - 1);
    QStringList labels;
    for (const QString& label : header)
        labels << label;
    table_->setHorizontalHeaderLabels(labels);
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c), item);
        }
    table_->resizeColumnsToContents();
}

void HoursWindow::copyClicked()
{
    app::Trap trap(QStringLiteral("Hours"), QStringLiteral("Copy_Click"));
    trap(100, [&] { QGuiApplication::clipboard()->setText(report::tabSeparated(shown_)); });
}

void HoursWindow::saveClicked()
{
    app::Trap trap(QStringLiteral("Hours"), QStringLiteral("SaveCsv_Click"));
    QString chosen;
    trap(100, [&] { chosen = app::dialogs().saveFileName(QStringLiteral("Save as CSV"), QStringLiteral("CSV (*.csv)|*.csv")); });
    if (chosen.isEmpty())
        return;
    if (preview::overwriteAnswer(chosen) != app::msg::kYes)
        return;
    trap(102, [&] {
        if (const std::optional<QString> refusal = app::writeRefusal(chosen))
            throw app::Failure(*refusal + QLatin1Char('.'));
        const QByteArray text = report::csv(shown_).toUtf8();
        fileio::writeFile(app::toSystemBytes(chosen), std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    });
}

}  // namespace ui
