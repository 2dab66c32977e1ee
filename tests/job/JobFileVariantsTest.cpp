// Job files as torn writes, other programs and editors leave them: thousands of
// variants of a valid file in each encoding, and files too large to be a job.
#include <gtest/gtest.h>
#include <windows.h>

#include "AllocationMeter.h"
#include "Mutations.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/AnsiText.h"
#include "base/TextEscape.h"
#include "job/JobFile.h"
#include "job/JobKeys.h"

namespace {

// Every key away from its read default, texts with 表 and ソ (second byte 0x5C),
// a section before and after.
const char kValidJob[] =
    "; 手で書いた処理定義\r\n"
    "[Other]\r\nBaseDir=X:\\別\r\n"
    "[Settings]\r\n"
    "Mode=2\r\n"
    "BaseDir=C:\\同期\\表ソ能\r\n"
    "TargetDir=\"\\\\server\\共有\\ソフト\"\r\n"
    "OutputLog=1\r\nIsSynExist=1\r\nSubFolder=1\r\nNotDel=0\r\nDelWarning=0\r\n"
    "AddExt=*.txt, .doc,表\r\n"
    "DelExt=bak\r\n"
    "LogDir=D:\\ログ\r\n"
    "2Sec=1\r\nFirstCopy=0\r\n"
    "RmDir=obj,\\bin\\,ソ\\表\r\n"
    "UseRecycle=1\r\nAllowMassDel=1\r\nVersions=1\r\n"
    "VersionsDir=E:\\版\r\nVersionsDays=45\r\nVersionsRuns=7\r\nMemory=1\r\n"
    "[Last]\r\nx=y\r\n";

// A refused job: every text empty, every number its read default.
JobSettings RefusedReading() {
    JobSettings job;
    for (const JobKey& key : JobKeys())
        if (key.kind != JobValueKind::Text)
            job.*key.number = key.readDefault;
    return job;
}

// The longest start of the value that is at most kJobTextLimit bytes of whole
// characters: a lead byte alone at its end is no character.
std::string CutWhole(const std::string& value) {
    size_t end = 0;
    for (size_t at = 0; at < value.size();) {
        size_t next = at + (IsDBCSLeadByte(static_cast<BYTE>(value[at])) ? 2 : 1);
        if (next > value.size() || next > kJobTextLimit)
            break;
        end = at = next;
    }
    return value.substr(0, end);
}

// The key's whole value: from the private-profile functions with room for all
// of it for a file they read, from the program's own reader for a Unicode one.
std::optional<std::string> WholeValue(const std::string& path, size_t size,
                                      const JobFileValues* unicode, const char* key) {
    if (unicode)
        return unicode->Raw(key);
    const char missing[] = "\x01missing";
    std::string value(size + sizeof missing, '\0');
    GetPrivateProfileStringA(kJobSection, key, missing, value.data(),
                             static_cast<DWORD>(value.size()), path.c_str());
    value.resize(strlen(value.c_str()));
    return value == missing ? std::nullopt : std::optional(value);
}

// 1 to 9 decimal digits: a number every reader of profiles takes the same way.
bool IsPlainNumber(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

class JobFileVariants : public testing::Test {
protected:
    // What holds for any file: ReadJobFile and IsStoredJob return, each read in
    // well under a second, holding at most ten times the file's size in memory
    // beyond a constant. The reading is either
    // - a refusal that begins by naming the file, of a UTF-8 or UTF-16 file only,
    //   with every text empty and every number its read default; or
    // - every text exactly the key's whole value (as the profile functions give
    //   it with room for all of it, or the program's own reader for a Unicode
    //   file) cut to at most kJobTextLimit bytes between two characters, a list
    //   in the normal form of that, which normalising again keeps; no text holds
    //   a NUL, CR or LF; in a Unicode file a missing or empty number reads as its
    //   default and 1 to 9 decimal digits as written (an ANSI file's numbers are
    //   GetPrivateProfileIntA's own); and a file a key was read from is a stored
    //   job.
    void Check(const std::string& bytes) {
        const std::string path = dir_ / (std::to_string(number_++) + ".orvane");
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        std::string refusal;
        JobSettings job;
        bool stored = false;
        size_t peak = 0;
        ULONGLONG took = GetTickCount64();
        {
            AllocationMeter meter;
            job = ReadJobFile(path, &refusal);
            stored = IsStoredJob(path);
            peak = meter.Peak();
        }
        EXPECT_LT(GetTickCount64() - took, 1000u);
        // The bytes, their UTF-16 form (two bytes a byte at most), and one value
        // at a time in UTF-16 with its exact conversion (seven bytes a byte).
        EXPECT_LE(peak, 10 * bytes.size() + 64 * 1024);

        const bool ansi = DetectJobFileEncoding(bytes) == JobFileEncoding::Ansi;
        if (!refusal.empty()) {
            EXPECT_FALSE(ansi) << "a file the profile functions read is never refused";
            std::string named = "処理定義ファイル「";
            named += EscapeForText(path) + "」";
            EXPECT_EQ(0u, refusal.rfind(named, 0)) << refusal;
            EXPECT_TRUE(job == RefusedReading());
        } else {
            std::optional<JobFileValues> unicode;
            if (!ansi)
                unicode.emplace(path);
            bool anyValue = false;
            for (const JobKey& key : JobKeys()) {
                SCOPED_TRACE(key.name);
                if (!unicode && key.kind != JobValueKind::Text)
                    continue; // GetPrivateProfileIntA's own reading
                std::optional<std::string> whole =
                    WholeValue(path, bytes.size(), unicode ? &*unicode : nullptr, key.name);
                anyValue = anyValue || whole.has_value();
                if (key.kind == JobValueKind::Text) {
                    const std::string& text = job.*key.text;
                    EXPECT_EQ(NormaliseList(key.list, CutWhole(whole.value_or(""))), text);
                    EXPECT_EQ(NormaliseList(key.list, text), text) << "not in its normal form";
                    EXPECT_EQ(std::string::npos, text.find_first_of(std::string("\r\n\0", 3)));
                } else if (!whole || whole->empty()) {
                    EXPECT_EQ(key.readDefault, job.*key.number);
                } else if (IsPlainNumber(*whole)) {
                    EXPECT_EQ(std::stoi(*whole), job.*key.number);
                }
            }
            EXPECT_TRUE(!anyValue || stored) << "a file a key was read from is a stored job";
        }
        DeleteFileA(path.c_str());
    }

    TempDir dir_;
    int number_ = 0;
};

TEST_F(JobFileVariants, AnyBytesReadAsTheExactValuesOrAsARefusal) {
    const std::wstring text = AnsiToWide(kValidJob);
    // A file in the ANSI code page costs the most to read: some thirty calls of
    // the profile functions, each opening the file again. About 3700 reads in all.
    const struct {
        const char* name;
        std::string bytes;
        int variants;
    } files[] = {
        {"Shift-JIS", kValidJob, 600},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + Encoded(text, CP_UTF8), 1000},
        {"UTF-8 without a mark", Encoded(text, CP_UTF8), 300}, // mostly Shift-JIS once changed
        {"UTF-16 little-endian", Utf16(text, false), 1000},
        {"UTF-16 big-endian", Utf16(text, true), 800},
    };
    std::uint64_t seed = 0x6A6F6266696C65;
    auto check = [this](const std::string& variant) { Check(variant); };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        ForEachVariant(file.bytes, seed++, file.variants, check);
        if (HasFailure())
            return;
    }
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
