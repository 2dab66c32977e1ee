// Listing real folders: what becomes an entry, in which order, and how a scan
// ends when it is stopped or a folder cannot be listed completely.
#include "EngineTestKit.h"
#include "TempDir.h"
#include "engine/FileFilters.h"
#include "engine/Scanner.h"

#include <gtest/gtest.h>

namespace {

const std::vector<Node> kTree = {
    {"a.txt"},    {"b.TXT"},         {"c.doc"},
    {"noext"},    {"data\\"},        {"data\\d.txt"},
    {"ソ.能"},    {"表ソ\\"},        {"表ソ\\能.txt"},
    {"sub\\"},    {"sub\\deeper\\"}, {"sub\\deeper\\e.txt"},
    {"other\\"},  {"other\\sub\\"},  {"other\\sub\\f.txt"},
    {"backup\\"}, {"ＦＵＬＬ\\"},
};

struct Scan {
    TempDir dir;
    std::string root = dir / "root";
    FakeProgress progress;
    Texts include, exclude;
    std::string lastMessage;
    FolderListing listing{root};

    explicit Scan(const std::vector<Node>& nodes = kTree) {
        MakeFolder(root);
        BuildTree(root, nodes);
    }
    bool Tree(const std::string& excluded = "", const FileFinder& finder = SystemFileFinder()) {
        Scanner scanner(progress, include, exclude, lastMessage, finder);
        return scanner.ScanTree("\\", listing,
                                ExcludedFolders(MakeExcludedFolderPatterns(excluded)));
    }
    bool Flat(const FileFinder& finder = SystemFileFinder()) {
        return Scanner(progress, include, exclude, lastMessage, finder).ScanFlat(listing);
    }
};

Texts AllBut(const Texts& missing) {
    Texts paths;
    for (const Node& node : kTree)
        if (std::find(missing.begin(), missing.end(), "\\" + node.path) == missing.end())
            paths.push_back("\\" + node.path);
    return Sorted(paths);
}

} // namespace

TEST(Scanner, FlatScanListsTheTopLevelOnly) {
    Scan scan;
    ASSERT_TRUE(scan.Flat());
    EXPECT_EQ(AllBut({"\\data\\d.txt", "\\表ソ\\能.txt", "\\sub\\deeper\\", "\\sub\\deeper\\e.txt",
                      "\\other\\sub\\", "\\other\\sub\\f.txt"}),
              Sorted(ListingPaths(scan.listing)));
    EXPECT_EQ("", scan.progress.line2);

    Scan empty(std::vector<Node>{});
    EXPECT_TRUE(empty.Flat());
    EXPECT_EQ(0u, empty.listing.Size()); // "." and ".." are never entries
}

TEST(Scanner, TreeScanAddsFoldersAfterTheirContents) {
    Scan scan;
    ASSERT_TRUE(scan.Tree());
    Texts paths = ListingPaths(scan.listing);
    EXPECT_EQ(AllBut({}), Sorted(paths));
    auto at = [&](const char* path) { return std::find(paths.begin(), paths.end(), path); };
    EXPECT_LT(at("\\sub\\deeper\\e.txt"), at("\\sub\\deeper\\"));
    EXPECT_LT(at("\\sub\\deeper\\"), at("\\sub\\"));
    EXPECT_LT(at("\\表ソ\\能.txt"), at("\\表ソ\\"));
    const FileEntry& nested = scan.listing[at("\\表ソ\\能.txt") - paths.begin()];
    EXPECT_EQ(scan.root, nested.rootFolder);
    EXPECT_EQ("\\表ソ\\", nested.relativeFolder);
    EXPECT_EQ("能.txt", nested.name);
    EXPECT_EQ(11u, nested.sizeLow); // the file holds its node path
    FILETIME written = BaseTimePlus(0);
    EXPECT_EQ(0, CompareFileTime(&written, &nested.lastWriteTime));
}

TEST(Scanner, ExcludedFoldersLeaveOutWholeSubtrees) {
    struct Case {
        const char* excluded;
        Texts missing;
    } cases[] = {
        {"sub", {"\\sub\\", "\\sub\\deeper\\", "\\sub\\deeper\\e.txt"}},
        {"sub\\deeper", {"\\sub\\deeper\\", "\\sub\\deeper\\e.txt"}},
        {"other\\sub", {"\\other\\sub\\", "\\other\\sub\\f.txt"}},
        {"BACKUP", {"\\backup\\"}},
        {"ｆｕｌｌ", {"\\ＦＵＬＬ\\"}}, // full-width capitals fold too
        {"表ソ", {"\\表ソ\\", "\\表ソ\\能.txt"}},
        {"表,\\sub,sub\\,su*,data.txt", {}}, // whole pieces, no wildcards
    };
    for (const Case& c : cases) {
        Scan scan;
        ASSERT_TRUE(scan.Tree(c.excluded));
        EXPECT_EQ(AllBut(c.missing), Sorted(ListingPaths(scan.listing))) << c.excluded;
    }
}

