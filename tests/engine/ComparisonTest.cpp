// What a job plans on real folders: the passes of each mode, the options, the
// time rules and the matching of names.
#include "EngineTestKit.h"
#include "TempDir.h"
#include "base/NameText.h"
#include "engine/NameOrder.h"
#include "engine/Comparison.h"
#include "engine/FileTimes.h"
#include "engine/SearchCore.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct JobCase {
    const char* name;
    int mode, deleteEnabled, bothSidesOnly, twoSecondTolerance;
    std::vector<Node> processing, reference;
    Texts expected;
    int detectMoves = 0;
    int compareContent = 0, ignoreHourShift = 0;
};

Texts Plan(const JobCase& c, RowCollector& rows) {
    TempDir dir;
    JobSettings job = MakeJob(dir.Path(), c.mode);
    job.deleteEnabled = c.deleteEnabled;
    job.bothSidesOnly = c.bothSidesOnly;
    job.twoSecondTolerance = c.twoSecondTolerance;
    job.detectMoves = c.detectMoves;
    job.compareContent = c.compareContent;
    job.ignoreHourShift = c.ignoreHourShift;
    BuildTree(job.processingFolder, c.processing);
    BuildTree(job.referenceFolder, c.reference);
    Texts include, exclude;
    FakeProgress progress;
    std::string message;
    EXPECT_TRUE(SearchAndCompare(job, include, exclude, progress, rows, message)) << c.name;
    EXPECT_EQ("", message);
    return Describe(rows, dir.Path());
}

Texts Plan(const JobCase& c) {
    RowCollector rows;
    return Plan(c, rows);
}

Texts Join(std::initializer_list<Texts> groups) {
    Texts all;
    for (const Texts& group : groups)
        all.insert(all.end(), group.begin(), group.end());
    return Sorted(all);
}

// clang-format off
const std::vector<Node> kProcessing = {
    {"newer_in_p.txt", 10000}, {"newer_in_r.txt"}, {"same.txt"}, {"only_p.txt"},
    {"only_p_dir\\"}, {"only_p_dir\\x.txt"}, {"both_dir\\"}, {"both_dir\\in.txt"}};
const std::vector<Node> kReference = {
    {"newer_in_p.txt"}, {"newer_in_r.txt", 10000}, {"same.txt"}, {"only_r.txt"},
    {"only_r_dir\\"}, {"only_r_dir\\y.txt"}, {"both_dir\\", 5000}, {"both_dir\\in.txt"}};
const Texts kDateFromR = {"copy date R>P R\\newer_in_r.txt -> P\\newer_in_r.txt",
                          "create exist R>P R\\only_r_dir -> P\\only_r_dir"};
const Texts kExistFromR = {"copy exist R>P R\\only_r.txt -> P\\only_r.txt",
                           "copy exist R>P R\\only_r_dir\\y.txt -> P\\only_r_dir\\y.txt"};
const Texts kDateFromP = {"copy date P>R P\\newer_in_p.txt -> R\\newer_in_p.txt",
                          "create exist P>R P\\only_p_dir -> R\\only_p_dir"};
const Texts kExistFromP = {"copy exist P>R P\\only_p.txt -> R\\only_p.txt",
                           "copy exist P>R P\\only_p_dir\\x.txt -> R\\only_p_dir\\x.txt"};
const Texts kDeleteFolderInP = {"delete exist R>P P\\only_p_dir"};
const Texts kDeleteFilesInP = {"delete exist R>P P\\only_p.txt", "delete exist R>P P\\only_p_dir\\x.txt"};
const Texts kDeleteFolderInR = {"delete exist P>R R\\only_r_dir"};
const Texts kDeleteFilesInR = {"delete exist P>R R\\only_r.txt", "delete exist P>R R\\only_r_dir\\y.txt"};
// clang-format on

} // namespace

