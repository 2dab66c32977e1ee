// The order relative paths are sorted and matched in, and the texts a planned action shows.
#include "EngineTestKit.h"
#include "engine/CompareNoCase.h"
#include "engine/NameOrder.h"
#include "engine/PairMemory.h"
#include "engine/PathSet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

void Add(FolderListing& listing, const std::string& folder, const char* name, bool isFolder) {
    FoundRecord found;
    found.name = name;
    found.attributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    listing.Append(folder, found);
}

} // namespace

TEST(CompareNoCase, FoldsOnlySingleByteAsciiCapitals) {
    struct Case {
        const char *a, *b;
        int sign;
    } cases[] = {
        {"\\ABC.txt", "\\abc.TXT", 0},
        {"\\sub", "\\sub\\a.txt", -1}, // a prefix sorts first
        {"\\sub-x", "\\sub\\a", -1},
        {"\\a_b", "\\aZb", -1}, // Z folds above _
        {"Ａ", "ａ", -1},
        {"\x83\x41", "\x83\x61", -1},  // ア and ヂ: a second byte never folds
        {"右.txt", "影.txt", -1},      // 89 45 and 89 65
        {"\\表A.TXT", "\\表a.txt", 0}, // a capital after 表 (second byte 5C) folds
        {"表", "表ソ", -1},
        {"\xE0", "\x7F", 1}, // unsigned bytes
        {"", "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.sign, Sign(CompareNoCase(c.a, c.b))) << c.a << " vs " << c.b;
        EXPECT_EQ(-c.sign, Sign(CompareNoCase(std::string(c.b), std::string(c.a)))) << c.b;
        std::string a = c.a;
        for (size_t cut = 0; cut <= a.size(); ++cut) // any split of a gives the same order
            EXPECT_EQ(c.sign, Sign(CompareNoCaseJoined(a.substr(0, cut), a.substr(cut), c.b, "")));
    }
}

TEST(FolderListing, FindEntryMatchesIgnoringAsciiCase) {
    FolderListing listing("C:\\root");
    EXPECT_EQ(-1, listing.FindEntry("\\a.txt"));
    Add(listing, "\\sub\\", "x", false);
    Add(listing, "\\", "A.TXT", false);
    Add(listing, "\\", "sub", true);
    Add(listing, "\\", "表ソ.txt", false);
    listing.SortEntries();
    ASSERT_EQ((Texts{"\\A.TXT", "\\sub\\", "\\sub\\x", "\\表ソ.txt"}), ListingPaths(listing));
    struct Case {
        const char* key;
        int index;
    } cases[] = {{"\\a.txt", 0},  {"\\SUB", 1}, {"\\sub\\X", 2}, {"\\表ソ.TXT", 3},
                 {"\\sub\\", -1}, {"\\b", -1},  {"\\表", -1},    {"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.index, listing.FindEntry(c.key)) << c.key;
}

TEST(FolderListing, SortsSortedReversedRandomAndEqualKeys) {
    Texts names;
    char name[32];
    for (int i = 0; i < 20000; ++i) {
        std::snprintf(name, sizeof name, i % 2 ? "F%05d.txt" : "f%05d.TXT", i);
        names.push_back(name);
    }
    Texts shuffled = names;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    for (const Texts& order :
         {names, Texts(names.rbegin(), names.rend()), shuffled, Texts(20000, "same")}) {
        FolderListing listing("C:\\root");
        for (const std::string& text : order)
            Add(listing, "\\", text.c_str(), false);
        listing.SortEntries();
        Texts seen = ListingPaths(listing);
        for (size_t i = 1; i < seen.size(); ++i)
            ASSERT_LE(CompareNoCase(seen[i - 1], seen[i]), 0) << i;
        for (std::string& path : seen)
            path.erase(0, 1);
        EXPECT_EQ(Sorted(order), Sorted(seen)); // every entry still there, once
    }
}

// A sort that recursed once per entry on ordered input would overflow the stack here.
TEST(FolderListing, AMillionSortedEntriesSortWithinTheStack) {
    FolderListing listing("C:");
    char name[32];
    for (int i = 0; i < 1000000; ++i) {
        std::snprintf(name, sizeof name, "%07d", i);
        Add(listing, "\\", name, false);
    }
    listing.SortEntries();
    for (int i : {0, 1, 499999, 999999}) {
        std::snprintf(name, sizeof name, "\\%07d", i);
        EXPECT_EQ(i, listing.FindEntry(name));
    }
}

// The memory keeps records packed and settles their order lazily; whatever
// the order of puts, forgets and lookups (sweeps in key order move a cursor,
// others jump back), it answers as a map of keys would.
TEST(PairMemory, AnyOrderOfPutsForgetsAndLookupsAnswersAsAMap) {
    const char* parts[] = {"a", "A", "b", "表", "ソ", "a.txt", "B.TXT"};
    std::mt19937 random(7);
    auto randomPath = [&] {
        std::string path;
        for (int depth = 1 + static_cast<int>(random() % 3); depth > 0; --depth)
            path += std::string("\\") + parts[random() % std::size(parts)];
        return path;
    };
    for (int round = 0; round < 40; ++round) {
        PairMemory memory;
        std::map<std::string, std::pair<std::string, unsigned long long>> model; // by key
        for (int step = 0; step < 300; ++step) {
            const std::string path = randomPath();
            const std::string key = NameKey(path);
            const int what = static_cast<int>(random() % 10);
            if (what < 6) {
                RememberedEntry entry;
                entry.present = true;
                entry.size = random();
                memory.Put(key, path, entry);
                model[key] = {path, entry.size};
            } else if (what < 8) {
                memory.Forget(key);
                const std::string below = key + NameKey("\\");
                for (auto at = model.begin(); at != model.end();)
                    at = at->first == key || at->first.compare(0, below.size(), below) == 0
                             ? model.erase(at)
                             : std::next(at);
            } else if (what == 8) {
                auto found = memory.Find(key);
                auto expected = model.find(key);
                ASSERT_EQ(expected != model.end(), found.has_value()) << path;
                if (found) {
                    EXPECT_EQ(expected->second.second, found->size) << path;
                }
            } else {
                // A sweep in key order, with keys held and not held.
                std::map<std::string, bool> sweep;
                for (const auto& [held, record] : model)
                    sweep[held] = true;
                for (int extra = 0; extra < 20; ++extra)
                    sweep.emplace(NameKey(randomPath()), false);
                for (const auto& [sought, _] : sweep) {
                    auto found = memory.FindRecord(sought);
                    ASSERT_EQ(model.count(sought) != 0, found.has_value()) << round << "/" << step;
                    if (found) {
                        EXPECT_EQ(model[sought].first, found->relativePath);
                    }
                }
            }
        }
        ASSERT_EQ(model.size(), memory.Size()) << round;
        size_t index = 0;
        for (const auto& [key, record] : model) {
            EXPECT_EQ(record.first, memory.At(index).relativePath);
            EXPECT_EQ(record.second, memory.At(index).entry.size);
            ++index;
        }
    }
}

TEST(PathSet, CoversPathsAndWhatLiesBelowThemWholeFolderNamesOnly) {
    // 表 and ソ end in the byte 0x5C: that byte never cuts a folder name.
    PathSet kept({"\\a\\b", "\\表", "\\x\\ソ\\y.txt"});
    struct Row {
        const char* path;
        bool covered, holdsBelow;
    } const rows[] = {
        {"\\a\\b", true, false},    {"\\A\\B\\c.txt", true, false}, {"\\a\\bc", false, false},
        {"\\a", false, true},       {"\\表\\z", true, false},       {"\\表z", false, false},
        {"\\x\\ソ", false, true},   {"\\x", false, true},           {"\\x\\ソ\\y.txt", true, false},
        {"\\x\\ソz", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.covered, kept.Covers(row.path)) << row.path;
        EXPECT_EQ(row.holdsBelow, kept.HasBelow(row.path)) << row.path;
    }
}
