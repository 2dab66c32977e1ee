// The controller driven as the program drives it, with a host that records
// what the user would see: every way a run ends is told, and only where the
// user can read it.
#include <gtest/gtest.h>

#include <utility>

#include "TempDir.h"
#include "TestFiles.h"
#include "framework/Profile.h"
#include "job/JobContext.h"
#include "job/JobFile.h"
#include "run/RunController.h"

namespace {

// Answers like a user who says yes, and keeps what the windows would show.
struct RecordingHost : IRunHost, IProgress {
    std::vector<std::string> told;
    std::string status;
    int operations = 0;
    int pollsBeforeStop = -1; // a stop at this poll; -1: never
    // A click that the paced polls have not taken yet: only a poll at once sees it.
    bool clickWaiting = false;
    int questions = 0; // deletion and network questions asked

    IProgress& BeginOperation(const std::string&) override {
        ++operations;
        return *this;
    }
    void EndOperation() override {}
    void SetLine1(const std::string&) override {}
    void SetLine2(const std::string&) override {}
    void Refresh() override {}
    bool PollStop() override { return pollsBeforeStop >= 0 && pollsBeforeStop-- == 0; }
    bool PollStopNow() override { return std::exchange(clickWaiting, false) || PollStop(); }
    int AskDelete(const std::string&) override {
        ++questions;
        return DeleteYes;
    }
    bool AskMassDeletion(const std::string&) override { return true; }
    int AskNetworkLine(const std::string&) override {
        ++questions;
        return WriteAll;
    }
    bool EditJob(const std::string&, const std::string&, const std::string&) override {
        return true;
    }
    void ShowSearchStart(const JobSettings&, const std::string&) override {}
    void ShowPlan() override {}
    void Tell(const std::string& text) override { told.push_back(text); }
    void ShowStatus(const std::string& text) override { status = text; }
};

struct ControllerRun {
    CProfile profile{"OrvaneRunTest"};
    JobContext jobs{profile};
    RunController run{jobs};
    RecordingHost host;
    TempDir dir;
    std::string p = dir / "処理 表", r = dir / "参照 ソ";