TEST(Comparison, ModesPlanTheirPassesInTheirDirections) {
    // clang-format off
    const JobCase cases[] = {
        {"mode 0 never deletes", 0, 1, 0, 0, kProcessing, kReference,
         Join({kDateFromR, kExistFromR, kDateFromP, kExistFromP})},
        {"mode 1", 1, 1, 0, 0, kProcessing, kReference,
         Join({kDateFromR, kExistFromR, kDeleteFolderInP, kDeleteFilesInP})},
        {"mode 1 without deletions", 1, 0, 0, 0, kProcessing, kReference, Join({kDateFromR, kExistFromR})},
        {"mode 2", 2, 1, 0, 0, kProcessing, kReference,
         Join({kDateFromP, kExistFromP, kDeleteFolderInR, kDeleteFilesInR})},
        {"mode 2 without deletions", 2, 0, 0, 0, kProcessing, kReference, Join({kDateFromP, kExistFromP})},
        {"mode 0, both sides only", 0, 1, 1, 0, kProcessing, kReference, Join({kDateFromR, kDateFromP})},
        {"mode 1, both sides only", 1, 1, 1, 0, kProcessing, kReference, Join({kDateFromR, kDeleteFolderInP})},
        {"mode 2, both sides only", 2, 1, 1, 0, kProcessing, kReference, Join({kDateFromP, kDeleteFolderInR})},
        {"mode 3", 3, 1, 0, 0, kProcessing, kReference, {}},
        {"mode -1", -1, 1, 0, 0, kProcessing, kReference, {}},
    };
    // clang-format on
    for (const JobCase& c : cases)
        EXPECT_EQ(c.expected, Plan(c)) << c.name;
}

// A deletion and a copy on one side are one rename only when that is proved:
// a folder whose whole tree came along, or a file of one size, time and
// content that nothing else going or coming shares (or, among alike files,
// the only one of its name). Anything less stays a deletion and a copy.
TEST(Comparison, MovesAreRenamesOnlyWhenProved) {
    // clang-format off
    const JobCase cases[] = {
        {"a renamed file", 2, 1, 0, 0, {{"new.txt", 0, "x"}}, {{"old.txt", 0, "x"}},
         {"move same P>R R\\old.txt -> R\\new.txt"}, 1},
        {"the same, moves not asked for", 2, 1, 0, 0, {{"new.txt", 0, "x"}}, {{"old.txt", 0, "x"}},
         {"copy exist P>R P\\new.txt -> R\\new.txt", "delete exist P>R R\\old.txt"}, 0},
        {"a file moved to another folder", 2, 1, 0, 0, {{"a\\"}, {"b\\"}, {"b\\表.txt", 0, "f"}},
         {{"a\\"}, {"a\\表.txt", 0, "f"}, {"b\\"}},
         {"move same P>R R\\a\\表.txt -> R\\b\\表.txt"}, 1},
        {"a renamed folder is one row", 1, 1, 0, 0,
         {{"photos\\"}, {"photos\\1.jpg", 0, "1"}, {"photos\\ソ\\"}, {"photos\\ソ\\2.jpg", 0, "2"}},
         {{"写真\\"}, {"写真\\1.jpg", 0, "1"}, {"写真\\ソ\\"}, {"写真\\ソ\\2.jpg", 0, "2"}},
         {"move same R>P P\\photos -> P\\写真"}, 1},
        {"a renamed folder with a file changed in it moves file by file", 2, 1, 0, 0,
         {{"n\\"}, {"n\\1.jpg", 0, "1"}, {"n\\2.jpg", 5000, "2"}},
         {{"o\\"}, {"o\\1.jpg", 0, "1"}, {"o\\2.jpg", 0, "2"}},
         {"copy exist P>R P\\n\\2.jpg -> R\\n\\2.jpg", "create exist P>R P\\n -> R\\n",
          "delete exist P>R R\\o\\2.jpg", "delete movedout P>R R\\o",
          "move same P>R R\\o\\1.jpg -> R\\n\\1.jpg"}, 1},
        {"two different files of one size and time", 2, 1, 0, 0, {{"b.txt", 0, "xy"}}, {{"a.txt", 0, "yx"}},
         {"copy exist P>R P\\b.txt -> R\\b.txt", "delete exist P>R R\\a.txt"}, 1},
        {"alike files: each the only one of its name", 2, 1, 0, 0, {{"x.txt", 0, "1"}, {"y.txt", 0, "1"}},
         {{"sub\\"}, {"sub\\x.txt", 0, "1"}, {"sub\\y.txt", 0, "1"}},
         {"delete movedout P>R R\\sub", "move same P>R R\\sub\\x.txt -> R\\x.txt",
          "move same P>R R\\sub\\y.txt -> R\\y.txt"}, 1},
        {"alike files of other names: no proof which is which", 2, 1, 0, 0,
         {{"p.txt", 0, "1"}, {"q.txt", 0, "1"}}, {{"r.txt", 0, "1"}, {"s.txt", 0, "1"}},
         {"copy exist P>R P\\p.txt -> R\\p.txt", "copy exist P>R P\\q.txt -> R\\q.txt",
          "delete exist P>R R\\r.txt", "delete exist P>R R\\s.txt"}, 1},
        {"a rename in case only, file and folder", 2, 0, 0, 0, {{"DIR\\"}, {"DIR\\NAME.txt"}},
         {{"dir\\"}, {"dir\\Name.txt", 0, "DIR\\NAME.txt"}},
         {"move case P>R R\\dir -> R\\DIR", "move case P>R R\\dir\\Name.txt -> R\\DIR\\NAME.txt"}, 0},
    };
    // clang-format on
    for (const JobCase& c : cases)
        EXPECT_EQ(Sorted(c.expected), Plan(c)) << c.name;
}

