// A whole search without windows: progress texts, stops, failures, and the
// order in which the planned actions are carried out.
#include "EngineTestKit.h"
#include "TempDir.h"
#include "UnixLinks.h"
#include "base/FileHandle.h"
#include "base/NameText.h"
#include "engine/SearchCore.h"
#include "engine/SystemText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::string kSorting = "ファイル情報をソート中（中断するのに時間がかかる場合があります）";
const std::string kComparing = "フォルダを比較中";

struct Search {
    TempDir dir;
    JobSettings job;
    Texts include = {"stale"}, exclude = {"stale"};
    FakeProgress progress;
    RowCollector rows;
    std::string message = "stale";

    explicit Search(int mode) : job(MakeJob(dir.Path(), mode)) {}
    bool Run(const FileFinder& finder = SystemFileFinder(),
             std::vector<std::string>* leftOut = nullptr) {
        return SearchAndCompare(job, include, exclude, progress, rows, message, finder, nullptr,
                                leftOut);
    }
};

} // namespace

TEST(SearchCore, ShowsEachPhaseAndFillsTheCallersLists) {
    for (int subfolders : {1, 0}) {
        Search search(0);
        search.job.includeSubfolders = subfolders;
        search.job.includeExtensions = "txt,";
        BuildTree(search.job.processingFolder, {{"a.txt"}, {"sub\\"}});
        ASSERT_TRUE(search.Run());
        const std::string p = search.job.processingFolder, r = search.job.referenceFolder;
        Texts expected = subfolders
                             ? Texts{p + "を検索中|", p + "を検索中|\\", p + "を検索中|\\sub\\",
                                     r + "を検索中|\\sub\\", r + "を検索中|\\"}
                             : Texts{p + "を検索中|", r + "を検索中|"};
        for (const std::string& last : {kSorting + "|" + p, kSorting + "|" + r, kComparing + "|"})
            expected.push_back(last);
        EXPECT_EQ(expected, search.progress.refreshed);
        EXPECT_EQ((Texts{"txt", ""}), search.include);
        EXPECT_EQ(Texts{}, search.exclude);
        EXPECT_EQ("", search.message);
        EXPECT_EQ(2u, search.rows.items.size()); // \a.txt and \sub, flat or not
    }
}

TEST(SearchCore, StopInAnyPhaseEndsTheSearchWithoutMessage) {
    struct Case {
        std::string line1; // empty: the scan of the processing folder
        int poll;
        size_t rowsMade;
    } cases[] = {
        {"", 2, 0},
        {kSorting, 1, 0}, // pressed during the first sort, seen right after it
        {kComparing, 1, 0},
        {kComparing, 3, 2}, // two items made; the second pass never runs
    };
    for (const Case& c : cases) {
        Search search(0);
        BuildTree(search.job.referenceFolder, {{"a.txt"}, {"b.txt"}, {"c.txt"}});
        BuildTree(search.job.processingFolder, {{"d.txt"}});
        search.progress.stopLine1 =
            c.line1.empty() ? search.job.processingFolder + "を検索中" : c.line1;
        search.progress.stopAtPoll = c.poll;
        EXPECT_FALSE(search.Run()) << search.progress.stopLine1;
        EXPECT_EQ("", search.message);
        EXPECT_EQ(c.rowsMade, search.rows.items.size()) << search.progress.stopLine1;
        EXPECT_EQ(search.progress.stopLine1, search.progress.line1);
    }
}

TEST(SearchCore, UnlistableFolderEndsTheSearchWithTheSystemsText) {
    Search missing(1);
    RemoveDirectoryA(missing.job.processingFolder.c_str());
    EXPECT_FALSE(missing.Run());
    EXPECT_EQ("処理フォルダ「" + missing.job.processingFolder +
                  "」を読めません: " + LastErrorText(ERROR_PATH_NOT_FOUND),
              missing.message);

    // A reference listing that breaks off, at the top or in a subfolder, must not
    // get the processing files deleted; the message names the folder that broke.
    for (std::string folder : {"", "\\表"}) {
        Search broken(1);
        BuildTree(broken.job.processingFolder, {{"a.txt"}, {"表\\"}, {"表\\b.txt"}});
        BuildTree(broken.job.referenceFolder, {{"a.txt"}, {"表\\"}, {"表\\b.txt"}});
        std::string failing = broken.job.referenceFolder + folder;
        EXPECT_FALSE(broken.Run(BreakingFinder(failing + "\\", ERROR_NETNAME_DELETED)));
        EXPECT_EQ("参照フォルダ「" + failing +
                      "」を読めません: " + LastErrorText(ERROR_NETNAME_DELETED),
                  broken.message);
        EXPECT_TRUE(broken.rows.items.empty());
    }
}

