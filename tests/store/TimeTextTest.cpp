// The three written forms of a time of day and the contents of the time lists.
#include "store/StoreError.h"
#include "store/TimeText.h"

#include <gtest/gtest.h>

using namespace store;

TEST(TimeText, ListTextsConvertToTwentyFourHourStoredTextsAndBack)
{
    const std::vector<std::pair<QString, QString>> pairs{
        {"12:00:00 AM", "00:00:00"}, {"12:30:00 AM", "00:30:00"}, {"08:30:00 AM", "08:30:00"},
        {"11:45:00 AM", "11:45:00"}, {"12:00:00 PM", "12:00:00"}, {"01:15:00 PM", "13:15:00"},
        {"11:45:00 PM", "23:45:00"}, {"07:05:09 PM", "19:05:09"},
    };
    for (const auto& [list, stored] : pairs) {
        EXPECT_EQ(storedFromListText(list), stored) << list.toStdString();
        EXPECT_EQ(listTextFromStored(stored), list) << stored.toStdString();
    }
}

TEST(TimeText, DisplayTextDropsTheLeadingZeroOfTheHour)
{
    EXPECT_EQ(displayTimeText(QTime(8, 30)), "8:30:00 AM");
    EXPECT_EQ(displayTimeText(QTime(0, 0)), "12:00:00 AM");
    EXPECT_EQ(displayTimeText(QTime(12, 0)), "12:00:00 PM");
    EXPECT_EQ(displayTimeText(QTime(23, 15, 5)), "11:15:05 PM");
    EXPECT_EQ(displayTextFromStored(QVariant(QStringLiteral("13:00:00"))), "1:00:00 PM");
    EXPECT_EQ(displayTextFromStored(QVariant()), "");
    EXPECT_EQ(parseDisplayTime("8:30:00 AM"), QTime(8, 30));
    EXPECT_EQ(parseDisplayTime("12:00:00 AM"), QTime(0, 0));
}

TEST(TimeText, MalformedTextsAreRefused)
{
    for (const char* text : {"8:30:00 AM", "13:00:00 PM", "00:00:00 AM", "09:60:00 AM", "09:00:60 AM", "09:00:00",
                             "09:00:00 am", "09:00:00 AM ", " 09:00:00 AM", "09:00 AM", "", "09:00:00 AM'"}) {
        EXPECT_FALSE(parseListTime(text).has_value()) << text;
        EXPECT_THROW(storedFromListText(text), StoreError) << text;
    }
    for (const char* text : {"24:00:00", "9:00:00", "12:00", "12:00:00 PM", "ab:cd:ef", "12:60:00", "12:00:60",
                             "12-00-00", "1 :00:00", "\xef\xbc\x90" "9:00:00"}) {
        EXPECT_FALSE(parseStoredTime(text).has_value()) << text;
        EXPECT_THROW(listTextFromStored(text), StoreError) << text;
        EXPECT_THROW(timeFromStored(QVariant(QString(text))), StoreError) << text;
    }
}

TEST(TimeText, StoredTimesReadAlikeFromTheirUtf8Bytes)
{
    for (const char* text : {"00:00:00", "23:59:59", "08:30:00\n", "08:30:00\n\n", "24:00:00", "8:30:00", "08:3O:00",
                             "08:30:00 ", "\xef\xbc\x90" "8:30:00", "08:30\xc2\xa0:00", "08\xef\xbc\x9a" "30:00", ""}) {
        const QByteArray bytes(text);
        EXPECT_EQ(parseStoredTimeUtf8(bytes), parseStoredTime(QString::fromUtf8(bytes))) << text;
    }
    EXPECT_EQ(parseStoredTimeUtf8("13:05:09"), QTime(13, 5, 9));
}

TEST(TimeText, TimeListsRunFromMidnightInTheirStep)
{
    struct Expected {
        int step;
        int count;
        const char* last;
    };
    for (const Expected& e : {Expected{60, 24, "11:00:00 PM"}, Expected{30, 48, "11:30:00 PM"},
                              Expected{15, 96, "11:45:00 PM"}}) {
        const QStringList entries = timeListEntries(e.step);
        ASSERT_EQ(entries.size(), e.count) << e.step;
        EXPECT_EQ(entries.front(), "12:00:00 AM");
        EXPECT_EQ(entries.back(), e.last);
        EXPECT_EQ(entries[e.count / 2], "12:00:00 PM");
        // Stored texts keep the lists' order, so comparing texts compares times.
        for (int i = 1; i < entries.size(); ++i) {
            EXPECT_LT(storedFromListText(entries[i - 1]), storedFromListText(entries[i]));
            EXPECT_EQ(parseListTime(entries[i - 1])->secsTo(*parseListTime(entries[i])), e.step * 60);
        }
    }
    EXPECT_EQ(timeListEntries(60)[8], "08:00:00 AM");
    EXPECT_TRUE(timeListEntries(0).isEmpty());
}