TEST(Comparison, TimesAndNamesDecideWhatIsNewer) {
    const char* copyA = "copy date R>P R\\a.txt -> P\\a.txt";
    // clang-format off
    const JobCase cases[] = {
        {"2.1 s minus 0.9 s: 2 whole seconds", 0, 0, 0, 1, {{"a.txt", 900}}, {{"a.txt", 2100}}, {}},
        {"3.0 s minus 0.9 s: 3 whole seconds", 0, 0, 0, 1, {{"a.txt", 900}}, {{"a.txt", 3000}}, {copyA}},
        {"2.001 s apart: 3 whole seconds", 0, 0, 0, 1, {{"a.txt", 999}}, {{"a.txt", 3000}}, {copyA}},
        {"2.999 s apart: 2 whole seconds", 0, 0, 0, 1, {{"a.txt", 0}}, {{"a.txt", 2999}}, {}},
        {"exact: a millisecond is newer", 0, 0, 0, 0, {{"a.txt", 900}}, {{"a.txt", 901}}, {copyA}},
        {"equal times", 0, 0, 0, 0, {{"a.txt", 5}}, {{"a.txt", 5}}, {}},
        {"equal times, tolerance", 0, 0, 0, 1, {{"a.txt", 5}}, {{"a.txt", 5}}, {}},
        {"mode 1 ignores a newer processing file", 1, 1, 0, 0, {{"a.txt", 9000}}, {{"a.txt"}}, {}},
        // Which side made a file of a folder only a memory tells: for the user.
        {"a file against a folder, two ways", 0, 0, 0, 0, {{"x", 10000}}, {{"x\\"}}, {"conflict kind P>R P\\x"}},
        // The supplying side's file wins, however old: the folder goes first.
        {"a file against a folder, one way", 1, 1, 0, 0, {{"x\\", 10000}}, {{"x"}},
         {"delete kind R>P P\\x", "copy exist R>P R\\x -> P\\x"}},
        {"a folder against a file, one way", 2, 0, 0, 0, {{"x\\"}, {"x\\in.txt"}}, {{"x", 10000}},
         {"delete kind P>R R\\x", "create exist P>R P\\x -> R\\x", "copy exist P>R P\\x\\in.txt -> R\\x\\in.txt"}},
        {"a file against a folder, one way, no deletions", 1, 0, 0, 0, {{"x\\"}}, {{"x"}}, {}},
        {"case-only difference: renamed, and the date copy keeps the changing side's name", 1, 1, 0, 0,
         {{"Dir\\"}, {"Dir\\Readme.TXT"}}, {{"DIR\\"}, {"DIR\\README.txt", 10000}},
         {"copy date R>P R\\DIR\\README.txt -> P\\Dir\\Readme.TXT", "move case R>P P\\Dir -> P\\DIR"}},
        {"Shift-JIS names", 1, 1, 0, 0,
         {{"能\\"}, {"能\\表.txt"}, {"表ソ\\"}, {"表ソ\\能.ソ"}},
         {{"表ソ\\"}, {"表ソ\\能.ソ", 10000}, {"ソ\\"}, {"ソ\\表.能"}},
         {"copy date R>P R\\表ソ\\能.ソ -> P\\表ソ\\能.ソ", "create exist R>P R\\ソ -> P\\ソ",
          "copy exist R>P R\\ソ\\表.能 -> P\\ソ\\表.能", "delete exist R>P P\\能",
          "delete exist R>P P\\能\\表.txt"}},
        {"names whose second bytes differ only by 0x20 are different files", 2, 1, 0, 0,
         {{"右.txt", 9000}}, {{"影.txt"}},
         {"copy exist P>R P\\右.txt -> R\\右.txt", "delete exist P>R R\\影.txt"}},
    };
    // clang-format on
    for (const JobCase& c : cases)
        EXPECT_EQ(Sorted(c.expected), Plan(c)) << c.name;
}

