// The operation log file: its name, its bytes, and what it holds after a write
// that fails part-way.
#include <gtest/gtest.h>

#include <cstdio>

#include "ExecFakes.h"
#include "LimitedWrite.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "exec/OperationLog.h"

namespace {

std::string Stamp(const SYSTEMTIME& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%03d", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

} // namespace

TEST(OperationLog, IsNamedByTheLocalStartTimeAndHoldsShiftJisLinesWithCrLf) {
    TempDir dir;
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    {
        OperationLog log;
        ASSERT_TRUE(log.Open(dir.Path(), "検索を中断しました"));
        log.WriteLine(true, "DEL C:\\表ソ能.txt");
        log.WriteLine(false, "RMDIR \"C:\\a b\"");
    } // closed by its destructor
    GetLocalTime(&after);

    std::vector<std::string> names = NamesIn(dir.Path());
    ASSERT_EQ(1u, names.size());
    std::string stamp = names[0].substr(0, 17);
    EXPECT_EQ(21u, names[0].size());
    EXPECT_EQ(".log", names[0].substr(17));
    EXPECT_EQ(std::string::npos, stamp.find_first_not_of("0123456789"));
    EXPECT_LE(Stamp(before), stamp);
    EXPECT_GE(Stamp(after), stamp);

    // 成功 = 90 AC 8C F7, 失敗 = 8E B8 94 73; 表ソ能 keeps its 0x5C second bytes.
    std::string expected = "検索を中断しました\r\n"
                           "\x90\xac\x8c\xf7:DEL C:\\\x95\x5c\x83\x5c\x94\x5c.txt\r\n"
                           "\x8e\xb8\x94\x73:RMDIR \"C:\\a b\"\r\n";
    EXPECT_EQ(expected, ReadFileBytes(dir / names[0]));
}

TEST(OperationLog, FirstLineIsTheSearchMessageWithCrLfAddedInEveryCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"指定されたパスが見つかりません。", "指定されたパスが見つかりません。\r\n"},
        {"ends with a line break\r\n", "ends with a line break\r\n\r\n"},
    };
    for (const auto& [message, bytes] : cases) {
        TempDir dir;
        OperationLog log;
        ASSERT_TRUE(log.Open(dir.Path(), message));
        log.Close();
        EXPECT_EQ(bytes, ReadFileBytes(log.Path())) << message;
        EXPECT_TRUE(log.Complete());
    }
}

// Each log is a new file: a run of the same millisecond gets the next name,
// and so does a name someone placed in a shared log folder ahead of time (here
// second names of a file elsewhere, at every name of the next 300 ms), which
// must never be written through.
TEST(OperationLog, RunsStartedOneAfterAnotherGetFilesOfTheirOwn) {
    TempDir dir, elsewhere;
    const std::string victim = elsewhere / "victim.txt";
    ASSERT_TRUE(WriteFileBytes(victim, "not a log"));
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME start;
    ASSERT_TRUE(SystemTimeToFileTime(&now, &start));
    const int planted = 300;
    for (int ms = 0; ms < planted; ++ms) {
        SYSTEMTIME at;
        FILETIME later = AddTicks(start, 10000ll * ms);
        ASSERT_TRUE(FileTimeToSystemTime(&later, &at));
        ASSERT_TRUE(CreateHardLinkA((dir / (Stamp(at) + ".log")).c_str(), victim.c_str(), nullptr));
    }
    OperationLog first, second;
    ASSERT_TRUE(first.Open(dir.Path(), "first"));
    ASSERT_TRUE(second.Open(dir.Path(), "second"));
    first.Close();
    second.Close();
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_EQ(planted + 2u, NamesIn(dir.Path()).size());
    EXPECT_EQ("not a log", ReadFileBytes(victim));
    EXPECT_EQ("first\r\n", ReadFileBytes(first.Path()));
}

