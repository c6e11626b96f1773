// A fixture for the window tests: its own data and config homes, dialogs the test answers, the
// program folder of the build (where the template database is), and the program's end recorded
// instead of performed.
#pragma once

#include "ui/main/Form1.h"
#include "ui/main/Form2.h"

#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"

#include "store/Shifts.h"
#include "store/Weekday.h"

#include <QComboBox>
#include <QPushButton>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new main window, loaded as at program start.
    ui::Form1& start();
    // Closes the window and the connection, as quitting the program does.
    void quit();

    template <class W>
    W* child(const char* name) const
    {
        W* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* list(const char* name) const { return child<QComboBox>(name); }
    void click(const char* button) const { child<QPushButton>(button)->click(); }

    // Presses "Add Employee" and, once the employee dialog shows, does the step in it; the step
    // leaves it closed.
    void inEmployeeDialog(const std::function<void(ui::Form2&)>& step);
    // Types the name and the position into the employee dialog and presses its Save.
    static void typeAndSave(ui::Form2& dialog, const QString& name, const QString& position);
    // Through the employee dialog, as a user would.
    void addEmployee(const QString& name, const QString& position);
    // Selects the employee, the tab and the two times, then presses "Add Schedule".
    void addShift(const QString& name, int weekday, const QString& timeIn, const QString& timeOut);
    // The shifts stored for the weekday: "employee in-out" with the list texts.
    QStringList shifts(store::Weekday day) const;
    // The step numbers of the error reports shown so far, with their labels' procedures.
    QStringList reportLines() const;

    testing_support::TestEnvironment env;
    testing_support::FakeDialogs dialogs;
    std::unique_ptr<ui::Form1> form;
    std::vector<int> endCodes;
};
