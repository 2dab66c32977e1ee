// The batch file: its lines, the network question, progress, stops and failures.
#include <gtest/gtest.h>

#include "ExecFakes.h"
#include "LimitedWrite.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "exec/BatchWriter.h"

namespace {

const char* const kServer = "\\\\server\\share 1";

RowList ThreeNetworkRows() {
    RowList rows;
    rows.items = {ExistenceCopy(kServer, "D:\\R", "\\", "a.txt"),
                  ExistenceCopy(kServer, "D:\\R", "\\", "b.txt"),
                  ExistenceCopy(kServer, "D:\\R", "\\", "c.txt")};
    return rows;
}

// The command lines of a batch file, without the lines that pin the command
// processor's settings around them.
std::vector<std::string> CommandLines(const std::string& path) {
    std::vector<std::string> lines;
    for (const std::string& line : ReadLines(path))
        if (line.compare(0, 1, "@") != 0)
            lines.push_back(line);
    return lines;
}

RowList NumberedRows(int count) {
    RowList rows;
    for (int i = 0; i < count; ++i)
        rows.items.push_back(FileDelete("C:\\P", "\\", std::to_string(i) + ".txt"));
    return rows;
}

} // namespace

TEST(BatchWriter, OneLinePerRowQuotedAndWithPercentDoubled) {
    TempDir dir;
    std::string path = dir / "Orvane.bat";
    ASSERT_TRUE(WriteFileBytes(path, std::string(1000, 'x'))); // replaced, not overwritten
    RowList rows;
    rows.items = {
        FileDelete("C:\\処理", "\\", "全角　空白.txt"),
        FolderDelete("C:\\処理", "\\", "ソフト"),
        FolderCreate("C:\\処理", "D:\\参照", "\\表\\", "新規"),
        ExistenceCopy("C:\\処理", "D:\\参照", "\\(x)\\", "100%.txt"),
        ExistenceCopy("C:\\処理", "D:\\参照", "\\", "%PATH%.txt"),
        DateCopy("C:\\処理", "D:\\参照 1", "\\a&b\\", "表ソ.txt", "表ソ.TXT"),
    };
    ProgressRecorder progress;
    ScriptedAnswers answers;
    BatchOutcome outcome = ExportBatch(path, rows, progress, answers);
    EXPECT_EQ(BatchEnd::AllRows, outcome.end);
    EXPECT_EQ(6, outcome.linesWritten);
    EXPECT_EQ(std::string(kBatchFirstLines) +
                  "DEL C:\\処理\\全角　空白.txt\r\n"
                  "RMDIR C:\\処理\\ソフト\r\n"
                  "MKDIR D:\\参照\\表\\新規\r\n"
                  "COPY \"C:\\処理\\(x)\\100%%.txt\" \"D:\\参照\\(x)\\100%%.txt\"\r\n"
                  "COPY C:\\処理\\%%PATH%%.txt D:\\参照\\%%PATH%%.txt\r\n"
                  "COPY \"C:\\処理\\a&b\\表ソ.txt\" \"D:\\参照 1\\a&b\\表ソ.TXT\"\r\n" +
                  kBatchLastLines,
              ReadFileBytes(path));
    EXPECT_TRUE(answers.asked.empty());
}

TEST(BatchWriter, NetworkQuestionAnswers) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        size_t questions;
        std::vector<std::string> files; // names on the written lines
        BatchEnd end;
    } cases[] = {
        {"write this, each time", {5, 5, 5}, 3, {"a", "b", "c"}, BatchEnd::AllRows},
        {"write all", {5, 1}, 2, {"a", "b", "c"}, BatchEnd::AllRows},
        {"skip the first of three", {4, 5, 5}, 3, {"b", "c"}, BatchEnd::AllRows},
        {"abort", {5, 2}, 2, {"a"}, BatchEnd::Aborted},
        {"other numbers mean write", {0, 6, 7}, 3, {"a", "b", "c"}, BatchEnd::AllRows},
    };
    for (const Case& c : cases) {
        TempDir dir;
        RowList rows = ThreeNetworkRows();
        ProgressRecorder progress;
        ScriptedAnswers answers(c.answers);
        BatchOutcome outcome = ExportBatch(dir / "x.bat", rows, progress, answers);
        EXPECT_EQ(c.end, outcome.end) << c.name;
        ASSERT_EQ(c.questions, answers.asked.size()) << c.name;
        // The question shows the row's command as the log would have it.
        EXPECT_EQ("COPY \"\\\\server\\share 1\\a.txt\" D:\\R\\a.txt", answers.asked[0]);
        std::vector<std::string> expected;
        for (const std::string& file : c.files)
            expected.push_back("COPY \"" + std::string(kServer) + "\\" + file + ".txt\" D:\\R\\" +
                               file + ".txt");
        EXPECT_EQ(expected, CommandLines(dir / "x.bat")) << c.name;
    }
}