TEST(SearchCore, EmptyFolderIsRefusedRatherThanListedAsTheDriveRoot) {
    // An empty folder, as a job file without the key gives it, would otherwise be
    // listed as "\\*", and mode 2 would plan deleting the drive root's contents.
    for (bool emptyProcessing : {true, false}) {
        Search search(2);
        BuildTree(search.job.processingFolder, {{"a.txt"}});
        (emptyProcessing ? search.job.processingFolder : search.job.referenceFolder).clear();
        EXPECT_FALSE(search.Run());
        EXPECT_EQ(emptyProcessing ? "処理フォルダが指定されていません"
                                  : "参照フォルダが指定されていません",
                  search.message);
        EXPECT_TRUE(search.rows.items.empty());
        EXPECT_TRUE(search.progress.refreshed.empty()) << "nothing was listed";
    }
}

namespace {

std::string ShortPath(const std::string& path) {
    char shorter[MAX_PATH] = {};
    DWORD length = GetShortPathNameA(path.c_str(), shorter, MAX_PATH);
    return length > 0 && length < MAX_PATH ? shorter : "";
}

} // namespace

TEST(SearchCore, OverlappingFoldersAreRefusedWhateverTheSpelling) {
    // One folder inside the other, or the same folder twice: mode 1 would plan
    // deleting the reference folder's files, seen from the processing side,
    // before copying them. Spellings that hide it from a text comparison must
    // not get past.
    TempDir dir, elsewhere;
    const std::string p = dir / "表";
    const std::string longFolder = dir / "ProcessingFolder";
    for (const std::string& folder : {p, p + "\\ref", dir / "表ref", dir / "表ソ", dir / "a",
                                      dir / "b", longFolder, longFolder + "\\inner"})
        ASSERT_TRUE(MakeFolder(folder)) << folder;
    const std::string shortFolder = ShortPath(longFolder);
    ASSERT_FALSE(shortFolder.empty());
    ASSERT_NE(longFolder, shortFolder);

    struct Case {
        std::string processing, reference;
        bool overlap;
    };
    std::vector<Case> cases = {
        {p, p + "\\ref", true},
        {p + "\\ref\\", p, true},
        {p, p + "\\", true},
        {p, dir / "表ref", false}, // only the text begins the same
        {p, dir / "表ソ", false},  // 表 ends in 0x5C, which is not a backslash here
        {dir / "a", dir / "b", false},
        {"C:\\", p, true},
        {shortFolder, longFolder + "\\inner", true},
        {shortFolder + "\\inner", longFolder, true},
        {"\\\\?\\" + longFolder, longFolder + "\\inner", true},
        {"\\\\?\\" + longFolder, dir / "a", false},
    };
    auto expectAll = [](const std::vector<Case>& all) {
        for (const Case& c : all)
            EXPECT_EQ(c.overlap, FoldersOverlap(c.processing, c.reference))
                << c.processing << " / " << c.reference;
    };
    expectAll(cases);
    UnixLinks links;
    if (UnixLinks::Available()) {
        // A link beside the folder and a link from somewhere else into it.
        ASSERT_TRUE(links.Add(longFolder, dir / "link"));
        ASSERT_TRUE(links.Add(longFolder + "\\inner", elsewhere / "into"));
        expectAll({
            {dir / "link", longFolder, true},
            {dir / "link\\inner", longFolder, true},
            {longFolder + "\\inner", dir / "link", true},
            {dir / "link", dir / "a", false},
            {elsewhere / "into", longFolder, true},
            {elsewhere / "into", dir / "a", false},
        });
        // Then a second drive letter for the test's folder (Wine reads drive
        // letters from links of its own). Links are checked before it: Wine
        // names a resolved path through the newest drive letter, and a letter
        // made while a process runs can leave it mapping such names stale.
        std::string drive = links.AddDrive(dir.Path());
        ASSERT_FALSE(drive.empty());
        expectAll({
            {drive + "\\ProcessingFolder", longFolder, true},
            {drive + "\\a", longFolder, false},
            {longFolder, drive, true}, // the drive's current folder
        });
    }

    Search nested(1);
    nested.job.referenceFolder = nested.job.processingFolder + "\\inner";
    CreateDirectoryA(nested.job.referenceFolder.c_str(), nullptr);
    BuildTree(nested.job.referenceFolder, {{"keep.txt"}});
    nested.job.processingFolder = ShortPath(nested.job.processingFolder);
    EXPECT_FALSE(nested.Run());
    EXPECT_EQ("処理フォルダと参照フォルダが重なっています", nested.message);
    EXPECT_TRUE(nested.rows.items.empty());
}

