// The job's comma lists as a scan uses them, with Shift-JIS characters whose
// second byte is a backslash (表 95 5C, ソ 83 5C, 能 94 5C).
#include "EngineTestKit.h"
#include "base/AnsiText.h"
#include "engine/ExcludedFolders.h"
#include "engine/FileFilters.h"
#include "engine/SystemText.h"

#include <gtest/gtest.h>

// The one rule for a name or path the system gives in UTF-16: exact, or refused
// and written with '?' where it cannot be, never a best-fit look-alike.
TEST(ToExactAnsi, AcceptsOnlyTextsThatComeBackUnchanged) {
    const struct {
        std::wstring wide;
        bool exact;
        std::string written;
    } cases[] = {
        {L"", true, ""},
        {L"a\\b c.txt", true, "a\\b c.txt"},
        {L"\u8868\u30bd\u80fd.txt", true, "表ソ能.txt"}, // second bytes 0x5C
        {L"\uff71\uff72", true, "ｱｲ"},                   // half-width katakana, one byte each
        {L"\uff5e", true, "～"},
        {L"caf\u00e9.txt", false, "caf?.txt"}, // best fit: cafe.txt
        {L"..\u00a5x", false, "..?x"},         // best fit: ..\x
        {L"\u301c", false, "?"},               // wave dash: 81 60 reads back as U+FF5E
        {L"\ud55c\uad6d", false, "??"},
        {L"\U0001F600.txt", false, "?.txt"},
        {L"\xd800", false, "?"}, // a lone surrogate
    };
    for (const auto& c : cases) {
        std::string written = "stale";
        EXPECT_EQ(c.exact, ToExactAnsi(c.wide, written)) << c.written;
        // A surrogate pair may be written as one mark or two.
        EXPECT_EQ(c.written,
                  c.written.find("??") == std::string::npos ? OneMarkEach(written) : written);
    }
}

TEST(SplitList, AppendsPiecesKeepingEmptyOnes) {
    struct Case {
        std::string text;
        Texts pieces;
    } cases[] = {
        {"", {""}},
        {"txt,", {"txt", ""}},
        {" txt , DOC", {" txt ", " DOC"}},
        {",", {"", ""}},
        {"表,ソ能,", {"表", "ソ能", ""}},
    };
    for (const Case& c : cases) {
        Texts pieces = {"kept"};
        EXPECT_EQ(static_cast<int>(c.pieces.size()) + 1, SplitList(c.text, ',', pieces));
        pieces.erase(pieces.begin());
        EXPECT_EQ(c.pieces, pieces) << c.text;
    }
    Texts pieces;
    SplitList("表ソ\\能", '\\', pieces); // only the real backslash separates
    EXPECT_EQ((Texts{"表ソ", "能"}), pieces);
    EXPECT_EQ((Texts{"\\a\\", "\\b\\c\\", "\\\\"}), MakeExcludedFolderPatterns("a,b\\c,"));
}

TEST(GetExtension, AfterTheLastDotOnly) {
    struct Case {
        const char *name, *extension;
    } cases[] = {
        {"report.txt", "txt"}, {"archive.tar.gz", "gz"}, {".profile", "profile"}, {"README", ""},
        {"trailing.", ""},     {"表.ソ", "ソ"},          {"ソ.能.表", "表"},      {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.extension, GetExtension(c.name)) << c.name;
}

TEST(LastErrorText, IsTheSystemsTextForTheCode) {
    EXPECT_EQ("", LastErrorText(0));
    std::string text = LastErrorText(ERROR_PATH_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ('\n', text.back()); // as the system gives it, line break included
    EXPECT_NE(text, LastErrorText(ERROR_ACCESS_DENIED));
    SetLastError(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(text, LastErrorText());
}
