#include "uninstaller/steps/removal_step.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Positions(int total)
{
    std::vector<int> positions;
    for (int done = 1; done <= total; ++done)
        positions.push_back(ProgressPosition(done, total));
    return positions;
}

}  // namespace

TEST(RemovalProgress, PositionsAreCutTowardZeroAndEndAt100)
{
    // The executable, the shortcut and the Start-menu folder.
    EXPECT_EQ(Positions(3), (std::vector<int>{33, 66, 100}));
    // Six files and the shortcut, one folder.
    EXPECT_EQ(Positions(8), (std::vector<int>{12, 25, 37, 50, 62, 75, 87, 100}));
    // In floating point 29 / 100 * 100 gives 28.999...
    EXPECT_EQ(ProgressPosition(29, 100), 29);
    EXPECT_EQ(ProgressPosition(57, 100), 57);
}

TEST(RemovalProgress, LargeAndEmptyCounts)
{
    EXPECT_EQ(ProgressPosition(0, 0), 0);
    EXPECT_EQ(ProgressPosition(1, 1), 100);
    // done * 100 must not overflow an int.
    EXPECT_EQ(ProgressPosition(2000000000, 2000000000), 100);
    EXPECT_EQ(ProgressPosition(999999999, 2000000000), 49);
}

TEST(RemovalResult, DeletionCodes)
{
    using Kind = RemovalResult::Kind;
    EXPECT_EQ(DeletionResult(0).kind, Kind::kDone);
    // ERROR_FILE_NOT_FOUND and ERROR_PATH_NOT_FOUND: nothing of ours was there.
    EXPECT_EQ(DeletionResult(2).kind, Kind::kNothingThere);
    EXPECT_EQ(DeletionResult(3).kind, Kind::kNothingThere);
    // ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_DIR_NOT_EMPTY: it stays, with its code.
    for (unsigned long error : {5ul, 32ul, 145ul}) {
        EXPECT_EQ(DeletionResult(error).kind, Kind::kFailed) << error;
        EXPECT_EQ(DeletionResult(error).error, error);
    }
}

TEST(RemovalResult, AStepOfSeveralPartsReportsItsFirstFailure)
{
    using Kind = RemovalResult::Kind;
    const RemovalResult done = RemovalResult::Done(), nothing = RemovalResult::NothingThere();
    const RemovalResult denied = RemovalResult::Failed(5), inUse = RemovalResult::Failed(32);
    EXPECT_EQ(Combined(nothing, nothing).kind, Kind::kNothingThere);
    EXPECT_EQ(Combined(nothing, done).kind, Kind::kDone);
    EXPECT_EQ(Combined(done, nothing).kind, Kind::kDone);
    // A failure is never hidden by a part that succeeded after or before it.
    EXPECT_EQ(Combined(denied, done).error, 5ul);
    EXPECT_EQ(Combined(done, inUse).error, 32ul);
    EXPECT_EQ(Combined(nothing, inUse).kind, Kind::kFailed);
    // The first failure's code is the one reported.
    EXPECT_EQ(Combined(Combined(done, denied), inUse).error, 5ul);
}
