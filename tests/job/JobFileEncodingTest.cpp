// Job files as editors save them: the encoding decided from the bytes, a UTF-8
// or UTF-16 file read exactly as its Shift-JIS twin, a value without an exact
// ANSI form refusing the job by its key, and a save that converts the file whole
// or leaves it alone.
#include <gtest/gtest.h>
#include <windows.h>

#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobFile.h"
#include "job/JobFileEncoding.h"

namespace {

// Every character of code page 932: the half-width kana and each valid
// double-byte pair.
std::vector<std::string> ShiftJisCharacters() {
    std::vector<std::string> characters;
    for (int byte = 0xA1; byte <= 0xDF; ++byte)
        characters.push_back(std::string(1, static_cast<char>(byte)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2];
            if (trail != 0x7F &&
                MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) == 1)
                characters.push_back(std::string(pair, 2));
        }
    }
    return characters;
}

} // namespace

TEST(JobFileEncoding, DecidedByTheMarkOrByWholeValidUtf8AndNeverForShortShiftJis) {
    const std::string line = "BaseDir=C:\\";
    struct Case {
        const char* name;
        std::string bytes;
        JobFileEncoding encoding;
    } cases[] = {
        {"ASCII only", line + "data\r\n", JobFileEncoding::Ansi},
        {"empty", "", JobFileEncoding::Ansi},
        {"UTF-8 mark, ASCII after it", "\xEF\xBB\xBF" + line + "a\r\n", JobFileEncoding::Utf8},
        {"UTF-16 little-endian mark", "\xFF\xFE[\0", JobFileEncoding::Utf16Le},
        {"UTF-16 big-endian mark", "\xFE\xFF\0[", JobFileEncoding::Utf16Be},
        {"UTF-8 Japanese without a mark", line + Encoded(L"同期\\写真", CP_UTF8) + "\r\n",
         JobFileEncoding::Utf8},
        {"UTF-8 four-byte character", line + "\xF0\x9F\x98\x80\r\n", JobFileEncoding::Utf8},
        {"Shift-JIS words", line + "同期\\写真\\表ソ能\r\n", JobFileEncoding::Ansi},
        {"Shift-JIS half-width kana", line + "ﾃﾞｰﾀ\\ｿﾌﾄ\r\n", JobFileEncoding::Ansi},
        {"Shift-JIS one kanji at the end", line + "表", JobFileEncoding::Ansi},
        {"overlong UTF-8 slash", line + "\xC0\xAF\r\n", JobFileEncoding::Ansi},
        {"UTF-8 surrogate half", line + "\xED\xA0\x80\r\n", JobFileEncoding::Ansi},
        {"UTF-8 cut short at the end", line + "\xE5\x90", JobFileEncoding::Ansi},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.encoding, DetectJobFileEncoding(c.bytes)) << c.name;

    // A value of one Shift-JIS character, any of them, never reads as UTF-8: a
    // lead byte 0x81-0x9F is no UTF-8 lead, 0xE0-0xEF needs two more bytes of
    // 0x80-0xBF, and a half-width kana alone is a lone byte.
    const std::vector<std::string> characters = ShiftJisCharacters();
    ASSERT_GT(characters.size(), 7000u);
    int takenForUtf8 = 0;
    for (const std::string& character : characters)
        for (const std::string& after :
             {std::string("\r\n"), std::string("\\a\r\n"), std::string()})
            takenForUtf8 +=
                DetectJobFileEncoding(line + character + after) != JobFileEncoding::Ansi;
    EXPECT_EQ(0, takenForUtf8);
}

TEST(JobFile, UnicodeFilesReadAsTheirShiftJisTwinAndAreSavedAsShiftJis) {
    // Names and quotes in the forms the profile functions accept; the first key
    // of a name and the first section of a name count. A line without a name
    // first in the section hides no key.
    const std::wstring text = L"[Other]\r\nNote=控えの表ソ\r\n"
                              L"[ settings ]\r\n"
                              L"=no name\r\n"
                              L"  basedir = C:\\同期\\写真  \r\n"
                              L"TARGETDIR='D:\\記録 表'\r\n"
                              L"Mode= 2\r\nMode=1\r\nSubFolder=0x1\r\n"
                              L"RmDir=\" \\tmp , 表\\ \"\r\n"
                              L"AddExt\r\n"
                              L"[Settings]\r\nDelExt=bak\r\n";
    TempDir dir;
    const std::string twin = dir / "twin.orvane";
    ASSERT_TRUE(WriteFileBytes(twin, Encoded(text, 932)));
    const JobSettings expected = ReadJobFile(twin);
    ASSERT_EQ("C:\\同期\\写真", expected.processingFolder);
    ASSERT_EQ("tmp,表", expected.excludedFolders);
    EXPECT_TRUE(IsStoredJob(twin));

    struct Form {
        const char* name;
        std::string (*encode)(const std::wstring&);
    } forms[] = {
        {"UTF-8 with a mark",
         [](const std::wstring& t) { return "\xEF\xBB\xBF" + Encoded(t, CP_UTF8); }},
        {"UTF-8 without a mark", [](const std::wstring& t) { return Encoded(t, CP_UTF8); }},
        {"UTF-16 little-endian", [](const std::wstring& t) { return Utf16(t, false); }},
        {"UTF-16 big-endian", [](const std::wstring& t) { return Utf16(t, true); }},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        const std::string path = dir / "job.orvane";
        ASSERT_TRUE(WriteFileBytes(path, form.encode(text)));
        std::string refusal = "not set";
        EXPECT_TRUE(expected == ReadJobFile(path, &refusal));
        EXPECT_EQ("", refusal);
        EXPECT_TRUE(IsStoredJob(path));

        // Saving converts the whole file first: the other section survives in
        // Shift-JIS, and the job reads back as written.
        JobSettings changed = expected;
        changed.referenceFolder = "D:\\ソ";
        ASSERT_TRUE(WriteJobFile(path, changed));
        EXPECT_EQ(JobFileEncoding::Ansi, DetectJobFileEncoding(ReadFileBytes(path)));
        char note[64] = {};
        GetPrivateProfileStringA("Other", "Note", "", note, sizeof note, path.c_str());
        EXPECT_STREQ("控えの表ソ", note);
        EXPECT_TRUE(changed == ReadJobFile(path));

        // A value without an exact Shift-JIS form (the wave dash of macOS, an
        // accented letter best fit would make plain) refuses the job by its key.
        for (const wchar_t* value : {L"C:\\同期\x301C", L"C:\\caf\xE9"}) {
            std::wstring bad =
                L"[Settings]\r\nMode=2\r\nTargetDir=" + std::wstring(value) + L"\r\n";
            ASSERT_TRUE(WriteFileBytes(path, form.encode(bad)));
            JobSettings read = ReadJobFile(path, &refusal);
            EXPECT_NE(std::string::npos, refusal.find("TargetDir")) << refusal;
            EXPECT_EQ("", read.referenceFolder);
            EXPECT_EQ(0, read.mode) << "nothing of a refused job is taken";

            // A save would lose that line: the file stays as it was.
            const std::string before = ReadFileBytes(path);
            EXPECT_FALSE(WriteJobFile(path, changed, &refusal));
            EXPECT_NE(std::string::npos, refusal.find("job.orvane")) << refusal;
            EXPECT_EQ(before, ReadFileBytes(path));
        }
    }
}
