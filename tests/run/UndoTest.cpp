// Undoing a whole run from its record: a run in the wrong direction put back
// byte for byte, the undo itself undone, and an entry changed since the run kept
// as a conflict.
#include <gtest/gtest.h>

#include <set>

#include "ControllerRun.h"

namespace {

// A processing side that is older than the reference side, which holds files
// and folders of its own: a run that updates the reference folder from it is a
// run in the wrong direction.
void MakeWrongWayTrees(const std::string& p, const std::string& r) {
    const FILETIME old = UtcFileTime(2020, 1, 1, 0, 0, 0), newer = UtcFileTime(2024, 1, 1, 0, 0, 0);
    auto put = [](const std::string& path, const std::string& bytes, const FILETIME& time) {
        ASSERT_TRUE(WriteFileBytes(path, bytes) && SetLastWriteTime(path, time));
    };
    for (const std::string& folder : {p + "\\表", r + "\\表", p + "\\新しい", p + "\\新しい\\ソ",
                                      r + "\\残す", r + "\\残す\\奥"})
        ASSERT_TRUE(MakeFolder(folder));
    for (int i = 0; i < 40; ++i) {
        const std::string name = "\\表\\f" + std::to_string(i) + ".txt";
        put(p + name, "stale " + std::to_string(i), newer); // newer only in its time
        put(r + name, "the work " + std::to_string(i) + std::string(i, '!'), old);
        put(p + "\\新しい\\ソ\\n" + std::to_string(i) + ".txt", "new", old);
        put(r + "\\残す\\奥\\k" + std::to_string(i) + ".txt", "kept " + std::to_string(i), old);
    }
    put(p + "\\same.txt", "same", old);
    put(r + "\\same.txt", "same", old);
    put(r + "\\only here.txt", "only here", newer);
}

ControllerRun& WrongWayJob(ControllerRun& t) {
    JobSettings& job = t.jobs.currentJob;
    job.mode = UpdateReference;
    job.includeSubfolders = 1;
    job.deleteEnabled = 1;
    job.allowMassDeletion = 1;
    job.keepVersions = 1;
    t.run.SetHistoryFolder(t.dir / "history");
    return t;
}

} // namespace

TEST(Undo, ARunInTheWrongDirectionComesBackByteForByteAndSoDoesItsUndo) {
    ControllerRun t;
    WrongWayJob(t);
    MakeWrongWayTrees(t.p, t.r);
    const Tree processingBefore = TreeOf(t.p), referenceBefore = TreeOf(t.r);

    t.run.Search();
    t.run.Synchronise();
    ASSERT_EQ(0, t.run.LastSync().rowsFailed) << t.Told();
    const Tree referenceAfterRun = TreeOf(t.r);
    ASSERT_NE(referenceBefore, referenceAfterRun);

    std::vector<RunSummary> history = t.run.History();
    ASSERT_EQ(1u, history.size());
    EXPECT_EQ(RunSummary::Undo::Wholly, history[0].undo);
    EXPECT_EQ(80, history[0].copied);
    EXPECT_EQ(41, history[0].deleted);
    EXPECT_EQ(2, history[0].foldersMade);
    EXPECT_EQ(2, history[0].foldersRemoved);
    ASSERT_TRUE(t.run.PlanUndo(history[0].record.header.start));
    t.run.Synchronise();
    EXPECT_EQ(0, t.run.LastSync().rowsFailed) << t.Told();
    EXPECT_EQ(referenceBefore, TreeOf(t.r));
    EXPECT_EQ(processingBefore, TreeOf(t.p));

    // The undo is a run like any other: undone, the run's result is back.
    history = t.run.History();
    ASSERT_EQ(2u, history.size());
    EXPECT_FALSE(history[0].undone);
    EXPECT_TRUE(history[1].undone);
    EXPECT_EQ(history[1].record.header.start, history[0].record.header.undoes);
    ASSERT_TRUE(t.run.PlanUndo(history[0].record.header.start));
    t.run.Synchronise();
    EXPECT_EQ(0, t.run.LastSync().rowsFailed) << t.Told();
    EXPECT_EQ(referenceAfterRun, TreeOf(t.r));
}

TEST(Undo, AnEntryChangedSinceTheRunIsAConflictAndKeepsTheChange) {
    ControllerRun t;
    WrongWayJob(t);
    MakeWrongWayTrees(t.p, t.r);
    const Tree referenceBefore = TreeOf(t.r);
    t.run.Search();
    t.run.Synchronise();
    // Edited after the run: a file it replaced, one it made; one it deleted is made anew.
    ASSERT_TRUE(WriteFileBytes(t.r + "\\表\\f1.txt", "edited after the run"));
    ASSERT_TRUE(WriteFileBytes(t.r + "\\新しい\\ソ\\n2.txt", "edited too"));
    ASSERT_TRUE(WriteFileBytes(t.r + "\\only here.txt", "made again"));

    ASSERT_TRUE(t.run.PlanUndo(t.run.History()[0].record.header.start));
    std::set<std::string> conflicts;
    for (int i = 0; i < t.run.Plan().RowCount(); ++i)
        if (t.run.Plan().Row(i).operation == Conflict) {
            EXPECT_EQ(UndoChanged, t.run.Plan().Row(i).reason);
            conflicts.insert(t.run.Plan().Row(i).subject.RelativePath());
        }
    EXPECT_EQ((std::set<std::string>{"\\only here.txt", "\\新しい", "\\新しい\\ソ",
                                     "\\新しい\\ソ\\n2.txt", "\\表\\f1.txt"}),
              conflicts);
    t.run.Synchronise();
    EXPECT_EQ(0, t.run.LastSync().rowsFailed) << t.Told();
    EXPECT_EQ(5u, t.run.LastSync().conflicts.size());
    EXPECT_EQ("edited after the run", ReadFileBytes(t.r + "\\表\\f1.txt"));
    EXPECT_EQ("edited too", ReadFileBytes(t.r + "\\新しい\\ソ\\n2.txt"));
    EXPECT_EQ("made again", ReadFileBytes(t.r + "\\only here.txt"));
    // Everything else is as it was before the run.
    Tree now = TreeOf(t.r), expected = referenceBefore;
    for (const char* changed : {"\\表\\f1.txt", "\\only here.txt"})
        now.erase(changed), expected.erase(changed);
    for (const char* kept : {"\\新しい", "\\新しい\\ソ", "\\新しい\\ソ\\n2.txt"})
        now.erase(kept);
    EXPECT_EQ(expected, now);
}
