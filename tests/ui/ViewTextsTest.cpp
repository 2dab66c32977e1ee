// The texts the view produces: cells of each kind of row, the local time text
// and the window title.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "engine/SyncItem.h"
#include "ui/OrvaneView.h"
#include "ui/ProgressTexts.h"
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

ProgressFigures Rows(int done, int planned, unsigned long long bytesDone,
                     unsigned long long bytesPlanned) {
    ProgressFigures figures;
    figures.kind = ProgressFigures::Kind::RowsAndBytes;
    figures.rowsDone = done;
    figures.rowsPlanned = planned;
    figures.bytesDone = bytesDone;
    figures.bytesPlanned = bytesPlanned;
    return figures;
}

// The figures of the progress window as the user reads them, and the time left,
// which waits for three seconds and a hundredth of the work.
TEST(ProgressTexts, FiguresReadAsTheyShouldAndTheEstimateWaits) {
    ProgressFigures search;
    search.processingEntries = 1234567;
    search.referenceEntries = 999;
    EXPECT_EQ("読み込んだ項目：処理 1,234,567 件　参照 999 件", FiguresCountText(search));
    EXPECT_EQ("経過 1:01:05", FiguresTimeText(search, 3665999)) << "no estimate for a search";
    ProgressFigures batch;
    batch.kind = ProgressFigures::Kind::RowsWritten;
    batch.rowsDone = 1000;
    batch.rowsPlanned = 100000;
    EXPECT_EQ("出力済み 1,000 / 100,000 件", FiguresCountText(batch));
    EXPECT_EQ("経過 0:03　残り 約 4:57", FiguresTimeText(batch, 3000));
    EXPECT_EQ("処理済み 12 / 100 件（1.0 MB / 1.0 GB）",
              FiguresCountText(Rows(12, 100, 1 << 20, 1ull << 30)));
    EXPECT_EQ("処理済み 0 / 3 件", FiguresCountText(Rows(0, 3, 0, 0))) << "nothing to copy";

    struct Estimate {
        ULONGLONG elapsedMs;
        unsigned long long done, planned;
        long long secondsLeft;
        const char* point;
    };
    const Estimate estimates[] = {
        {2999, 500, 1000, -1, "before three seconds"},
        {3000, 500, 1000, 3, "at three seconds"},
        {60000, 99, 10000, -1, "less than a hundredth done"},
        {60000, 100, 10000, 5940, "a hundredth done"},
        {3000, 999, 1000, 1, "a part of a second is shown as one"},
        {9000, 1000, 1000, -1, "nothing left"},
        {3000, 0, 0, -1, "nothing planned"},
        {4000, 1ull << 40, 4ull << 40, 12, "terabytes times milliseconds"},
    };
    for (const Estimate& estimate : estimates)
        EXPECT_EQ(estimate.secondsLeft,
                  SecondsLeft(estimate.elapsedMs, estimate.done, estimate.planned))
            << estimate.point;

    // The bar over the work, rows weighing besides their bytes.
    EXPECT_EQ(0, BarPosition(Rows(0, 0, 0, 0)));
    EXPECT_EQ(kBarRange, BarPosition(Rows(2, 2, 0, 0)));
    EXPECT_EQ(kBarRange / 2, BarPosition(Rows(1, 2, 0, 0))) << "rows without bytes move it";
    EXPECT_EQ(kBarRange / 2,
              BarPosition(Rows(0, 1, 4ull << 30, (8ull << 30) - ProgressFigures::kBytesPerRow)))
        << "4 of 8 GiB";
    EXPECT_EQ("0:00", DurationText(0));
    EXPECT_EQ("59:59", DurationText(3599));
}

TEST(WindowTitle, ShowsTheJobFileNameWithItsExtension) {
    EXPECT_EQ("Orvane", WindowTitleFor(""));
    EXPECT_EQ("Orvane - daily.orvane", WindowTitleFor("D:\\jobs\\daily.orvane"));
    EXPECT_EQ("Orvane - 表.orvane", WindowTitleFor("C:\\ソ\\表.orvane"));
    EXPECT_EQ("Orvane - a.orvane", WindowTitleFor("a.orvane"));
}

} // namespace
