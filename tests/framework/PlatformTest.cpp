// The ground every other test stands on: the ANSI code page is Shift-JIS, narrow
// literals are Shift-JIS bytes, and the file system keeps such names byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include "TempDir.h"
#include "TestFiles.h"

TEST(Platform, AnsiCodePageIsShiftJis) {
    EXPECT_EQ(932u, GetACP());
}

TEST(Platform, LiteralsAreShiftJisIncludingTrailingBackslashBytes) {
    const char* text = "表ソ";
    ASSERT_EQ(4u, strlen(text));
    EXPECT_EQ('\x95', text[0]);
    EXPECT_EQ('\x5c', text[1]);
    EXPECT_EQ('\x83', text[2]);
    EXPECT_EQ('\x5c', text[3]);
    EXPECT_TRUE(IsDBCSLeadByte(static_cast<BYTE>(text[0])));
}

TEST(Platform, JapaneseFileNamesRoundTrip) {
    TempDir dir;
    std::string path = dir / "表ソ能.txt";
    ASSERT_TRUE(WriteFileBytes(path, "x"));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir.Path() + "\\*.txt").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    FindClose(find);
    EXPECT_STREQ("表ソ能.txt", found.cFileName);
}
