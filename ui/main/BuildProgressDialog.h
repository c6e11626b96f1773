// The sign of life of a long schedule build. The build runs on the one thread the program has; a
// build that is still going after about half a second gets a modal dialog naming the weekday and
// the employee it has reached, and from then on pending window events run at each step, so the
// windows stay painted. Nothing else takes input while the dialog shows, and the dialog itself
// cannot be cancelled or closed: the build goes on to its end, as it always did.
#pragma once

#include "report/ReportHost.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <memory>

class QProgressDialog;
class QWidget;

namespace ui {

class BuildProgressDialog {
public:
    // The wait starts now; without a delay given, the one in force for every build.
    explicit BuildProgressDialog(QWidget* owner);
    BuildProgressDialog(QWidget* owner, std::chrono::milliseconds delay);
    ~BuildProgressDialog();
    BuildProgressDialog(const BuildProgressDialog&) = delete;
    BuildProgressDialog& operator=(const BuildProgressDialog&) = delete;

    // Shows the dialog once the delay has passed, then keeps it current and lets pending events
    // run (at most every few hundredths of a second). Before the delay it does nothing at all.
    void reached(const report::BuildProgress& progress);
    // Takes the dialog away (before the preview shows, and at the end of the build).
    void close();

    bool isShowing() const;
    QString text() const;

    // "Building the schedule: Tuesday, employee 1,234 of 9,359", "Saving the schedule...".
    static QString describe(const report::BuildProgress& progress);

    // How long every build waits before it shows the dialog: half a second unless set (tests).
    static std::chrono::milliseconds defaultDelay();
    static void setDefaultDelay(std::chrono::milliseconds delay);

private:
    QWidget* owner_;
    std::chrono::milliseconds delay_;
    QElapsedTimer sinceStart_;
    QElapsedTimer sinceUpdate_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace ui
