// The batch file: its lines, the network question, progress, stops and failures.
#include <gtest/gtest.h>

#include "ExecFakes.h"
#include "LimitedWrite.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/NameText.h"
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

namespace {

// Runs the batch file through the system's command processor with the switch
// given (/V:ON or /V:OFF), its output discarded; false when it did not end in time.
bool RunBatchFile(const std::string& batch, const char* delayedExpansion) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    std::string commandLine = std::string("cmd.exe ") + delayedExpansion + " /c \"" + batch + "\"";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul =
        CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    bool started = CreateProcessA((std::string(system) + "\\cmd.exe").c_str(), commandLine.data(),
                                  nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nul);
    if (!started)
        return false;
    bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

} // namespace

// Names that the command processor reads as more than a name: with delayed
// expansion on (a switch or a registry default some users have), "!" takes a
// variable and a lone one vanishes, so DEL a!c.txt would delete ac.txt. The
// exported file acts on exactly the named files both ways.
TEST(BatchWriter, ExportedFileActsOnExactlyTheNamedFilesWithDelayedExpansionOnOrOff) {
    struct Case {
        const char* name;
        const char* lookAlike; // what a misreading would act on instead; it must stay
    };
    const Case cases[] = {
        {"a!c.txt", "ac.txt"},      {"!x!y!.txt", "y.txt"},
        {"x^y.txt", "xy.txt"},      {"^!.txt", "^.txt"},
        {"%PATH%.txt", nullptr},    {"50%.txt", nullptr},
        {"a&b.txt", "a"},           {"(p) q.txt", nullptr},
        {"s;t=u,v.txt", "s"},       {"表ソ!能.txt", "表ソ能.txt"},
        {"two  blanks.txt", "two"},
    };
    for (const char* delayedExpansion : {"/V:ON", "/V:OFF"}) {
        SCOPED_TRACE(delayedExpansion);
        TempDir dir;
        const std::string from = dir / "p!1", to = dir / "r!1";
        ASSERT_TRUE(MakeFolder(from) && MakeFolder(to) && MakeFolder(to + "\\old!dir"));
        RowList rows;
        for (const Case& c : cases) {
            // Each name twice: a copy from the processing folder, and a deletion
            // in the reference folder beside a look-alike.
            ASSERT_TRUE(WriteFileBytes(from + "\\" + c.name, "new"));
            ASSERT_TRUE(WriteFileBytes(to + "\\del " + c.name, "old"));
            if (c.lookAlike) {
                ASSERT_TRUE(WriteFileBytes(to + "\\del " + c.lookAlike, "keep"));
            }
            rows.items.push_back(ExistenceCopy(from, to, "\\", c.name));
            rows.items.push_back(FileDelete(to, "\\", std::string("del ") + c.name));
        }
        rows.items.push_back(FolderCreate(from, to, "\\", "new!(1)%x%"));
        rows.items.push_back(FolderDelete(to, "\\", "old!dir"));
        ASSERT_TRUE(WriteFileBytes(to + "\\mv!a&表.txt", "moved"));
        rows.items.push_back(FileMove(from, to, "\\", "mv!a&表.txt", "mv%b (ソ).txt"));
        ASSERT_TRUE(MakeFolder(to + "\\olddir"));
        // Names without a Shift-JIS form: a line would act on a look-alike
        // (café as cafe), so the file only says in a comment that it leaves
        // them out, and the export counts them.
        ASSERT_TRUE(MakeWidePath(from, L"caf\u00e9 100%.txt"));
        ASSERT_TRUE(MakeWidePath(to, L"del caf\u00e9.txt"));
        ASSERT_TRUE(WriteFileBytes(to + "\\del cafe.txt", "keep"));
        ASSERT_TRUE(WriteFileBytes(to + "\\cafe 100%.txt", "keep"));
        rows.items.push_back(ExistenceCopy(from, to, "\\", "caf<U+00E9> 100%.txt"));
        rows.items.push_back(FileDelete(to, "\\", "del caf<U+00E9>.txt"));
        ProgressRecorder progress;
        ScriptedAnswers answers;
        const std::string batch = dir / "同期 表!.bat";
        BatchOutcome outcome = ExportBatch(batch, rows, progress, answers);
        ASSERT_EQ(BatchEnd::AllRows, outcome.end);
        EXPECT_EQ(2, outcome.rowsLeftOut);
        std::string text = ReadFileBytes(batch);
        EXPECT_NE(std::string::npos,
                  text.find(std::string(kNotInBatchPrefix) + "COPY \"" + from +
                            "\\caf<U+00E9> 100%%.txt\" \"" + to + "\\caf<U+00E9> 100%%.txt\"\r\n"));
        ASSERT_TRUE(RunBatchFile(batch, delayedExpansion));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
                  GetFileAttributesW(WidePath(to + "\\caf<U+00E9> 100%.txt").c_str()));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES,
                  GetFileAttributesW(WidePath(to + "\\del caf<U+00E9>.txt").c_str()));
        EXPECT_EQ("keep", ReadFileBytes(to + "\\del cafe.txt"));
        EXPECT_EQ("keep", ReadFileBytes(to + "\\cafe 100%.txt"));
        // Nothing the comment's '<' and '>' could have redirected to.
        WIN32_FIND_DATAA found;
        for (const std::string& folder : {dir.Path(), from, to}) {
            HANDLE search = FindFirstFileA((folder + "\\*U+*").c_str(), &found);
            EXPECT_EQ(INVALID_HANDLE_VALUE, search) << folder << ": " << found.cFileName;
            if (search != INVALID_HANDLE_VALUE)
                FindClose(search);
        }

        for (const Case& c : cases) {
            EXPECT_EQ("new", ReadFileBytes(to + "\\" + c.name)) << c.name;
            EXPECT_FALSE(PathExists(to + "\\del " + c.name)) << c.name;
            if (c.lookAlike) {
                EXPECT_EQ("keep", ReadFileBytes(to + "\\del " + c.lookAlike)) << c.name;
            }
        }
        EXPECT_TRUE(IsFolder(to + "\\new!(1)%x%"));
        EXPECT_EQ("moved", ReadFileBytes(to + "\\mv%b (ソ).txt"));
        EXPECT_FALSE(PathExists(to + "\\mv!a&表.txt"));
        EXPECT_FALSE(PathExists(to + "\\old!dir"));
        EXPECT_TRUE(IsFolder(to + "\\olddir"));
    }
}
