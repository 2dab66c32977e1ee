// The executor over real folders: every kind of row, the deletion question and its
// answers, stops, and the log it leaves.
#include <gtest/gtest.h>

#include <algorithm>

#include "ExecFakes.h"
#include "LimitedWrite.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "engine/SystemText.h"
#include "exec/SyncExecutor.h"

namespace {

// The log folder's only file, as lines.
std::vector<std::string> OnlyLog(const std::string& folder) {
    std::vector<std::string> names = NamesIn(folder);
    EXPECT_EQ(1u, names.size());
    return names.empty() ? std::vector<std::string>() : ReadLines(folder + "\\" + names[0]);
}

SyncOptions LoggingTo(const std::string& folder) {
    SyncOptions options;
    options.outputLog = true;
    options.logFolder = folder;
    return options;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return CompareFileTime(&a, &b) == 0;
}

} // namespace

TEST(SyncExecutor, CarriesOutEveryKindOfRowAndLogsEach) {
    for (bool fastCopy : {true, false}) {
        TempDir dir;
        // Blanks and parentheses in the roots put every path of the log in quotes.
        const std::string p = dir / "処理 表", r = dir / "参照(ソ)", logs = dir / "logs";
        for (const std::string& folder :
             {p, r, logs, p + "\\sub", p + "\\have", r + "\\gone", r + "\\have"})
            ASSERT_TRUE(MakeFolder(folder));
        const FILETIME older = UtcFileTime(2020, 1, 1, 0, 0, 0);
        const FILETIME newer = UtcFileTime(2020, 1, 2, 0, 0, 0);
        ASSERT_TRUE(WriteFileBytes(p + "\\new.txt", "new"));
        ASSERT_TRUE(WriteFileBytes(p + "\\sub\\in.txt", "in"));
        ASSERT_TRUE(WriteFileBytes(p + "\\表ソ能.txt", "newer"));
        ASSERT_TRUE(SetLastWriteTime(p + "\\表ソ能.txt", newer));
        ASSERT_TRUE(WriteFileBytes(r + "\\表ソ能.TXT", "older text"));
        ASSERT_TRUE(SetLastWriteTime(r + "\\表ソ能.TXT", older));
        ASSERT_TRUE(WriteFileBytes(r + "\\old.txt", "old"));
        ASSERT_TRUE(WriteFileBytes(r + "\\gone\\x.txt", "x"));

        RowList rows;
        rows.items = {
            FileDelete(r, "\\gone\\", "x.txt"),
            FileDelete(r, "\\", "old.txt"),
            FolderDelete(r, "\\", "gone"),
            FolderCreate(p, r, "\\", "sub"),
            FolderCreate(p, r, "\\", "have"), // exists already: fails
            ExistenceCopy(p, r, "\\", "new.txt"),
            ExistenceCopy(p, r, "\\sub\\", "in.txt"),
            DateCopy(p, r, "\\", "表ソ能.txt", "表ソ能.TXT"),
        };
        SyncOptions options = LoggingTo(logs);
        options.fastCopy = fastCopy;
        ProgressRecorder progress;
        ScriptedAnswers answers;
        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);

        EXPECT_EQ(SyncEnd::AllRows, outcome.end);
        EXPECT_EQ(8, outcome.rowsReached);
        EXPECT_EQ(1, outcome.rowsFailed);
        EXPECT_TRUE(outcome.logComplete);
        EXPECT_EQ("ファイル処理中です", progress.line1);
        EXPECT_EQ("[7/8]", progress.shown.back());
        std::vector<std::string> expectedNames = {"have", "new.txt", "sub", "表ソ能.TXT"};
        EXPECT_EQ(expectedNames, NamesIn(r)) << "fast copy " << fastCopy;
        EXPECT_EQ("in", ReadFileBytes(r + "\\sub\\in.txt"));
        EXPECT_EQ("new", ReadFileBytes(r + "\\new.txt"));
        EXPECT_EQ("newer", ReadFileBytes(r + "\\表ソ能.TXT"));
        EXPECT_TRUE(SameTime(newer, GetLastWriteTime(r + "\\表ソ能.TXT")));
        EXPECT_TRUE(SameTime(GetLastWriteTime(p + "\\new.txt"), GetLastWriteTime(r + "\\new.txt")));

        std::string exists = LastErrorText(ERROR_ALREADY_EXISTS);
        exists.erase(exists.find_last_not_of("\r\n") + 1);
        std::vector<std::string> expectedLog = {
            // Each deletion and overwrite says on the next line where the old version went.
            "成功:DEL " + Quoted(r + "\\gone\\x.txt"),
            kNotePrefix + std::string("完全に削除しました"),
            "成功:DEL " + Quoted(r + "\\old.txt"),
            kNotePrefix + std::string("完全に削除しました"),
            "成功:RMDIR " + Quoted(r + "\\gone"),
            kNotePrefix + std::string("完全に削除しました"),
            "成功:MKDIR " + Quoted(r + "\\sub"),
            "失敗:MKDIR " + Quoted(r + "\\have"),
            // The designed line, then why, in the system's own words.
            kReasonPrefix + ("フォルダ「" + r + "\\have」を作成できません: ") + exists,
            "成功:COPY " + Quoted(p + "\\new.txt") + " " + Quoted(r + "\\new.txt"),
            "成功:COPY " + Quoted(p + "\\sub\\in.txt") + " " + Quoted(r + "\\sub\\in.txt"),
            "成功:COPY " + Quoted(p + "\\表ソ能.txt") + " " + Quoted(r + "\\表ソ能.TXT"),
            kNotePrefix + std::string("上書き前のファイルは完全に削除しました"),
        };
        EXPECT_EQ(expectedLog, OnlyLog(logs));
        EXPECT_TRUE(answers.asked.empty());
    }
}

