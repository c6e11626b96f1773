// The main window's lists as plain data, for loading the sample data without a window: the
// employee list with its identifiers and the two time lists of one interval. Selections are
// remembered in the settings exactly as the window remembers them.
#pragma once

#include "app/SampleLoad.h"
#include "schedule/Interval.h"

#include <QStringList>

#include <vector>

namespace commands {

class HeadlessSampleView final : public app::SampleLoadView {
public:
    explicit HeadlessSampleView(schedule::Interval interval);

    void loadEmployees() override;
    void selectEmployeeByName(const QString& name) override;
    qint64 selectedEmployeeId() const override;
    int timeListCount() const override { return static_cast<int>(times_.size()); }
    void selectTimeIn(int position) override;
    void selectTimeOut(int position) override;
    QString selectedTimeIn() const override;
    QString selectedTimeOut() const override;

private:
    QStringList names_;
    std::vector<qint64> ids_;
    int selectedEmployee_ = -1;
    QStringList times_;
    int timeIn_ = -1;
    int timeOut_ = -1;
};

}  // namespace commands
