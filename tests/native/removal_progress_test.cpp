#include "uninstaller/removal_progress.h"

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
