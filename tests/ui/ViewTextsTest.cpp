// The texts the view produces: cells of each kind of row, the local time text
// and the window title.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "engine/SyncItem.h"
#include "ui/OrvaneView.h"
#include "ui/ResultCells.h"

namespace {

FileEntry Entry(const char* root, const char* folder, const char* name, FILETIME time = {}) {
    FileEntry entry;
    entry.rootFolder = root;
    entry.relativeFolder = folder;
    entry.name = name;
    entry.lastWriteTime = time;
    return entry;
}

SyncItem Item(int operation, int reason, int direction, int isFolder) {
    SyncItem item;
    item.operation = operation;
    item.reason = reason;
    item.direction = direction;
    item.isFolder = isFolder;
    item.subject = Entry("C:\\p", "\\表\\", "ソ.txt", UtcFileTime(2005, 4, 6, 20, 21, 18));
    return item;
}

std::vector<std::string> Cells(const SyncItem& item) {
    std::vector<std::string> cells;
    for (int column = 0; column < kResultColumnCount; ++column)
        cells.push_back(CellText(column, item));
    return cells;
}

TEST(ResultCells, EachKindOfRowShowsItsTexts) {
    SyncItem newer = Item(Copy, Date, ProcessingToReference, 0);
    newer.counterpart = Entry("C:\\r", "\\表\\", "ソ.TXT", UtcFileTime(2004, 1, 2, 3, 4, 5));
    const struct {
        SyncItem item;
        std::vector<std::string> cells;
    } rows[] = {
        {newer,
         {"\\表\\ソ.txt", "コピー", "日付", "処→参", "2004/01/02 12:04\"05",
          "2005/04/07 05:21\"18"}},
        {Item(Copy, Existence, ReferenceToProcessing, 0),
         {"\\表\\ソ.txt", "コピー", "存在", "参→処", "", ""}},
        {Item(Create, Existence, ProcessingToReference, 1),
         {"\\表\\ソ.txt", "作成", "存在", "参", "", ""}},
        {Item(Delete, Existence, ReferenceToProcessing, 0),
         {"\\表\\ソ.txt", "削除", "存在", "処", "", ""}},
        {Item(Delete, Existence, ProcessingToReference, 1),
         {"\\表\\ソ.txt", "削除", "存在", "参", "", ""}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.cells, Cells(row.item)) << row.cells[1] << row.cells[3];
}

TEST(ResultCells, ValueTexts) {
    struct Case {
        int operation, direction;
        const char *operationText, *directionText;
    } cases[] = {
        {Copy, ProcessingToReference, "コピー", "処→参"},
        {Copy, ReferenceToProcessing, "コピー", "参→処"},
        {Create, ProcessingToReference, "作成", "参"},
        {Create, ReferenceToProcessing, "作成", "処"},
        {Delete, ProcessingToReference, "削除", "参"},
        {Delete, ReferenceToProcessing, "削除", "処"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.operationText, OperationText(c.operation));
        EXPECT_STREQ(c.directionText, DirectionText(c.operation, c.direction)) << c.operation;
    }
    EXPECT_STREQ("日付", ReasonText(Copy, Date));
    EXPECT_STREQ("存在", ReasonText(Delete, Existence));
}

TEST(ResultCells, CreationAndDeletionReadExistenceWhateverTheReason) {
    SyncItem odd = Item(Delete, Date, 7, 0);
    EXPECT_EQ("存在", CellText(2, odd));
    EXPECT_EQ("処", CellText(3, odd)) << "any direction but 0 is the processing side";
    EXPECT_EQ("", CellText(4, odd));
}

TEST(ResultCells, TimeIsShownInLocalTimeNineHoursAhead) {
    // The suite runs with the time zone of Tokyo (no daylight saving).
    EXPECT_EQ("2005/04/07 05:21\"18", LocalTimeText(UtcFileTime(2005, 4, 6, 20, 21, 18)));
    EXPECT_EQ("2005/04/07 05:21\"18", LocalTimeText(UtcFileTime(2005, 4, 6, 20, 21, 18, 999)));
    EXPECT_EQ("2000/01/01 08:59\"59", LocalTimeText(UtcFileTime(1999, 12, 31, 23, 59, 59)));
}

TEST(WindowTitle, ShowsTheJobFileNameWithItsExtension) {
    EXPECT_EQ("Orvane", WindowTitleFor(""));
    EXPECT_EQ("Orvane - daily.orvane", WindowTitleFor("D:\\jobs\\daily.orvane"));
    EXPECT_EQ("Orvane - 表.orvane", WindowTitleFor("C:\\ソ\\表.orvane"));
    EXPECT_EQ("Orvane - a.orvane", WindowTitleFor("a.orvane"));
}

} // namespace