TEST(SearchCore, LogFolderInsideAJobFolderIsNeverPlanned) {
    // The logs of earlier runs would look like the job's files: mode 2 would
    // delete those in the reference folder, mode 1 copy them across, and so on.
    // The folder holding the log folder stays too.
    for (int mode : {0, 1, 2}) {
        for (bool inReference : {true, false}) {
            Search search(mode);
            search.job.outputLog = 1;
            const std::string& side =
                inReference ? search.job.referenceFolder : search.job.processingFolder;
            BuildTree(side, {{"keepsake_folder\\"},
                             {"keepsake_folder\\logs\\"},
                             {"keepsake_folder\\logs\\20260101000000000.log"},
                             {"only.txt"}});
            // Spelled through a short name, taken inside the test's own folder:
            // Wine makes short names from a hash and finds them by reading the
            // whole folder, and the temporary folder is filled and emptied by
            // other tests meanwhile.
            std::string shortKeep = ShortPath(side + "\\keepsake_folder");
            ASSERT_NE(std::string::npos, shortKeep.find('~')) << shortKeep;
            search.job.logFolder = side + shortKeep.substr(shortKeep.rfind('\\')) + "\\logs\\";
            std::vector<std::string> leftOut;
            ASSERT_TRUE(search.Run(SystemFileFinder(), &leftOut)) << search.message;
            Texts planned = Describe(search.rows, search.dir.Path());
            int onlyRows = 0;
            for (const std::string& row : planned) {
                EXPECT_EQ(std::string::npos, row.find("logs")) << "mode " << mode << ": " << row;
                bool deletesKeep =
                    row.rfind("delete", 0) == 0 && row.find("keep") != std::string::npos;
                EXPECT_FALSE(deletesKeep) << "mode " << mode << ": " << row;
                onlyRows += row.find("only.txt") != std::string::npos;
            }
            EXPECT_EQ(1, onlyRows) << "only.txt is still planned, mode " << mode;
            EXPECT_TRUE(leftOut.empty()) << "the log folder is the program's, not left out";
        }
    }
    // Logs written among the job's own files cannot be kept apart from them.
    for (bool reference : {false, true}) {
        Search search(2);
        search.job.outputLog = 1;
        search.job.logFolder =
            reference ? search.job.referenceFolder + "\\" : ShortPath(search.job.processingFolder);
        EXPECT_FALSE(search.Run());
        EXPECT_EQ(reference ? "ログの出力先フォルダが参照フォルダと同じです"
                            : "ログの出力先フォルダが処理フォルダと同じです",
                  search.message);
    }
}