    ControllerRun() {
        run.SetHost(&host);
        MakeFolder(p);
        MakeFolder(r);
        jobs.currentJob.mode = UpdateReference;
        jobs.currentJob.processingFolder = p;
        jobs.currentJob.referenceFolder = r;
        jobs.currentJob.fastCopy = 1;
    }
    std::string Told() const {
        std::string all;
        for (const std::string& text : host.told)
            all += text + "|";
        return all;
    }
};

TEST(RunController, UnattendedRunTellsEachFailedRowWithItsReason) {
    ControllerRun t;
    WriteFileBytes(t.p + "\\a.txt", "new");
    SetLastWriteTime(t.p + "\\a.txt", UtcFileTime(2021, 1, 1, 0, 0, 0));
    WriteFileBytes(t.r + "\\a.txt", "old");
    SetLastWriteTime(t.r + "\\a.txt", UtcFileTime(2020, 1, 1, 0, 0, 0));
    std::string jobPath = t.dir / "job.orvane";
    WriteJobFile(jobPath, t.jobs.currentJob);
    // Held open without sharing: the copy cannot replace it.
    HANDLE held =
        CreateFileA((t.r + "\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    t.run.SetUnattended(true);
    StartArguments start;
    start.unattended = true;
    start.jobPath = jobPath;
    t.run.StartFirstJob(start);
    CloseHandle(held);

    EXPECT_EQ(1, ExitCodeFor(t.run.Facts()));
    ASSERT_EQ(2u, t.host.told.size()) << t.Told();
    EXPECT_EQ("失敗:COPY \"" + t.p + "\\a.txt\" \"" + t.r + "\\a.txt\"\r\n　理由: 「" + t.r +
                  "\\a.txt」をコピーした新しい版に置き換えられません: ",
              t.host.told[0].substr(0, t.host.told[0].rfind(": ") + 2));
    EXPECT_EQ("同期処理が完了しました（失敗 1 件）", t.host.told[1]);
    EXPECT_EQ("old", ReadFileBytes(t.r + "\\a.txt"));
}

TEST(RunController, EveryEndOfABatchExportIsToldAsItIs) {
    struct Case {
        const char* name;
        const char* file; // in the test folder
        int stopAtPoll;
        const char* status;
        bool told; // a message box as well
    } const cases[] = {
        {"written", "x.bat", -1, "バッチファイル出力が完了しました", false},
        {"stopped", "x.bat", 0, "バッチファイル出力を中止しました（0 行を出力）", false},
        {"not created", "missing\\x.bat", -1, "バッチファイルを作成できませんでした", true},
    };
    for (const Case& c : cases) {
        ControllerRun t;
        WriteFileBytes(t.p + "\\a.txt", "a");
        t.run.Search();
        ASSERT_EQ(1, t.run.Plan().RowCount()) << c.name;
        t.host.pollsBeforeStop = c.stopAtPoll;
        t.host.told.clear();
        t.run.ExportBatch(t.dir / c.file);
        EXPECT_EQ(c.status, t.host.status) << c.name;
        EXPECT_EQ(c.told, !t.host.told.empty()) << c.name << ": " << t.Told();
        if (c.told) {
            EXPECT_EQ(0u, t.host.told[0].find("バッチファイル「" + t.dir / c.file +
                                              "」を作成できません: "))
                << t.Told();
        }
    }
}

// The polls of a long operation dispatch the window's messages only every few
// tens of milliseconds. A click not yet taken by them still ends a search as
// stopped, and no question opens over it.
TEST(RunController, AClickThePacedPollsHaveNotTakenStopsBeforeAnyQuestion) {
    {
        ControllerRun t;
        WriteFileBytes(t.p + "\\a.txt", "a");
        t.host.clickWaiting = true;
        t.run.Search();
        EXPECT_EQ(SearchEnd::Stopped, t.run.Facts().search) << "pressed during the last pass";
        EXPECT_EQ(0, t.run.Plan().RowCount());
        EXPECT_EQ("処理を中断しました|", t.Told());
    }
    {
        ControllerRun t;
        t.jobs.currentJob.deleteEnabled = 1;
        t.jobs.currentJob.confirmDelete = 1;
        WriteFileBytes(t.r + "\\old.txt", "o");
        t.run.Search();
        ASSERT_EQ(1, t.run.Plan().RowCount());
        t.host.clickWaiting = true;
        t.run.Synchronise();
        EXPECT_EQ(0, t.host.questions) << "no deletion question";
        EXPECT_TRUE(PathExists(t.r + "\\old.txt"));
        EXPECT_EQ(SyncEnd::Stopped, t.run.Facts().syncEnd);
    }
    {
        ControllerRun t;
        auto* item = new SyncItem;
        item->operation = Copy;
        item->reason = Existence;
        item->direction = ProcessingToReference;
        item->subject.rootFolder = "\\\\server\\share";
        item->subject.relativeFolder = "\\";
        item->subject.name = "a.txt";
        item->counterpart.rootFolder = t.r;
        t.run.Plan().InsertRow(item, 0);
        t.host.clickWaiting = true;
        t.run.ExportBatch(t.dir / "x.bat");
        EXPECT_EQ(0, t.host.questions) << "no network question";
        EXPECT_EQ("バッチファイル出力を中止しました（0 行を出力）", t.host.status);
    }
}

} // namespace

namespace {

// Another run holds one of the folders: interactively the search and the
// synchronisation each say which folder and do nothing; unattended, the run
// does nothing at all and ends with 2. Once the other run lets go, the same
// controller works again, and the folders are free between its operations.
TEST(RunController, AFolderHeldByAnotherRunIsRefusedAndNothingIsDone) {
    for (bool unattended : {false, true}) {
        SCOPED_TRACE(unattended ? "unattended" : "interactive");
        ControllerRun t;
        WriteFileBytes(t.p + "\\a.txt", "a");
        std::string jobPath = t.dir / "job.orvane";
        WriteJobFile(jobPath, t.jobs.currentJob);
        const std::string refusal =
            "「" + t.r + "」は別の同期処理が使用中のため、処理を行いませんでした";
        FolderLocks other;
        std::string text;
        ASSERT_TRUE(other.Take({{t.r, true}}, &text));
        t.run.SetUnattended(unattended);
        if (unattended) {
            StartArguments start;
            start.unattended = true;
            start.jobPath = jobPath;
            t.run.StartFirstJob(start);
            EXPECT_EQ(2, ExitCodeFor(t.run.Facts()));
        } else {
            t.run.Search();
            other.Release();
            t.run.Search();
            ASSERT_EQ(1, t.run.Plan().RowCount());
            // Between the search and the synchronisation the folders are free.
            FolderLocks between;
            ASSERT_TRUE(between.Take({{t.p, false}, {t.r, true}}, &text)) << text;
            t.run.Synchronise();
            between.Release();
            EXPECT_EQ(0, t.run.LastSync().rowsReached);
        }
        ASSERT_FALSE(t.host.told.empty());
        EXPECT_EQ(refusal, t.host.told[0]);
        EXPECT_EQ("a", ReadFileBytes(t.p + "\\a.txt"));
        EXPECT_FALSE(PathExists(t.r + "\\a.txt")) << "nothing done";
        if (!unattended) {
            ASSERT_EQ(2u, t.host.told.size()) << t.Told();
            EXPECT_EQ(0u, t.host.told[1].find("「" + t.p + "」")) << t.host.told[1];
            t.run.Synchronise();
            EXPECT_EQ("a", ReadFileBytes(t.r + "\\a.txt"))
                << "carried out once the folders are free";
            // A refused search leaves no earlier rows to be carried out unheld.
            ASSERT_TRUE(other.Take({{t.p, false}}, &text));
            t.run.Search();
            EXPECT_EQ(0, t.run.Plan().RowCount());
        }
    }
}

} // namespace
