#include "common/spooler_env.h"

#include <gtest/gtest.h>

#include <string>

// A 32-bit installer under WOW64 sees the native x64 machine, so both the
// WOW64 and the native x64 case register for the 64-bit spooler.
TEST(SpoolerEnvironment, FollowsTheRunningSystemsSpooler)
{
    EXPECT_EQ(std::string("Windows x64"), SpoolerEnvironmentFor(NativeMachine::kX64));
    EXPECT_EQ(std::string("Windows NT x86"), SpoolerEnvironmentFor(NativeMachine::kX86));
}

TEST(SpoolerEnvironment, OtherMachinesGetTheSpoolersDefault)
{
    EXPECT_EQ(nullptr, SpoolerEnvironmentFor(NativeMachine::kOther));
}