TEST(Scanner, ExtensionListsFilterFilesAndFolderEntriesAlike) {
    const Texts txt = {
        "\\a.txt",       "\\b.TXT", "\\data\\d.txt", "\\other\\sub\\f.txt", "\\sub\\deeper\\e.txt",
        "\\表ソ\\能.txt"};
    const Texts folders = {"\\backup\\", "\\data\\",        "\\other\\", "\\other\\sub\\",
                           "\\sub\\",    "\\sub\\deeper\\", "\\表ソ\\",  "\\ＦＵＬＬ\\"};
    Texts txtAndNoExtension = txt;
    txtAndNoExtension.insert(txtAndNoExtension.end(), folders.begin(), folders.end());
    txtAndNoExtension.push_back("\\noext");
    struct Case {
        const char *include, *exclude;
        Texts found;
    } cases[] = {
        {"txt", "", txt},
        {"TXT,能", "能", txt},           // the exclude list wins
        {"txt,", "", txtAndNoExtension}, // the empty piece takes names without extension
        {".txt", "", {}},
        {"", "txt,,能", {"\\c.doc"}},
    };
    for (const Case& c : cases) {
        Scan scan;
        if (*c.include)
            SplitList(c.include, ',', scan.include);
        if (*c.exclude)
            SplitList(c.exclude, ',', scan.exclude);
        ASSERT_TRUE(scan.Tree());
        EXPECT_EQ(Sorted(c.found), Sorted(ListingPaths(scan.listing))) << c.include << c.exclude;
    }
}

TEST(Scanner, MissingRootOrStopEndsTheScan) {
    for (bool tree : {false, true}) {
        Scan missing(std::vector<Node>{});
        RemoveDirectoryA(missing.root.c_str());
        EXPECT_FALSE(tree ? missing.Tree() : missing.Flat());
        EXPECT_EQ(LastErrorText(ERROR_PATH_NOT_FOUND), missing.lastMessage);

        Scan stopped;
        stopped.progress.stopAtPoll = 3;
        EXPECT_FALSE(tree ? stopped.Tree() : stopped.Flat());
        EXPECT_EQ(3, stopped.progress.polls);
        EXPECT_EQ("", stopped.lastMessage);
    }
}

// A listing that breaks off part-way must not pass for a complete one: the
// entries it misses would otherwise be planned for deletion on the other side.
TEST(Scanner, ListingThatBreaksOffFailsTheScan) {
    Scan flat;
    EXPECT_FALSE(flat.Flat(BreakingFinder(flat.root, ERROR_NETNAME_DELETED)));
    EXPECT_EQ(LastErrorText(ERROR_NETNAME_DELETED), flat.lastMessage);
    EXPECT_FALSE(flat.lastMessage.empty());

    Scan deep;
    EXPECT_FALSE(deep.Tree("", BreakingFinder(deep.root + "\\sub\\deeper\\", ERROR_UNEXP_NET_ERR)));
    EXPECT_EQ(LastErrorText(ERROR_UNEXP_NET_ERR), deep.lastMessage);
    Texts paths = ListingPaths(deep.listing); // ended before the parent's own entry
    EXPECT_EQ(paths.end(), std::find(paths.begin(), paths.end(), "\\sub\\"));
}

// Changes the records of one name as the system might give them: a folder
// link (junction), or a name with a character outside the code page ('?').
class AlteringFinder : public FileFinder {
public:
    AlteringFinder(std::string name, DWORD addAttributes, std::string newName = "")
        : name_(std::move(name)), add_(addAttributes), newName_(std::move(newName)) {}
    HANDLE First(const char* pattern, WIN32_FIND_DATAA* found) const override {
        HANDLE search = FileFinder::First(pattern, found);
        Alter(found, search != INVALID_HANDLE_VALUE);
        return search;
    }
    bool Next(HANDLE search, WIN32_FIND_DATAA* found) const override {
        bool got = FileFinder::Next(search, found);
        Alter(found, got);
        return got;
    }

private:
    void Alter(WIN32_FIND_DATAA* found, bool got) const {
        if (!got || name_ != found->cFileName)
            return;
        found->dwFileAttributes |= add_;
        if (!newName_.empty())
            lstrcpynA(found->cFileName, newName_.c_str(), MAX_PATH);
    }
    std::string name_;
    DWORD add_;
    std::string newName_;
};

TEST(Scanner, FolderLinksAreEntriesButNotEntered) {
    // What lies behind a junction is outside the job: never listed, so never
    // planned for deletion.
    Scan scan;
    ASSERT_TRUE(scan.Tree("", AlteringFinder("sub", FILE_ATTRIBUTE_REPARSE_POINT)));
    Texts paths = ListingPaths(scan.listing);
    EXPECT_NE(paths.end(), std::find(paths.begin(), paths.end(), "\\sub\\"));
    EXPECT_EQ(paths.end(), std::find(paths.begin(), paths.end(), "\\sub\\deeper\\"));
    EXPECT_EQ(paths.end(), std::find(paths.begin(), paths.end(), "\\sub\\deeper\\e.txt"));
}

TEST(Scanner, NameGivenWithAWildcardFailsTheScanNamingIt) {
    // A character without an ANSI form can come back as '?': as a path it would
    // match other files (DEL caf?.txt deletes cafe.txt too).
    for (bool tree : {true, false}) {
        Scan scan({{"cafe.txt"}, {"other.txt"}});
        AlteringFinder finder("cafe.txt", 0, "caf?.txt");
        EXPECT_FALSE(tree ? scan.Tree("", finder) : scan.Flat(finder));
        EXPECT_EQ(std::string(kUnnamableEntryText) + scan.root + "\\caf?.txt", scan.lastMessage);
    }
}