// Times that lie: files whose bytes are equal are left alone when content is
// compared, and a shift of exactly one hour is no change when asked for.
TEST(Comparison, ContentAndHourShiftOverruleTimesOnlyWhenAsked) {
    const char* copyA = "copy date R>P R\\a.txt -> P\\a.txt";
    const long long hour = 3600 * 1000;
    // clang-format off
    const JobCase cases[] = {
        {"touched, one way", 1, 1, 0, 0, {{"a.txt", 0, "abcd"}}, {{"a.txt", 9000, "abcd"}}, {}, 0, 1},
        {"touched, two ways", 0, 0, 0, 0, {{"a.txt", 9000, "abcd"}}, {{"a.txt", 0, "abcd"}}, {}, 0, 1},
        {"touched, content not compared", 1, 1, 0, 0, {{"a.txt", 0, "abcd"}}, {{"a.txt", 9000, "abcd"}},
         {copyA}},
        {"one byte changed among alike files", 1, 1, 0, 0,
         {{"a.txt", 0, "abcd"}, {"表\\"}, {"表\\b.txt", 0, "abcd"}},
         {{"a.txt", 9000, "abXd"}, {"表\\"}, {"表\\b.txt", 9000, "abcd"}}, {copyA}, 0, 1},
        {"other sizes are not read", 1, 1, 0, 0, {{"a.txt", 0, "abc"}}, {{"a.txt", 9000, "abcd"}},
         {copyA}, 0, 1},
        {"an hour later", 1, 1, 0, 0, {{"a.txt", 0}}, {{"a.txt", hour}}, {}, 0, 0, 1},
        {"an hour earlier, two ways", 0, 0, 0, 0, {{"a.txt", hour}}, {{"a.txt", 0}}, {}, 0, 0, 1},
        {"an hour and 2 s, tolerance", 1, 1, 0, 1, {{"a.txt", 0}}, {{"a.txt", hour + 2000}}, {}, 0, 0, 1},
        {"an hour and 1 ms, exact", 1, 1, 0, 0, {{"a.txt", 0}}, {{"a.txt", hour + 1}}, {copyA}, 0, 0, 1},
        {"two hours", 1, 1, 0, 1, {{"a.txt", 0}}, {{"a.txt", 2 * hour}}, {copyA}, 0, 0, 1},
        {"an hour, shift not asked for", 1, 1, 0, 1, {{"a.txt", 0}}, {{"a.txt", hour}}, {copyA}},
    };
    // clang-format on
    for (const JobCase& c : cases)
        EXPECT_EQ(Sorted(c.expected), Plan(c)) << c.name;
}

TEST(Comparison, ItemsCarryWholeEntriesAndPassPositions) {
    RowCollector rows;
    JobCase c = {"", 0, 0, 0, 0, {{"old.txt"}, {"only.txt"}}, {{"OLD.txt", 7000}, {"b"}, {"c"}},
                 {}};
    Plan(c, rows);
    ASSERT_EQ(4u, rows.items.size());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), rows.positions); // each pass counts from 0
    const SyncItem& date = *rows.items[2];                     // \OLD.txt sorts after \b and \c
    EXPECT_EQ("OLD.txt", date.subject.name);
    EXPECT_EQ("old.txt", date.counterpart.name);
    FILETIME older = BaseTimePlus(0);
    EXPECT_EQ(0, CompareFileTime(&older, &date.counterpart.lastWriteTime));
    const FileEntry& missing = rows.items[3]->counterpart; // only the root of the other side
    EXPECT_EQ("", missing.relativeFolder + missing.name);
    EXPECT_EQ(0u, missing.attributes | missing.sizeLow | missing.lastWriteTime.dwHighDateTime);
}

