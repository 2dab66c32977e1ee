// The search's progress texts reach the window at most every tenth of a second,
// except that a new phase shows at once; stop polls are never held back.
#include <gtest/gtest.h>

#include "EngineTestKit.h"
#include "engine/ThrottledProgress.h"

namespace {

ULONGLONG g_now = 0;
ULONGLONG FakeClock() {
    return g_now;
}

TEST(ThrottledProgress, PushesAPhaseAtOnceAndFolderTextsAtMostEveryInterval) {
    FakeProgress window;
    window.stopLine1 = "scan";
    window.stopAtPoll = 3;
    ThrottledProgress progress(window, &FakeClock);
    g_now = 5000;
    struct Step {
        ULONGLONG at;
        const char* line1; // nullptr: the phase stays
        const char* line2;
    };
    const Step steps[] = {
        {5000, "scan", "\\a\\"},  // a new phase: shown
        {5050, nullptr, "\\b\\"}, // within the interval: held
        {5099, nullptr, "\\c\\"}, // still within
        {5100, nullptr, "\\d\\"}, // the interval is over: shown with the latest text
        {5101, "sort", "P"},      // a new phase shows even right after a refresh
        {5150, nullptr, "R"},
    };
    for (const Step& step : steps) {
        g_now = step.at;
        if (step.line1 != nullptr)
            progress.SetLine1(step.line1);
        progress.SetLine2(step.line2);
        progress.Refresh();
    }
    EXPECT_EQ((Texts{"scan|\\a\\", "scan|\\d\\", "sort|P"}), window.refreshed);

    progress.SetLine1("scan");
    bool stops[] = {progress.PollStop(), progress.PollStop(), progress.PollStop()};
    EXPECT_FALSE(stops[0] || stops[1]);
    EXPECT_TRUE(stops[2]) << "every poll reaches the window";
    EXPECT_EQ(3, window.polls);
}

} // namespace
