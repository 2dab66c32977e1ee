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
    const ListedEntry nested = scan.listing[at("\\表ソ\\能.txt") - paths.begin()];
    EXPECT_EQ(scan.root, nested.rootFolder);
    EXPECT_EQ("\\表ソ\\", nested.relativeFolder);
    EXPECT_EQ("能.txt", nested.name);
    EXPECT_EQ(11u, nested.Size()); // the file holds its node path
    FILETIME written = BaseTimePlus(0);
    EXPECT_EQ(0, CompareFileTime(&written, &nested.lastWriteTime));
}

// Only the program's lock and default versions folder at the root are never
// listed; every name that merely looks like the program's, and the reserved
// names anywhere below the root, are the user's: listed whatever the filters.
TEST(Scanner, OnlyTheReservedNamesAtTheRootAreNotListed) {
    const std::vector<Node> nodes = {
        {"~orvane-run.lock"},      {"~ORVANE-VERSIONS\\"},        {"~ORVANE-VERSIONS\\old.txt"},
        {"~orvane1a2b3c.tmp"},     {"~ORVANE000000.TMP"},         {"~orvaneabcdef.tmp\\"},
        {"~orvane1a2b3c.old\\"},   {"~orvane1a2b3c.old\\表.txt"}, {"sub\\"},
        {"sub\\~orvane-run.lock"}, {"sub\\~orvane-versions\\"},   {"sub\\~orvane表ソ能.tmp"},
    };
    const Texts listed = {
        "\\~orvane1a2b3c.tmp",     "\\~ORVANE000000.TMP",         "\\~orvaneabcdef.tmp\\",
        "\\~orvane1a2b3c.old\\",   "\\~orvane1a2b3c.old\\表.txt", "\\sub\\",
        "\\sub\\~orvane-run.lock", "\\sub\\~orvane-versions\\",   "\\sub\\~orvane表ソ能.tmp"};
    for (bool tree : {true, false}) {
        Scan scan(nodes);
        scan.include = {"tmp", "TMP", "txt", "lock", "old", ""};
        ASSERT_TRUE(tree ? scan.Tree() : scan.Flat());
        Texts expected;
        for (const std::string& path : listed) {
            size_t inner = path.find('\\', 1);
            if (tree || inner == std::string::npos || inner == path.size() - 1)
                expected.push_back(path);
        }
        EXPECT_EQ(Sorted(expected), Sorted(ListingPaths(scan.listing))) << (tree ? "tree" : "flat");
        EXPECT_TRUE(scan.listing.LeftOut().empty()) << "nothing to report either";
    }
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

TEST(Scanner, LinksAndMisreadNamesAreLeftOutNotEntered) {
    // Behind a link lies something outside the job; a name the path functions
    // would misread ('?' for a character outside the code page, a trailing dot,
    // a device name, a backslash from a best-fit ¥) would be acted on as another file.
    const struct {
        const char* name;
        DWORD attributes;
        const char* newName;
        Texts missing; // from the listing
        const char* leftOut;
    } cases[] = {
        {"sub",
         FILE_ATTRIBUTE_REPARSE_POINT,
         "",
         {"\\sub\\", "\\sub\\deeper\\", "\\sub\\deeper\\e.txt"},
         "\\sub"},
        {"a.txt", FILE_ATTRIBUTE_REPARSE_POINT, "", {"\\a.txt"}, "\\a.txt"},
        {"a.txt", 0, "caf?.txt", {"\\a.txt"}, "\\caf?.txt"},
        {"a.txt", 0, "..\\a.txt", {"\\a.txt"}, "\\..\\a.txt"},
        {"c.doc", 0, "keep.", {"\\c.doc"}, "\\keep."},
        {"c.doc", 0, "keep ", {"\\c.doc"}, "\\keep "},
        {"c.doc", 0, "Con.txt", {"\\c.doc"}, "\\Con.txt"},
        {"c.doc", 0, "lpt9", {"\\c.doc"}, "\\lpt9"},
        {"data", 0, "a|b", {"\\data\\", "\\data\\d.txt"}, "\\a|b"},
        // Control characters come from Linux, macOS and network storage.
        {"c.doc", 0, "evil\r\n成功:DEL x", {"\\c.doc"}, "\\evil\r\n成功:DEL x"},
        {"c.doc", 0, "tab\t", {"\\c.doc"}, "\\tab\t"},
        // 0x7F is a character Windows names may hold: planned, and escaped in texts.
        {"c.doc", 0, "del\x7f.txt", {"\\c.doc"}, nullptr},
        {"表ソ", 0, "表ソ.", {"\\表ソ\\", "\\表ソ\\能.txt"}, "\\表ソ."},
        // 表ソ ends in the byte 0x5C and ポ (83 7C) holds '|': whole characters, usable names
        {"c.doc", 0, "ポ表ソ", {"\\c.doc"}, nullptr},
        {"c.doc", 0, "COM10", {"\\c.doc"}, nullptr},
    };
    for (const auto& c : cases) {
        for (bool tree : {true, false}) {
            Scan scan;
            AlteringFinder finder(c.name, c.attributes, c.newName, scan.root + "\\*"); // top level
            ASSERT_TRUE(tree ? scan.Tree("", finder) : scan.Flat(finder)) << c.newName;
            Texts paths = ListingPaths(scan.listing);
            for (const std::string& missing : c.missing)
                EXPECT_EQ(paths.end(), std::find(paths.begin(), paths.end(), missing))
                    << c.name << " as " << c.newName << ": " << missing;
            EXPECT_EQ(c.leftOut ? Texts{c.leftOut} : Texts{}, scan.listing.LeftOut()) << c.newName;
            if (!c.leftOut) {
                std::string listed = std::string("\\").append(c.newName);
                EXPECT_EQ(1, std::count(paths.begin(), paths.end(), listed));
            }
        }
    }
}

TEST(Scanner, AnExcludedFolderLinkIsNeitherListedNorReported) {
    Scan scan;
    ASSERT_TRUE(scan.Tree(
        "sub", AlteringFinder("sub", FILE_ATTRIBUTE_REPARSE_POINT, "", scan.root + "\\*")));
    EXPECT_EQ(AllBut({"\\sub\\", "\\sub\\deeper\\", "\\sub\\deeper\\e.txt"}),
              Sorted(ListingPaths(scan.listing)));
    EXPECT_EQ(Texts{}, scan.listing.LeftOut());
}