TEST(OperationLog, MissingEmptyOrRelativeFolderCannotBeOpened) {
    TempDir dir;
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string driveRoot = std::string(current, 2); // "C:": listed as "C:\\*"
    const size_t inRoot = NamesIn(driveRoot).size();
    const struct {
        std::string folder;
        DWORD error;
    } cases[] = {
        {dir / "missing", ERROR_PATH_NOT_FOUND},
        // These would write into the root or the current folder of the current drive.
        {"", ERROR_BAD_PATHNAME},
        {"logs", ERROR_BAD_PATHNAME},
        {"C:", ERROR_BAD_PATHNAME},
        {"\\", ERROR_BAD_PATHNAME},
    };
    for (const auto& c : cases) {
        OperationLog log;
        EXPECT_FALSE(log.Open(c.folder, "")) << c.folder;
        EXPECT_EQ(c.error, log.Error()) << c.folder;
        EXPECT_FALSE(log.IsOpen());
    }
    EXPECT_TRUE(NamesIn(dir.Path()).empty());
    EXPECT_EQ(inRoot, NamesIn(driveRoot).size());
}

TEST(OperationLog, FailedWriteKeepsWholeLinesAndSaysHowManyAreMissing) {
    const std::string lines[] = {"成功:DEL C:\\1", "成功:DEL C:\\2", "失敗:DEL C:\\3",
                                 "成功:DEL C:\\4"};
    const std::string note2 =
        "ログの書き込みに失敗しました（エラー 112）。以降の2件の処理は記録されていません。";
    const std::string note4 =
        "ログの書き込みに失敗しました（エラー 112）。以降の4件の処理は記録されていません。";
    const long long msgAndTwoLines = 5 + 2 * static_cast<long long>(lines[0].size() + 2);
    struct Case {
        const char* name;
        long long budget; // bytes that land before the disk is full
        bool roomAtClose;
        int unrecorded;
        std::vector<std::string> file;
    } cases[] = {
        {"full in the third line", msgAndTwoLines + 7, false, 2, {"msg", lines[0], lines[1]}},
        {"room again at close", msgAndTwoLines + 7, true, 2, {"msg", lines[0], lines[1], note2}},
        {"full in the first row line", 2, true, 4, {"msg", note4}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        OperationLog log(WriteWithinBudget);
        g_writeBudget = -1;
        ASSERT_TRUE(log.Open(dir.Path(), "msg"));
        g_writeBudget = c.budget;
        for (const std::string& line : lines)
            log.WriteLine(line.substr(0, 4) == "成功", line.substr(5));
        if (c.roomAtClose)
            g_writeBudget = -1;
        log.Close();
        EXPECT_FALSE(log.Complete()) << c.name;
        EXPECT_EQ(c.unrecorded, log.UnrecordedLines()) << c.name;
        EXPECT_EQ(c.file, ReadLines(log.Path())) << c.name;
    }
    g_writeBudget = -1;
}

// Names from other systems may hold any control character: each record stays one
// line (a failed row's reason on the next), in the escape form <U+XXXX>, with '<'
// itself escaped so that the form reads back without doubt.
TEST(OperationLog, NamesWithControlCharactersCannotAddOrEndLines) {
    TempDir dir;
    std::string path;
    {
        OperationLog log;
        ASSERT_TRUE(log.Open(dir.Path(), ""));
        path = log.Path();
        log.WriteLeftOut("C:\\R\\evil\r\n成功:DEL Z:\\fake.txt");
        log.WriteLine(true, "DEL C:\\R\\tab\there<1>\x7f.txt");
        log.WriteLine(false, "DEL C:\\R\\表\rソ", "「C:\\R\\表\rソ」を削除できません");
        log.WriteNote("消去:C:\\R\\\x01\x1f");
    }
    EXPECT_EQ((std::vector<std::string>{
                  "対象外:C:\\R\\evil<U+000D><U+000A>成功:DEL Z:\\fake.txt",
                  "成功:DEL C:\\R\\tab<U+0009>here<U+003C>1><U+007F>.txt",
                  "失敗:DEL C:\\R\\表<U+000D>ソ",
                  "　理由: 「C:\\R\\表<U+000D>ソ」を削除できません",
                  "消去:C:\\R\\<U+0001><U+001F>",
              }),
              ReadLines(path));
}
