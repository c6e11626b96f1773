// The build's progress dialog.
#include "ui/main/BuildProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>

#include <algorithm>

namespace ui {
namespace {

constexpr int kDaysInWeek = 7;
constexpr qint64 kUpdateEveryMs = 40;
constexpr std::chrono::milliseconds kUsualDelay(500);

std::chrono::milliseconds g_defaultDelay = kUsualDelay;

// A progress dialog that stays until the program takes it away: no Cancel button, and neither
// Escape nor the title bar's close ends it, since the build cannot be stopped half-way.
class UnstoppableProgress final : public QProgressDialog {
public:
    explicit UnstoppableProgress(QWidget* owner) : QProgressDialog(owner)
    {
        setWindowTitle(QStringLiteral("Rostelle Software"));
        setWindowModality(Qt::ApplicationModal);
        setCancelButton(nullptr);
        setAutoClose(false);
        setAutoReset(false);
        setMinimumDuration(0);
        setMinimumWidth(360);
    }

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void reject() override {}
};

}  // namespace

std::chrono::milliseconds BuildProgressDialog::defaultDelay() { return g_defaultDelay; }
void BuildProgressDialog::setDefaultDelay(std::chrono::milliseconds delay) { g_defaultDelay = delay; }

BuildProgressDialog::BuildProgressDialog(QWidget* owner) : BuildProgressDialog(owner, g_defaultDelay) {}

BuildProgressDialog::BuildProgressDialog(QWidget* owner, std::chrono::milliseconds delay)
    : owner_(owner), delay_(delay)
{
    sinceStart_.start();
}

BuildProgressDialog::~BuildProgressDialog() = default;

QString BuildProgressDialog::describe(const report::BuildProgress& progress)
{
    using Stage = report::BuildProgress::Stage;
    switch (progress.stage) {
    case Stage::Saving:
        return QStringLiteral("Saving the schedule...");
    case Stage::Picturing:
        return QStringLiteral("Making the picture of the schedule...");
    case Stage::Drawing:
        break;
    }
    const QString day = store::weekdayCaption(progress.day);
    if (progress.employees <= 0)
        return QStringLiteral("Building the schedule: %1").arg(day);
    const QLocale locale;
    return QStringLiteral("Building the schedule: %1, employee %2 of %3")
        .arg(day, locale.toString(std::min(progress.employeesDone + 1, progress.employees)),
             locale.toString(progress.employees));
}

void BuildProgressDialog::reached(const report::BuildProgress& progress)
{
    if (!dialog_) {
        if (sinceStart_.elapsed() < delay_.count())
            return;
        dialog_ = std::make_unique<UnstoppableProgress>(owner_);
    } else if (sinceUpdate_.isValid() && sinceUpdate_.elapsed() < kUpdateEveryMs) {
        return;
    }
    sinceUpdate_.start();

    const int perDay = std::max(progress.employees, 1);
    if (progress.stage == report::BuildProgress::Stage::Drawing) {
        dialog_->setMaximum(kDaysInWeek * perDay);
        dialog_->setValue(store::weekdayIndex(progress.day) * perDay + std::min(progress.employeesDone, perDay));
    } else {
        dialog_->setValue(dialog_->maximum());
    }
    dialog_->setLabelText(describe(progress));
    if (!dialog_->isVisible())
        dialog_->show();
    QCoreApplication::processEvents();
}

void BuildProgressDialog::close() { dialog_.reset(); }

bool BuildProgressDialog::isShowing() const { return dialog_ && dialog_->isVisible(); }

QString BuildProgressDialog::text() const { return dialog_ ? dialog_->labelText() : QString(); }

}  // namespace ui