// Rows: the two files of a folder, then the folder.
TEST(SyncExecutor, DeletionQuestionAnswers) {
    struct Case {
        const char* name;
        bool confirm;
        bool unattended;
        std::vector<int> answers;
        size_t questions;
        const char* left;    // a: a.txt, b: b.txt, F: the folder
        const char* results; // a log line per letter: + "成功", - "失敗"
        SyncEnd end;
    } cases[] = {
        {"yes to each", true, false, {6, 6, 6}, 3, "", "+++", SyncEnd::AllRows},
        {"no to a file", true, false, {7, 6, 6}, 3, "aF", "-+-", SyncEnd::AllRows},
        {"delete all", true, false, {5}, 1, "", "+++", SyncEnd::AllRows},
        {"abort at the second", true, false, {6, 2}, 2, "bF", "+", SyncEnd::Aborted},
        {"other numbers mean yes", true, false, {1, 0, 4}, 3, "", "+++", SyncEnd::AllRows},
        {"unattended", true, true, {7, 7, 7}, 0, "", "+++", SyncEnd::AllRows},
        {"not asked for", false, false, {7, 7, 7}, 0, "", "+++", SyncEnd::AllRows},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string folder = dir / "表 gone", logs = dir / "logs";
        ASSERT_TRUE(MakeFolder(folder) && MakeFolder(logs));
        ASSERT_TRUE(WriteFileBytes(folder + "\\a.txt", "a"));
        ASSERT_TRUE(WriteFileBytes(folder + "\\b.txt", "b"));
        RowList rows;
        rows.items = {FileDelete(dir.Path(), "\\表 gone\\", "a.txt"),
                      FileDelete(dir.Path(), "\\表 gone\\", "b.txt"),
                      FolderDelete(dir.Path(), "\\", "表 gone")};
        SyncOptions options = LoggingTo(logs);
        options.confirmDelete = c.confirm;
        options.unattended = c.unattended;
        ProgressRecorder progress;
        ScriptedAnswers answers(c.answers);

        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);
        EXPECT_EQ(c.end, outcome.end) << c.name;
        EXPECT_EQ(c.questions, answers.asked.size()) << c.name;
        std::string left;
        for (auto [letter, path] : {std::pair{'a', folder + "\\a.txt"},
                                    std::pair{'b', folder + "\\b.txt"}, std::pair{'F', folder}})
            if (PathExists(path))
                left += letter;
        EXPECT_EQ(c.left, left) << c.name;
        std::string results;
        std::vector<std::string> log = OnlyLog(logs);
        for (size_t i = 0; i < log.size(); ++i) {
            const std::string& line = log[i];
            results += line.substr(0, 5) == "成功:"   ? '+'
                       : line.substr(0, 5) == "失敗:" ? '-'
                                                      : '?';
            // A failed row's reason follows it, a deletion's note too.
            if (i + 1 < log.size() && log[i + 1].rfind(kNotePrefix, 0) == 0)
                ++i;
        }
        EXPECT_EQ(c.results, results) << c.name;
        // A declined deletion is logged with the deletion's own command.
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(0u, log[0].substr(5).find("DEL " + Quoted(folder + "\\a.txt"))) << c.name;
        if (c.questions == 3) {
            EXPECT_EQ("ファイルを削除してもよろしいですか？\n" + folder + "\\a.txt",
                      answers.asked[0]);
            EXPECT_EQ("フォルダを削除してもよろしいですか？\n" + folder, answers.asked[2]);
        }
    }
}