TEST(ComparePriority, DeletionsBackwardsThenCreationsAndCopiesForwards) {
    struct Row {
        int operation, isFolder;
        const char *folder, *name;
    } const ordered[] = {
        {Delete, 0, "\\", "z.txt"}, {Delete, 0, "\\a\\", "b.txt"},  {Delete, 1, "\\a\\", "b"},
        {Delete, 1, "\\", "a"},     {Create, 1, "\\", "a"},         {Create, 1, "\\a\\", "b"},
        {Copy, 0, "\\", "a.txt"},   {Copy, 0, "\\a\\b\\", "c.txt"}, {Copy, 0, "\\", "B.txt"},
    };
    std::vector<SyncItem> items(std::size(ordered));
    std::vector<const SyncItem*> expected;
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].operation = ordered[i].operation;
        items[i].reason = i == 6 ? Date : Existence;
        items[i].isFolder = ordered[i].isFolder;
        items[i].subject.relativeFolder = ordered[i].folder;
        items[i].subject.name = ordered[i].name;
        expected.push_back(&items[i]);
    }
    std::mt19937 random(1);
    for (int round = 0; round < 20; ++round) {
        std::vector<const SyncItem*> rows = expected;
        std::shuffle(rows.begin(), rows.end(), random);
        std::sort(rows.begin(), rows.end(),
                  [](const SyncItem* a, const SyncItem* b) { return ComparePriority(a, b) < 0; });
        ASSERT_EQ(expected, rows);
    }
    // A whole plan is sorted with each path folded once: the same order as the
    // comparison's, equal rows kept in theirs.
    const char* parts[] = {"a", "A", "b.txt", "表", "ソ", "caf<U+00E9>", "a.txt"};
    const int kinds[][2] = {{Delete, Existence}, {Delete, MovedOut}, {Create, Existence},
                            {Move, SameContent}, {Copy, Date},       {Conflict, Date}};
    for (int round = 0; round < 20; ++round) {
        std::vector<std::unique_ptr<SyncItem>> plan;
        for (int i = 0; i < 300; ++i) {
            auto item = std::make_unique<SyncItem>();
            const int* kind = kinds[random() % std::size(kinds)];
            item->operation = kind[0];
            item->reason = kind[1];
            item->isFolder = static_cast<int>(random() % 2);
            item->subject.relativeFolder = "\\";
            for (int depth = static_cast<int>(random() % 3); depth > 0; --depth)
                item->subject.relativeFolder += std::string(parts[random() % 7]) + "\\";
            item->subject.name = parts[random() % 7];
            plan.push_back(std::move(item));
        }
        std::vector<const SyncItem*> byComparison;
        for (const auto& item : plan)
            byComparison.push_back(item.get());
        std::stable_sort(
            byComparison.begin(), byComparison.end(),
            [](const SyncItem* a, const SyncItem* b) { return ComparePriority(a, b) < 0; });
        SortByPriority(plan);
        for (size_t i = 0; i < plan.size(); ++i)
            ASSERT_EQ(byComparison[i], plan[i].get()) << round << " row " << i;
    }
}

// What one side leaves out (a link, a misread name, case-only twins) is planned
// on neither side: the other side's files at and below that path are neither
// deleted nor overwritten, and the rest of the job runs.
TEST(SearchCore, LeftOutPathsAreProtectedOnBothSides) {
    const struct {
        const char *name, *newName;
        DWORD attributes;
        Texts leftOut;         // below the altered side's root
        const char* untouched; // in no planned row
    } cases[] = {
        {"sub", "", FILE_ATTRIBUTE_REPARSE_POINT, {"\\sub"}, "sub"},
        {"new.txt", "", FILE_ATTRIBUTE_REPARSE_POINT, {"\\new.txt"}, "new.txt"},
        {"new.txt", "new.txt.", 0, {"\\new.txt."}, "new.txt."},
        {"b.txt", "A.TXT", 0, {"\\a.txt", "\\A.TXT"}, "a.txt"}, // twins of a.txt, both named
    };
    for (const auto& c : cases) {
        for (int mode : {1, 2}) {
            for (bool onProcessing : {true, false}) {
                Search search(mode);
                std::vector<Node> tree = {{"a.txt", 5000}, {"b.txt", 5000}, {"new.txt", 5000},
                                          {"sub\\"},       {"sub\\x.txt"},  {"z.txt", 5000}};
                BuildTree(search.job.processingFolder, tree);
                for (Node& node : tree)
                    node.milliseconds = node.path == "z.txt" ? 0 : 9000;
                BuildTree(search.job.referenceFolder, tree);
                const std::string& side =
                    onProcessing ? search.job.processingFolder : search.job.referenceFolder;
                std::vector<std::string> leftOut;
                ASSERT_TRUE(
                    search.Run(AlteringFinder(c.name, c.attributes, c.newName, side), &leftOut));
                Texts expected;
                for (const std::string& path : c.leftOut)
                    expected.push_back(side + path);
                EXPECT_EQ(Sorted(expected), Sorted(leftOut)) << c.name;
                Texts planned = Describe(search.rows, search.dir.Path());
                for (const std::string& row : planned)
                    EXPECT_EQ(std::string::npos, row.find(c.untouched))
                        << c.name << " mode " << mode << ": " << row;
                // z.txt is newer in P, the rest in R: the one-way copy of the job still runs.
                EXPECT_FALSE(planned.empty()) << c.name << " mode " << mode;
            }
        }
    }
}

