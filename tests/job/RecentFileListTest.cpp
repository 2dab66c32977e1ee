// The recent job list: order, duplicates, limits, storage, menu names and menu items.
#include <gtest/gtest.h>

#include <memory>

#include "ScratchProfile.h"
#include "framework/RecentFileList.h"
#include "base/RegKey.h"

namespace {

CRecentFileList MakeList() {
    return CRecentFileList("Recent File List", "File%d", 4, 30);
}

std::vector<std::string> Entries(const CRecentFileList& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetSize(); ++i)
        entries.push_back(list[i]);
    return entries;
}

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

// Each item as "<id> <text>", with " (grey)" when it is greyed; separators as "-".
std::vector<std::string> MenuItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        char text[256] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        std::string item = std::to_string(GetMenuItemID(menu, i)) + " " + text;
        if (state & MF_GRAYED)
            item += " (grey)";
        items.push_back(item);
    }
    return items;
}

const std::string A = "C:\\jobs\\a.orvane";
const std::string B = "C:\\jobs\\Backup.orvane";
const std::string C = "C:\\ソフト\\表.orvane";
const std::string D = "C:\\ソフト\\能.orvane";
const std::string E = "C:\\jobs\\e.orvane";

} // namespace

TEST(RecentFileList, NewestFirstDuplicatesMoveUpAndTheOldestDropsOut) {
    struct Step {
        std::string added;
        std::vector<std::string> after;
    };
    const std::string upperB = "c:\\JOBS\\BACKUP.ORVANE";
    const Step steps[] = {
        {A, {A, "", "", ""}},
        {B, {B, A, "", ""}},
        {C, {C, B, A, ""}},
        {D, {D, C, B, A}},
        {upperB, {upperB, D, C, A}}, // the same file in other case: moved,
                                     // newest spelling kept
        {E, {E, upperB, D, C}},      // full: A drops out
        {D, {D, E, upperB, C}},
        {D, {D, E, upperB, C}},
    };
    CRecentFileList list = MakeList();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.added);
        ASSERT_TRUE(list.Add(step.added));
        EXPECT_EQ(step.after, Entries(list));
    }
}

TEST(RecentFileList, PathsThatDifferBeyondCaseStaySeparate) {
    // ア is 83 41 and ヂ is 83 61: they differ only in the ASCII case of a trail byte.
    const std::vector<std::string> paths = {"C:\\jobs\\ア.orvane", "C:\\jobs\\ヂ.orvane",
                                            "C:\\jobs\\my-job.orvane", "C:\\jobs\\myjob.orvane"};
    CRecentFileList list = MakeList();
    for (const std::string& path : paths)
        ASSERT_TRUE(list.Add(path));
    EXPECT_EQ(std::vector<std::string>(paths.rbegin(), paths.rend()), Entries(list));
}

TEST(RecentFileList, RelativePathsAreMadeAbsoluteAndOverlongOnesRefused) {
    char folder[MAX_PATH] = {};
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, folder));
    CRecentFileList list = MakeList();
    ASSERT_TRUE(list.Add("sub\\..\\rel.orvane"));
    EXPECT_EQ(std::string(folder) + "\\rel.orvane", list[0]);

    const std::string longest = "C:\\" + std::string(200, 'a') + "\\" + std::string(55, 'b');
    ASSERT_EQ(259u, longest.size());
    EXPECT_TRUE(list.Add(longest));
    EXPECT_FALSE(list.Add(longest + "b"));
    EXPECT_FALSE(list.Add(""));
    EXPECT_EQ(longest, list[0]);
    EXPECT_EQ("", list[2]);
}