TEST(SyncExecutor, DeleteAllHoldsForOneRunOnly) {
    TempDir dir;
    SyncOptions options;
    options.confirmDelete = true;
    ScriptedAnswers answers({DeleteAll, DeleteAll});
    for (int run = 1; run <= 2; ++run) {
        ASSERT_TRUE(WriteFileBytes(dir / "a.txt", "a") && WriteFileBytes(dir / "b.txt", "b"));
        RowList rows;
        for (const char* name : {"a.txt", "b.txt"})
            rows.items.push_back(FileDelete(dir.Path(), "\\", name));
        ProgressRecorder progress;
        EXPECT_EQ(SyncEnd::AllRows, ExecuteSync(rows, options, progress, answers).end);
        EXPECT_EQ(static_cast<size_t>(run), answers.asked.size());
        EXPECT_TRUE(NamesIn(dir.Path()).empty());
    }
}

TEST(SyncExecutor, StopBeforeRowKLeavesExactlyKRowsDoneAndLogged) {
    for (int k : {0, 1, 3, 4}) {
        TempDir dir;
        const std::string p = dir / "p", r = dir / "r", logs = dir / "logs";
        ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(logs));
        RowList rows;
        for (const char* name : {"0.txt", "1.txt", "2.txt", "3.txt"}) {
            ASSERT_TRUE(WriteFileBytes(p + "\\" + name, name));
            rows.items.push_back(ExistenceCopy(p, r, "\\", name));
        }
        SyncOptions options = LoggingTo(logs);
        options.fastCopy = true;
        options.lastMessage = "前回の検索";
        ProgressRecorder progress;
        progress.stopAtPoll = k;
        ScriptedAnswers answers;

        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);
        EXPECT_EQ(k < 4 ? SyncEnd::Stopped : SyncEnd::AllRows, outcome.end);
        EXPECT_EQ(k, outcome.rowsReached);
        EXPECT_EQ(static_cast<size_t>(k), NamesIn(r).size()) << k;
        std::vector<std::string> log = OnlyLog(logs);
        ASSERT_EQ(static_cast<size_t>(k + 1), log.size()) << k;
        EXPECT_EQ("前回の検索", log[0]);
        // The row's count is shown before its poll, counted from 0.
        std::vector<std::string> shown = {"[0/4]", "[1/4]", "[2/4]", "[3/4]"};
        shown.resize(std::min(k + 1, 4));
        EXPECT_EQ(shown, progress.shown) << k;
    }
}

TEST(SyncExecutor, LogOverAnEmptyListHoldsOnlyTheSearchMessage) {
    TempDir dir;
    RowList rows;
    SyncOptions options = LoggingTo(dir.Path());
    options.lastMessage = "指定されたパスが見つかりません。";
    ProgressRecorder progress;
    ScriptedAnswers answers;
    EXPECT_EQ(SyncEnd::AllRows, ExecuteSync(rows, options, progress, answers).end);
    EXPECT_EQ(std::vector<std::string>{"指定されたパスが見つかりません。"}, OnlyLog(dir.Path()));
    EXPECT_TRUE(progress.shown.empty());
}

