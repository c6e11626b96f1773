// The sample set stored on both stores the way loading it does: a second load adds only the
// shifts that do not collide with the first.
#include "tests/store/StoreFixture.h"

#include "store/SampleData.h"

#include <utility>
#include <vector>

using namespace store;
using store_testing::storeSample;

namespace {

using enum Weekday;

class SampleLoadTest : public store_testing::StoreTest {};
ON_BOTH_STORES(SampleLoadTest);

}  // namespace

TEST_P(SampleLoadTest, StoringTheSampleTwiceAddsNothingTheSecondTime)
{
    EXPECT_EQ(storeSample(*db, 60).size(), sampleShifts(60).size());
    EXPECT_TRUE(storeSample(*db, 60).empty());
    EXPECT_EQ(rowCount("tblEmployee"), 3);
}

TEST_P(SampleLoadTest, SampleAfterAnIntervalChangeAddsOnlyTheShiftsThatDoNotCollide)
{
    storeSample(*db, 60);
    using Added = std::vector<std::pair<int, Weekday>>;
    EXPECT_EQ(storeSample(*db, 30), (Added{{1, Saturday}, {2, Saturday}, {2, Sunday}}));
}

TEST_P(SampleLoadTest, QuarterHourSampleAfterHourlyAddsItsEarlyShifts)
{
    storeSample(*db, 60);
    using Added = std::vector<std::pair<int, Weekday>>;
    EXPECT_EQ(storeSample(*db, 15), (Added{{0, Thursday},
                                           {0, Friday},
                                           {1, Monday},
                                           {1, Tuesday},
                                           {1, Wednesday},
                                           {1, Thursday},
                                           {1, Friday},
                                           {1, Saturday},
                                           {2, Friday},
                                           {2, Saturday},
                                           {2, Sunday}}));
    EXPECT_EQ(rowCount("tblEmployee"), 3);
}