// A name the code page has no exact form for is planned like any other, under
// its own name (never a look-alike: café is not the real cafe.txt beside it,
// ..¥precious.doc is not the parent folder's precious.doc), and changes
// nothing else: the plan is that of the same folders without it plus its row.
TEST(SearchCore, NamesWithoutAnExactAnsiFormArePlannedUnderTheirOwnNames) {
    const struct {
        std::vector<std::wstring> odd;  // made on one side only
        std::vector<std::wstring> both; // made on both sides
        Texts planned;                  // the program's texts of the odd paths
    } cases[] = {
        {{L"caf\u00e9.txt"}, {}, {"caf<U+00E9>.txt"}},
        {{L"..\u00a5precious.doc"}, {}, {"..<U+00A5>precious.doc"}},
        {{L"\U0001F600.txt", L"sub\\\uD55C\uAD6D.txt"},
         {},
         {"<U+1F600>.txt", "sub\\<U+D55C><U+AD6D>.txt"}},
        {{}, {L"\uD55C\uAD6D\\", L"\uD55C\uAD6D\\a.txt"}, {}}, // the same on both sides
    };
    auto build = [](Search& search) {
        std::vector<Node> tree = {
            {"a.txt", 5000}, {"cafe.txt", 5000}, {"sub\\"}, {"sub\\x.txt"}, {"z.txt", 5000}};
        BuildTree(search.job.processingFolder, tree);
        for (Node& node : tree)
            node.milliseconds = node.path == "z.txt" ? 0 : 9000;
        tree.erase(tree.begin() + 1); // cafe.txt on the processing side only
        BuildTree(search.job.referenceFolder, tree);
        WriteFileBytes(search.dir / "precious.doc", "outside both folders");
    };
    for (const auto& c : cases) {
        for (int mode : {0, 1, 2}) {
            for (bool onProcessing : {true, false}) {
                Search search(mode), plain(mode);
                build(search);
                build(plain);
                const std::string& side =
                    onProcessing ? search.job.processingFolder : search.job.referenceFolder;
                for (const std::wstring& name : c.odd)
                    ASSERT_TRUE(MakeWidePath(side, name));
                for (const std::string& root :
                     {search.job.processingFolder, search.job.referenceFolder})
                    for (const std::wstring& name : c.both) {
                        ASSERT_TRUE(MakeWidePath(root, name));
                        // One time on both sides: the same file.
                        FileHandle file(
                            CreateFileW(WidePath(root + "\\" + TextFromWide(name)).c_str(),
                                        FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
                        FILETIME time = BaseTimePlus(0);
                        ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &time));
                    }

                std::vector<std::string> leftOut = {"stale"};
                ASSERT_TRUE(search.Run(SystemFileFinder(), &leftOut)) << search.message;
                ASSERT_TRUE(plain.Run());
                EXPECT_EQ(Texts{}, leftOut);
                // The odd side copies to the other one, or loses the entry
                // when the other side is the one kept up to date.
                Texts expected = Describe(plain.rows, plain.dir.Path());
                bool copies = mode == 0 || (mode == 2) == onProcessing;
                std::string from = onProcessing ? "P" : "R", to = onProcessing ? "R" : "P";
                for (const std::string& path : c.planned)
                    expected.push_back(copies ? "copy exist " + from + ">" + to + " " + from +
                                                    "\\" + path + " -> " + to + "\\" + path
                                              : "delete exist " + to + ">" + from + " " + from +
                                                    "\\" + path);
                EXPECT_EQ(Sorted(expected), Describe(search.rows, search.dir.Path()))
                    << "mode " << mode << (onProcessing ? " in P" : " in R");
            }
        }
    }
}