TEST(SyncExecutor, UnopenableLogMeansNothingIsDone) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir / "a.txt", "a"));
    RowList rows;
    rows.items = {FileDelete(dir.Path(), "\\", "a.txt")};
    SyncOptions options = LoggingTo(dir / "no such folder");
    options.confirmDelete = true;
    ProgressRecorder progress;
    ScriptedAnswers answers;
    SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);
    EXPECT_EQ(SyncEnd::LogNotOpened, outcome.end);
    EXPECT_TRUE(PathExists(dir / "a.txt"));
    EXPECT_FALSE(progress.touched);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(SyncExecutor, RunGoesOnWhenTheLogCannotBeWrittenAndSaysSo) {
    TempDir dir;
    const std::string p = dir / "p", r = dir / "r";
    ASSERT_TRUE(MakeFolder(p) && MakeFolder(r));
    RowList rows;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        ASSERT_TRUE(WriteFileBytes(p + "\\" + name, name));
        rows.items.push_back(ExistenceCopy(p, r, "\\", name));
    }
    SyncOptions options;
    options.fastCopy = true;
    OperationLog log(WriteWithinBudget);
    g_writeBudget = 0;
    ASSERT_TRUE(log.Open(dir.Path(), ""));
    ProgressRecorder progress;
    ScriptedAnswers answers;
    SyncOutcome outcome = RunSyncRows(rows, options, &log, progress, answers);
    g_writeBudget = -1;
    EXPECT_EQ(SyncEnd::AllRows, outcome.end);
    EXPECT_FALSE(outcome.logComplete);
    EXPECT_EQ(3u, NamesIn(r).size());
    EXPECT_EQ(3, log.UnrecordedLines());
}

// What the progress window reads of the run's figures at each poll, and once
// more when the run lets go of them.
struct FiguresRecorder : ProgressRecorder {
    const ProgressFigures* figures = nullptr;
    std::vector<ProgressFigures> atPolls;
    ProgressFigures last;
    void ShowFigures(const ProgressFigures* shown) override {
        if (figures != nullptr)
            last = *figures;
        figures = shown;
    }
    bool PollStop() override {
        if (figures != nullptr)
            atPolls.push_back(*figures);
        return ProgressRecorder::PollStop();
    }
};

// Every row and every byte is counted once: block by block within the
// program's own copy, in full for a row that failed, never for a copy that was
// stopped; the work never goes back and never passes the plan.
TEST(SyncExecutor, FiguresCountEachRowAndByteOnce) {
    const unsigned long long bigSize = 3 * (1 << 20) + 100; // four blocks: three polls inside
    for (int stopAtPoll : {-1, 4}) {
        TempDir dir;
        const std::string p = dir / "p", r = dir / "r";
        ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(p + "\\表"));
        ASSERT_TRUE(WriteFileBytes(p + "\\big.bin", std::string(bigSize, 'b')));
        ASSERT_TRUE(WriteFileBytes(p + "\\changed.txt", "12345"));
        ASSERT_TRUE(WriteFileBytes(r + "\\old.txt", "old"));
        RowList rows;
        rows.items = {FileDelete(r, "\\", "old.txt"), FolderCreate(p, r, "\\", "表"),
                      ExistenceCopy(p, r, "\\", "changed.txt"),
                      ExistenceCopy(p, r, "\\", "big.bin")};
        ASSERT_TRUE(WriteFileBytes(p + "\\changed.txt", "changed since the search"));
        SyncOptions options;
        options.fastCopy = true;
        FiguresRecorder progress;
        progress.stopAtPoll = stopAtPoll; // polls 0-3 come before the rows, 4-6 inside the copy
        ScriptedAnswers answers;
        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);

        const unsigned long long planned = 5 + bigSize;
        unsigned long long work = 0;
        bool insideTheCopy = false;
        for (const ProgressFigures& seen : progress.atPolls) {
            EXPECT_EQ(ProgressFigures::Kind::RowsAndBytes, seen.kind);
            EXPECT_EQ(4, seen.rowsPlanned);
            EXPECT_EQ(planned, seen.bytesPlanned);
            EXPECT_GE(seen.WorkDone(), work) << "the work went back";
            EXPECT_LE(seen.WorkDone(), seen.WorkPlanned());
            work = seen.WorkDone();
            insideTheCopy |= seen.rowsDone == 3 && seen.bytesDone > 5 && seen.bytesDone < planned;
        }
        EXPECT_TRUE(insideTheCopy) << "the bytes move during a copy of several blocks";
        EXPECT_EQ(nullptr, progress.figures) << "let go at the end";
        if (stopAtPoll < 0) {
            ASSERT_EQ(1, outcome.rowsFailed);
            EXPECT_EQ(4, progress.last.rowsDone);
            EXPECT_EQ(planned, progress.last.bytesDone) << "the failed row counts in full";
            EXPECT_EQ("\\big.bin", progress.last.currentFile);
        } else {
            EXPECT_EQ(SyncEnd::Stopped, outcome.end);
            EXPECT_EQ(3, progress.last.rowsDone);
            EXPECT_EQ(5u, progress.last.bytesDone) << "nothing of the stopped copy";
        }
    }
}