TEST(RecentFileList, StoredListIsReadBackWholeAndLeavesNoStaleEntries) {
    ScratchProfile scratch;
    CRecentFileList written = MakeList();
    for (const std::string& path : {A, B, C, D, E})
        ASSERT_TRUE(written.Add(path));
    ASSERT_TRUE(written.WriteList(scratch.Get()));

    CRecentFileList read = MakeList();
    read.ReadList(scratch.Get());
    EXPECT_EQ((std::vector<std::string>{E, D, C, B}), Entries(read));

    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.SectionPath("Recent File List").c_str()));
    std::string value;
    EXPECT_TRUE(key.QueryString("File1", value));
    EXPECT_EQ(E, value);
    EXPECT_TRUE(key.QueryString("File3", value));
    EXPECT_EQ(C, value);
    EXPECT_FALSE(key.QueryString("File5", value));
    key.Close();

    // A shorter list replaces the longer one: no old File2 to File4 survive.
    CRecentFileList shorter = MakeList();
    ASSERT_TRUE(shorter.Add(A));
    ASSERT_TRUE(shorter.WriteList(scratch.Get()));
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.SectionPath("Recent File List").c_str()));
    EXPECT_FALSE(key.QueryString("File2", value));
    read.ReadList(scratch.Get());
    EXPECT_EQ((std::vector<std::string>{A, "", "", ""}), Entries(read));
}

TEST(RecentFileList, DisplayNamesKeepRootAndNameWithinThirtyCharacters) {
    const std::string kanji = "表ソ能示表ソ能示表ソ能示表ソ能示表ソ能示"; // 20 characters, 40 bytes
    struct Case {
        std::string path;
        std::string shown;
    };
    const Case cases[] = {
        {A, A},
        {"C:\\Users\\someone\\Documents\\jobs\\backup.orvane", "C:\\...\\jobs\\backup.orvane"},
        // 表 ends in 0x5C: not a backslash, so the name stays whole.
        {"C:\\表示\\ソフト能力開発部\\設定ファイル\\能力表.orvane", "C:\\...\\能力表.orvane"},
        {"\\\\server\\share\\folder\\sub\\file.orvane", "\\\\server\\share\\...\\file.orvane"},
        {"C:\\a\\" + std::string(26, 'n') + ".txt", std::string(26, 'n') + ".txt"},
        // The name alone fits; 能 in front of it must not be split off at its 0x5C.
        {"C:\\dir\\能" + std::string(20, 'x') + ".orvane", "能" + std::string(20, 'x') + ".orvane"},
        // Even the name is too long: its end, cut before a whole character.
        {"C:\\jobs\\" + kanji + "x.orvane", "...示表ソ能示表ソ能示x.orvane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CRecentFileList list = MakeList();
        ASSERT_TRUE(list.Add(c.path));
        EXPECT_EQ(c.shown, list.GetDisplayName(0));
        EXPECT_LE(list.GetDisplayName(0).size(), 30u);
    }
}

TEST(RecentFileList, MenuShowsNumberedEntriesOrAGreyedPlaceholder) {
    MenuHandle menu(CreatePopupMenu());
    ASSERT_TRUE(menu);
    AppendMenuA(menu.get(), MF_STRING, 100, "開く");
    AppendMenuA(menu.get(), MF_STRING, 57616, "最近使ったファイル");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, 200, "終了");
    const std::string separator = "-";

    CRecentFileList list = MakeList();
    ASSERT_TRUE(list.UpdateMenu(menu.get(), 57616));
    const std::vector<std::string> emptyMenu = {"100 開く", "57616 最近使ったファイル (grey)",
                                                separator, "200 終了"};
    EXPECT_EQ(emptyMenu, MenuItems(menu.get()));

    ASSERT_TRUE(list.Add(C));
    ASSERT_TRUE(list.Add("C:\\R&D\\b.orvane"));
    ASSERT_TRUE(list.Add("C:\\Users\\someone\\Documents\\jobs\\backup.orvane"));
    ASSERT_TRUE(list.UpdateMenu(menu.get(), 57616));
    EXPECT_EQ((std::vector<std::string>{"100 開く", "57616 &1 C:\\...\\jobs\\backup.orvane",
                                        "57617 &2 C:\\R&&D\\b.orvane", "57618 &3 " + C, separator,
                                        "200 終了"}),
              MenuItems(menu.get()));

    CRecentFileList emptied = MakeList();
    ASSERT_TRUE(emptied.UpdateMenu(menu.get(), 57616));
    EXPECT_EQ(emptyMenu, MenuItems(menu.get()));

    EXPECT_FALSE(list.UpdateMenu(menu.get(), 40000));
    EXPECT_EQ(emptyMenu, MenuItems(menu.get()));
}