// Times the seconds conversion cannot take are compared exactly, never abnormally.
TEST(FileTimes, OutsideTheConversionRangeFallsBackToExact) {
    struct Case {
        FILETIME later;
        bool newerWithTolerance;
    } cases[] = {
        {UtcFileTime(1601, 1, 2, 0, 0, 0), true},
        {UtcFileTime(1969, 12, 31, 10, 0, 0), true},  // 19:00 local, still 1969
        {UtcFileTime(1969, 12, 31, 16, 0, 0), false}, // 1970-01-01 01:00 local
        {UtcFileTime(3000, 12, 31, 14, 0, 0), false}, // 23:00 local
        {UtcFileTime(3000, 12, 31, 16, 0, 0), true},  // 3001 local
        {{0xFFFFFFFF, 0x7FFFFFFF}, true},
        {{0xFFFFFFFF, 0xFFFFFFFF}, true}, // not a time at all
    };
    for (const Case& c : cases) {
        FILETIME earlier = AddTicks(c.later, -10000000); // one second before
        EXPECT_EQ(c.newerWithTolerance, IsNewer(c.later, earlier, true)) << c.later.dwHighDateTime;
        EXPECT_TRUE(IsNewer(c.later, earlier, false));
        EXPECT_FALSE(IsNewer(earlier, c.later, true));
    }
}