TEST(BatchWriter, NetworkQuestionComesForEitherRootAndAgainInTheNextExport) {
    TempDir dir;
    RowList rows;
    rows.items = {FileDelete("C:\\P", "\\", "local.txt"), // empty counterpart: not asked
                  DateCopy("C:\\P", kServer, "\\", "a.txt", "a.txt"),
                  FolderCreate("C:\\P", kServer, "\\", "new"), FolderDelete(kServer, "\\", "old")};
    ScriptedAnswers answers({WriteAll, WriteAll});
    for (int run = 1; run <= 2; ++run) {
        ProgressRecorder progress;
        EXPECT_EQ(4, ExportBatch(dir / "x.bat", rows, progress, answers).linesWritten);
        ASSERT_EQ(static_cast<size_t>(run), answers.asked.size());
        EXPECT_EQ("COPY C:\\P\\a.txt \"\\\\server\\share 1\\a.txt\"", answers.asked.back());
    }
}

TEST(BatchWriter, ProgressEveryHundredthRowAndPollEveryRow) {
    TempDir dir;
    RowList rows = NumberedRows(250);
    ProgressRecorder progress;
    ScriptedAnswers answers;
    EXPECT_EQ(250, ExportBatch(dir / "x.bat", rows, progress, answers).linesWritten);
    EXPECT_EQ("バッチファイルを出力中です", progress.line1);
    EXPECT_EQ((std::vector<std::string>{"[0/250]", "[100/250]", "[200/250]"}), progress.shown);
    EXPECT_EQ(250, progress.polls);
}

TEST(BatchWriter, StopKeepsTheLinesWrittenSoFar) {
    for (int k : {0, 1, 150}) {
        TempDir dir;
        RowList rows = NumberedRows(250);
        ProgressRecorder progress;
        progress.stopAtPoll = k;
        ScriptedAnswers answers;
        BatchOutcome outcome = ExportBatch(dir / "x.bat", rows, progress, answers);
        EXPECT_EQ(BatchEnd::Stopped, outcome.end);
        std::vector<std::string> lines = CommandLines(dir / "x.bat");
        ASSERT_EQ(static_cast<size_t>(k), lines.size());
        if (k > 0) {
            EXPECT_EQ("DEL C:\\P\\" + std::to_string(k - 1) + ".txt", lines.back());
        }
    }
}

TEST(BatchWriter, FailedWriteEndsTheExportWithOnlyWholeLines) {
    TempDir dir;
    RowList rows = NumberedRows(5); // "DEL C:\P\0.txt" and CR LF: 16 bytes a line
    OutputFile file(WriteWithinBudget);
    ASSERT_TRUE(file.Create(dir / "x.bat"));
    g_writeBudget = 2 * 16 + 9;
    ProgressRecorder progress;
    ScriptedAnswers answers;
    BatchOutcome outcome = WriteBatchLines(file, rows, progress, answers);
    g_writeBudget = -1;
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(BatchEnd::WriteFailed, outcome.end);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), outcome.error);
    EXPECT_EQ(2, outcome.linesWritten);
    EXPECT_EQ("DEL C:\\P\\0.txt\r\nDEL C:\\P\\1.txt\r\n", ReadFileBytes(dir / "x.bat"));
    EXPECT_EQ(3, progress.polls); // no row after the failure is reached
}

TEST(BatchWriter, FileThatCannotBeCreatedGetsNothing) {
    TempDir dir;
    RowList rows = NumberedRows(3);
    ProgressRecorder progress;
    ScriptedAnswers answers;
    BatchOutcome outcome = ExportBatch(dir / "missing\\x.bat", rows, progress, answers);
    EXPECT_EQ(BatchEnd::NotCreated, outcome.end);
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), outcome.error);
    EXPECT_FALSE(progress.touched);
}
