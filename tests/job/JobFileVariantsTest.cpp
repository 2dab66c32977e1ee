// A job file too large to be one: refused without being read, in each encoding.
#include <gtest/gtest.h>
#include <windows.h>

#include "AllocationMeter.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobFile.h"
#include "job/JobKeys.h"

namespace {

// A refused job: every text empty, every number its read default.
JobSettings RefusedReading() {
    JobSettings job;
    for (const JobKey& key : JobKeys())
        if (key.kind != JobValueKind::Text)
            job.*key.number = key.readDefault;
    return job;
}

TEST(JobFileLimit, AFileOverTheLimitIsRefusedUnreadAndLeftAsItIs) {
    // One long note line, then the job's key as the very last line: a file
    // within the limit is read to its end.
    const std::wstring job = L"[Settings]\r\nBaseDir=C:\\表ソ\r\n";
    const struct {
        const char* name;
        std::string (*encode)(const std::wstring&);
    } forms[] = {
        {"Shift-JIS", [](const std::wstring& t) { return Encoded(t, 932); }},
        {"UTF-8 with a mark",
         [](const std::wstring& t) { return "\xEF\xBB\xBF" + Encoded(t, CP_UTF8); }},
        {"UTF-16 little-endian", [](const std::wstring& t) { return Utf16(t, false); }},
        {"UTF-16 big-endian", [](const std::wstring& t) { return Utf16(t, true); }},
    };
    TempDir dir;
    const std::string path = dir / "large.orvane";
    for (const auto& form : forms) {
        for (size_t size : {kJobFileLimit, kJobFileLimit + 1}) {
            SCOPED_TRACE(testing::Message() << form.name << ", " << size << " bytes");
            const size_t bytesPerChar = form.encode(L"xx").size() - form.encode(L"x").size();
            const size_t rest = size - form.encode(L"; \r\n" + job).size();
            std::string bytes =
                form.encode(L"; " + std::wstring(rest / bytesPerChar, L'x') + L"\r\n" + job);
            bytes.resize(size, '\n'); // an odd size in UTF-16
            ASSERT_TRUE(WriteFileBytes(path, bytes));

            std::string refusal;
            JobSettings read;
            size_t peak = 0;
            {
                AllocationMeter meter;
                read = ReadJobFile(path, &refusal);
                peak = meter.Peak();
            }
            if (size <= kJobFileLimit) {
                EXPECT_EQ("", refusal);
                EXPECT_EQ("C:\\表ソ", read.processingFolder);
                EXPECT_TRUE(IsStoredJob(path));
                continue;
            }
            EXPECT_EQ("処理定義ファイル「" + path + "」は 1 MB を超えているため、読み込めません",
                      refusal);
            EXPECT_TRUE(read == RefusedReading());
            EXPECT_FALSE(IsStoredJob(path));
            EXPECT_LT(peak, 64 * 1024u) << "the file was read";

            JobSettings changed;
            changed.processingFolder = "D:\\別";
            EXPECT_FALSE(WriteJobFile(path, changed, &refusal));
            EXPECT_EQ(
                "処理定義ファイル「" + path +
                    "」は 1 MB を超えているため、保存できません（ファイルは変更していません）",
                refusal);
            EXPECT_TRUE(bytes == ReadFileBytes(path)) << "the file was changed";
        }
    }
}

} // namespace
