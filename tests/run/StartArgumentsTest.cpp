// The command line as a start takes it.
#include <gtest/gtest.h>

#include "run/StartArguments.h"

namespace {

TEST(CommandLine, ArgumentsAreTakenByKind) {
    StartArguments start = ParseStartArguments(
        {"-S", "--procC:\\a b\\", "-U", "--refD:\\r", "first.orvane", "second"});
    EXPECT_TRUE(start.unattended);
    EXPECT_TRUE(start.undo);
    EXPECT_EQ("C:\\a b\\", start.processingFolder) << "used unchanged, backslash kept";
    EXPECT_EQ("D:\\r", start.referenceFolder);
    EXPECT_EQ("second", start.jobPath) << "the last job argument counts";

    StartArguments other = ParseStartArguments({"--PROCx", "--proc", "--ref"});
    EXPECT_FALSE(other.unattended);
    EXPECT_FALSE(other.undo);
    EXPECT_EQ("--PROCx", other.jobPath) << "--proc is recognised in small letters only";
    EXPECT_EQ("", other.processingFolder) << "a bare --proc means no override";
    EXPECT_EQ("", other.referenceFolder);
}

} // namespace
