// Statements on an open connection, on both stores: a refused statement carries the store's own
// description, a row's columns are found by position or by name, and a table whose identifiers
// are used up is named in plain words.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

#include <functional>
#include <utility>
#include <vector>

using namespace store;

namespace {

class ConnectionTest : public store_testing::StoreTest {};
ON_BOTH_STORES(ConnectionTest);

}  // namespace

TEST_P(ConnectionTest, RejectedStatementCarriesTheDatabasesDescription)
{
    try {
        db->execute("delete from tblNothing where fldid=1");
        ADD_FAILURE() << "statement accepted";
    } catch (const StoreError& e) {
        // Each store in its own words, without the server's severity prefix and code.
        EXPECT_STREQ(e.what(), backend() == store_testing::Backend::SQLite ? "no such table: tblNothing"
                                                                           : "relation \"tblnothing\" does not exist");
    }
    EXPECT_THROW(db->query("select fldNothing from tblEmployee"), StoreError);
}

TEST_P(ConnectionTest, ColumnsAreFoundByPositionOrByNameInAnyCase)
{
    insertEmployee(*db, "Ann", "Cook");
    const Rows rows = db->query("select * from tblEmployee");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].value(1).toString(), "Ann");
    EXPECT_EQ(rows[0].value("FLDname").toString(), "Ann");
    EXPECT_EQ(rows[0].value("fldposition").toString(), "Cook");
    EXPECT_THROW(rows[0].value(3), StoreError);
    EXPECT_THROW(rows[0].value("fldTimeIn"), StoreError);
}

TEST_P(ConnectionTest, UsedUpIdentifiersAreNamedInPlainWordsAndOtherTablesGoOn)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Friday, ann, "09:00:00 AM", "10:00:00 AM");
    useUpIdentifiers("tblEmployee");
    useUpIdentifiers("tblShiftFriday");

    for (const auto& attempt : std::vector<std::pair<const char*, std::function<void()>>>{
             {"tblEmployee", [&] { insertEmployee(*db, "Bob", "Cook"); }},
             {"tblShiftFriday", [&] { insertShift(*db, Weekday::Friday, ann, "11:00:00 AM", "12:00:00 PM"); }},
         }) {
        SCOPED_TRACE(attempt.first);
        try {
            attempt.second();
            ADD_FAILURE() << "stored past the largest identifier";
        } catch (const StoreError& e) {
            const QString text = e.description();
            EXPECT_TRUE(text.contains(attempt.first)) << e.what();
            EXPECT_TRUE(text.contains("used up its identifiers")) << e.what();
            EXPECT_FALSE(text.contains("disk")) << e.what();
        }
    }
    EXPECT_EQ(rowCount("tblEmployee"), 1);
    EXPECT_EQ(rowCount("tblShiftFriday"), 1);
    // Every other table still numbers its rows.
    EXPECT_GT(insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM"), 0);
}
