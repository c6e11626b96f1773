// The remembered choices: where they are kept, their defaults and how their texts are read.
#include "app/Settings.h"
#include "tests/support/TestEnvironment.h"

#include <QDate>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

using app::Settings;
using testing_support::TestEnvironment;

TEST(Settings, KeptAsTextUnderTheMakersFileAndGroup)
{
    TestEnvironment env;
    Settings::setEmployeeIndex(2);
    Settings::setIntervalOptions(false, true, false);
    Settings::setForAWeek("Week of O'Brien");
    QFile file(env.configHome() + "/Tarrowby/Tarrowby.conf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("[Rostelle%20Software]"));
    EXPECT_TRUE(text.contains("cboName=2"));
    EXPECT_TRUE(text.contains("Option3=False"));
    EXPECT_TRUE(text.contains("Option4=True"));
    EXPECT_EQ(Settings::stored(Settings::kForAWeek).value_or(""), "Week of O'Brien");
}

TEST(Settings, DefaultsWhenNothingIsStored)
{
    TestEnvironment env;
    EXPECT_EQ(Settings::employeeIndex(), 0);
    EXPECT_TRUE(Settings::hourly());
    EXPECT_FALSE(Settings::halfHour());
    EXPECT_FALSE(Settings::fifteenMinutes());
    EXPECT_EQ(Settings::interval(), schedule::Interval::Hourly);
    EXPECT_EQ(Settings::department(), QString());
    EXPECT_EQ(Settings::forAWeek(), QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    EXPECT_FALSE(Settings::stored(Settings::kTimeInIndex).has_value());
}

TEST(Settings, TruthAcceptsTrueFalseAndNumbers)
{
    EXPECT_TRUE(Settings::toTruth("True"));
    EXPECT_TRUE(Settings::toTruth("true"));
    EXPECT_FALSE(Settings::toTruth("False"));
    EXPECT_TRUE(Settings::toTruth("1"));
    EXPECT_TRUE(Settings::toTruth("-1"));
    EXPECT_FALSE(Settings::toTruth("0"));
    EXPECT_THROW(Settings::toTruth("yes"), std::runtime_error);
    EXPECT_THROW(Settings::toTruth(""), std::runtime_error);
}

TEST(Settings, AnIndexThatIsNoNumberFails)
{
    TestEnvironment env;
    Settings::store(Settings::kEmployeeIndex, "two");
    EXPECT_THROW(Settings::employeeIndex(), std::runtime_error);
    Settings::store(Settings::kEmployeeIndex, " 7 ");
    EXPECT_EQ(Settings::employeeIndex(), 7);
}

TEST(Settings, TheIntervalIsTheLastOptionMarkedTrue)
{
    TestEnvironment env;
    Settings::setIntervalOptions(false, false, true);
    EXPECT_EQ(Settings::interval(), schedule::Interval::FifteenMinutes);
    // Two marked (only in a hand-edited file): the later one wins.
    Settings::setIntervalOptions(true, true, false);
    EXPECT_EQ(Settings::interval(), schedule::Interval::HalfHour);
    Settings::setIntervalOptions(true, false, true);
    EXPECT_EQ(Settings::interval(), schedule::Interval::FifteenMinutes);
    Settings::setIntervalOptions(false, true, true);
    EXPECT_EQ(Settings::interval(), schedule::Interval::FifteenMinutes);
    Settings::setIntervalOptions(false, false, false);  // only a hand-edited file: as Hourly
    EXPECT_EQ(Settings::interval(), schedule::Interval::Hourly);
    Settings::store(Settings::kHalfHour, "1");
    EXPECT_EQ(Settings::interval(), schedule::Interval::HalfHour);
}