// Windows' rule for names, drawn at random from ASCII, full-width Latin, Greek,
// Cyrillic, kana and kanji whose second bytes are ASCII capitals, small letters
// or 0x5C (ア 83 41, ヂ 83 61, ソ 83 5C, 表 95 5C, 右/影 with 45/65), and
// characters without a Shift-JIS form: combining marks (U+3099, U+0301) and
// their precomposed forms. Each piece has two spellings that are one file to
// Windows (case, NFC and NFD); the two sides use either. The sort, the lookup
// and the equality must agree with each other and with CompareStringOrdinal on
// the NFC forms, or files on both sides look one-sided and twins go unnoticed.
TEST(FolderListing, SortLookupAndEqualityFollowWindowsRule) {
    const struct {
        const char* one;
        const char* other;
    } pieces[] = {{"ア", "ア"},
                  {"ヂ", "ヂ"},
                  {"ソ", "ソ"},
                  {"表", "表"},
                  {"右", "右"},
                  {"影", "影"},
                  {"能", "能"},
                  {"A", "a"},
                  {"Z", "z"},
                  {"_", "_"},
                  {".", "."},
                  {"Ａ", "ａ"},
                  {"Σ", "σ"},
                  {"Ω", "ω"},
                  {"Д", "д"},
                  {"Я", "я"},
                  {"ガ", "カ<U+3099>"},
                  {"パ", "ハ<U+309A>"},
                  {"<U+00E9>", "e<U+0301>"},
                  {"<U+00C9>", "E<U+0301>"},
                  {"<U+00E9>", "<U+00C9>"},
                  {"<U+AC00>", "<U+1100><U+1161>"}};
    auto nfc = [](const std::string& text) {
        std::wstring wide = WideFromText(text);
        std::wstring out(wide.size() * 3 + 8, L'\0');
        int length = NormalizeString(NormalizationC, wide.c_str(), static_cast<int>(wide.size()),
                                     out.data(), static_cast<int>(out.size()));
        out.resize(length > 0 ? static_cast<size_t>(length) : 0);
        return out;
    };
    auto windowsOrder = [&](const std::string& a, const std::string& b) {
        std::wstring left = nfc(a), right = nfc(b);
        return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                    static_cast<int>(right.size()), TRUE) -
               CSTR_EQUAL;
    };
    auto sign = [](int value) { return (value > 0) - (value < 0); };
    std::mt19937 random(12);
    for (int round = 0; round < 8; ++round) {
        // Distinct names, each with its two spellings; a few folders with names inside.
        struct Path {
            std::string folder[2]; // relative folder in each spelling
            std::string name[2];
        };
        std::vector<Path> paths;
        std::vector<size_t> folders = {SIZE_MAX}; // SIZE_MAX: the root
        while (paths.size() < 400) {
            size_t parent = folders[random() % folders.size()];
            Path path;
            for (int side : {0, 1})
                path.folder[side] = parent == SIZE_MAX ? "\\"
                                                       : paths[parent].folder[side] +
                                                             paths[parent].name[side] + "\\";
            for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
                const auto& piece = pieces[random() % std::size(pieces)];
                bool swap = random() % 2 == 0;
                path.name[0] += swap ? piece.other : piece.one;
                path.name[1] += random() % 2 == 0 ? piece.other : piece.one;
            }
            // The two spellings are one file to Windows, and to the program.
            ASSERT_EQ(0,
                      windowsOrder(path.folder[0] + path.name[0], path.folder[1] + path.name[1]));
            ASSERT_EQ(
                0, CompareNamesJoined(path.folder[0], path.name[0], path.folder[1], path.name[1]));
            bool taken = false;
            for (const Path& other : paths) {
                int order = CompareNamesJoined(other.folder[0], other.name[0], path.folder[0],
                                               path.name[0]);
                ASSERT_EQ(sign(windowsOrder(other.folder[0] + other.name[0],
                                            path.folder[0] + path.name[0])),
                          sign(order))
                    << other.folder[0] + other.name[0] << " / " << path.folder[0] + path.name[0];
                taken = taken || order == 0;
            }
            if (taken)
                continue;
            paths.push_back(path);
            if (random() % 8 == 0 && path.folder[0].size() < 40)
                folders.push_back(paths.size() - 1);
        }
        FILETIME time = BaseTimePlus(0);
        auto fill = [&](FolderListing& listing, int side) {
            std::shuffle(paths.begin(), paths.end(), random);
            for (const Path& path : paths) {
                FoundRecord found;
                found.name = path.name[side];
                found.lastWriteTime = time;
                listing.Append(path.folder[side], found);
            }
            listing.SortEntries();
        };
        FolderListing processing("P"), reference("R");
        fill(processing, 0);
        fill(reference, 1);
        for (size_t i = 1; i < processing.Size(); ++i) {
            ASSERT_LT(CompareNames(processing[i - 1].RelativePath(), processing[i].RelativePath()),
                      0)
                << round << ": " << processing[i - 1].RelativePath() << " / "
                << processing[i].RelativePath();
            ASSERT_LT(windowsOrder(processing[i - 1].RelativePath(), processing[i].RelativePath()),
                      0);
        }
        for (size_t i = 0; i < reference.Size(); ++i)
            ASSERT_EQ(static_cast<int>(i), reference.FindEntry(reference[i].RelativePath()));
        for (int mode : {0, 1, 2}) {
            JobSettings job;
            job.mode = mode;
            job.deleteEnabled = 1;
            FakeProgress progress;
            RowCollector rows;
            ASSERT_TRUE(Comparison(job, progress, rows).RunPasses(processing, reference));
            // Nothing to copy or delete; one way, a name in another case is renamed.
            for (const auto& item : rows.items)
                ASSERT_TRUE(mode != 0 && item->operation == Move && item->reason == NameCase)
                    << "one tree in two spellings, mode " << mode << ", round " << round << ": "
                    << item->SourcePath();
        }
        // One folder holding both spellings of a name: both are twins.
        FolderListing twins("T");
        for (int side : {0, 1}) {
            FoundRecord found;
            found.name = paths[0].name[side];
            twins.Append("\\", found);
        }
        twins.SortEntries();
        twins.LeaveOutTwins();
        if (paths[0].name[0] != paths[0].name[1]) {
            EXPECT_EQ(0u, twins.Size()) << paths[0].name[0];
            EXPECT_EQ(Sorted(Texts{"\\" + paths[0].name[0], "\\" + paths[0].name[1]}),
                      Sorted(twins.LeftOut()));
        }
    }
}
