// A test's own data, config and temporary folders, the working database made from the built
// template and opened as the shared connection, dialogs that the test answers, and a host that
// records what the report driver asks of the window.
#pragma once

#include "report/ReportHost.h"

#include "sheet/Application.h"

#include "store/Weekday.h"

#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace report_testing {

// The window's side of a build: header texts and interval given by the test; every request
// recorded in order. The picture is loaded as the preview loads it: the one handed over when there
// is one (and whether it is what the file holds is recorded), else the file, whose absence throws.
class RecordingHost final : public report::ReportHost {
public:
    QString week = QStringLiteral("Dec 7 - Dec 13");
    QString department = QStringLiteral("Kitchen");
    report::Interval chosen = report::Interval::Hourly;

    QString weekText() const override { return week; }
    QString departmentText() const override { return department; }
    report::Interval interval() const override { return chosen; }

    void setBusyPointer(bool busy) override;
    // Recorded as "Monday 0/2", "saving", "picturing".
    void buildProgress(const report::BuildProgress& reached) override;
    void loadPreviewPicture(const QString& picturePath, const QImage& written) override;
    void setPreviewWorkbook(const QString& workbookPath) override;
    void showPreview() override;
    void hideMainWindow() override;

    QStringList calls;
    QStringList progress;
    QSize pictureSize;
    bool pictureHandedOver = false;
    bool handedOverAsTheFileHoldsIt = false;
    QString previewWorkbook;
};

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    qint64 addEmployee(const QString& name, const QString& position);
    // Times as the time lists write them: "07:00:00 AM".
    void addShift(store::Weekday day, qint64 employee, const QString& timeIn, const QString& timeOut);
    // "Employee 00001" to "Employee NNNNN", all "Staff", added in one transaction, each with the
    // shift on every weekday when its times are given.
    void addStaff(int employees, const QString& timeIn = {}, const QString& timeOut = {});

    // A new workbook with one sheet in a fresh application object, ready for the sheet builder.
    void startWorkbook();
    // The active sheet of the application object.
    sheet::Worksheet sheet() const;
    // Displayed text of a cell of the application object's active sheet ("C5").
    QString text(const QString& cell) const;
    int fill(const QString& cell) const;

    std::vector<testing_support::ShownMessage> errorReports() const { return dialogs.errorReports(); }

    testing_support::TestEnvironment environment;
    testing_support::FakeDialogs dialogs;
};

// The saved workbook as xlrd reads it (tests/report/read_workbook.py).
QJsonObject readWithXlrd(const QString& path, QString* error);

// Files in the temporary folder.
QStringList temporaryFiles();

// The three intervals, for tests run once for each, named "Hourly", "HalfHour", "FifteenMinutes".
inline const auto kAllIntervals = ::testing::Values(report::Interval::Hourly, report::Interval::HalfHour,
                                                    report::Interval::FifteenMinutes);
std::string intervalTestName(const ::testing::TestParamInfo<report::Interval>& info);

}  // namespace report_testing
