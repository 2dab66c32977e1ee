// Command texts: which paths cmd.exe needs in quotes, the five kinds of row, and
// the batch file's doubled percent signs. Double-byte names whose second byte is a
// backslash (表 ソ 能), a caret (タ) or a bar (ポ) must never count as that byte.
#include <gtest/gtest.h>

#include "ExecFakes.h"
#include "exec/CommandText.h"

struct QuoteCase {
    const char* path;
    bool quoted;
};

TEST(QuotePath, QuotesOnlyWhatCmdWouldSplitOrReadAsAnOperator) {
    const QuoteCase cases[] = {
        {"C:\\data\\a.txt", false},
        {"", false},
        {"C:\\my docs\\a.txt", true},
        {"C:\\tab\there", true},
        {"C:\\a&b.txt", true},
        {"C:\\(x).txt", true},
        {"C:\\x)", true},
        {"C:\\a,b", true},
        {"C:\\a;b", true},
        {"C:\\a=b", true},
        {"C:\\a+b.txt", true},
        {"C:\\a^b", true},
        {"C:\\a|b", true},
        {"C:\\<a>", true},
        {"C:\\100%.txt", false}, // the batch writer doubles it; quotes would not help
        {"C:\\a!b`c~d[e]{f}'g@h#i$", false},
        {"C:\\全角　空白", false},
        {"　", false},
        {"C:\\表ソ能\\予.txt", false},
        {"C:\\タ\\ポ.txt", false},
        {"C:\\表 ソ", true},
        {"C:\\表ソ&", true},
        {"C:\\ソ)", true},
    };
    for (const QuoteCase& c : cases) {
        std::string expected = c.quoted ? Quoted(c.path) : c.path;
        EXPECT_EQ(expected, QuotePath(c.path)) << c.path;
    }
}

TEST(CommandText, EachKindOfRowNamesThePathsTheExecutorActsOn) {
    struct Case {
        SyncItem item;
        const char* command;
    } cases[] = {
        // A date copy overwrites the older file under the name it has on its side.
        {DateCopy("C:\\P", "D:\\R", "\\sub\\", "Report.DOC", "report.doc"),
         "COPY C:\\P\\sub\\Report.DOC D:\\R\\sub\\report.doc"},
        {ExistenceCopy("C:\\P dir", "D:\\R", "\\", "a.txt"),
         "COPY \"C:\\P dir\\a.txt\" D:\\R\\a.txt"},
        {FolderCreate("C:\\P", "D:\\R", "\\表\\", "ソ"), "MKDIR D:\\R\\表\\ソ"},
        {FileDelete("C:\\P", "\\", "a&b.txt"), "DEL \"C:\\P\\a&b.txt\""},
        {FolderDelete("D:\\R", "\\x\\", "old"), "RMDIR D:\\R\\x\\old"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.command, MakeItemCommand(c.item));

    SyncItem unknown = FileDelete("C:\\P", "\\", "a.txt");
    unknown.operation = 3;
    EXPECT_EQ("", MakeItemCommand(unknown));
}

TEST(CommandText, BatchLinesDoubleEveryPercentSign) {
    const std::pair<const char*, const char*> cases[] = {
        {"DEL C:\\100%.txt", "DEL C:\\100%%.txt"},
        {"DEL C:\\%PATH%\\%%x", "DEL C:\\%%PATH%%\\%%%%x"},
        {"COPY \"C:\\a b\\%1\" D:\\%", "COPY \"C:\\a b\\%%1\" D:\\%%"},
        {"MKDIR C:\\表ソ能", "MKDIR C:\\表ソ能"},
        {"", ""},
    };
    for (const auto& [command, line] : cases)
        EXPECT_EQ(line, EscapeForBatchFile(command));
}
