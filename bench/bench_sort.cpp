// SortEntries and FindEntry over a million entries in sorted, reversed and
// random order, against std::sort of the same keys with the same comparison.
#include "BenchSupport.h"
#include "engine/CompareNoCase.h"
#include "engine/FolderListing.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

const int kEntries = 1000000;

struct Key {
    std::string folder;
    std::string name;
    std::string path() const { return folder + name; }
};

// Paths shaped like a real tree: folders of a few hundred files, mixed letter case.
std::vector<Key> MakeKeys() {
    std::vector<Key> keys;
    keys.reserve(kEntries);
    char folder[64], name[64];
    for (int i = 0; i < kEntries; ++i) {
        std::snprintf(folder, sizeof folder, "\\Dir%03d\\sub%02d\\", i / 10000, i / 400 % 25);
        std::snprintf(name, sizeof name, i % 3 ? "file%06d.txt" : "FILE%06d.TXT", i);
        keys.push_back({folder, name});
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return CompareNoCaseJoined(a.folder, a.name, b.folder, b.name) < 0;
    });
    return keys;
}

void FillListing(FolderListing& listing, const std::vector<Key>& keys) {
    FoundRecord found;
    for (const Key& key : keys) {
        found.name = key.name;
        listing.Append(key.folder, found);
    }
}

double StdSortSeconds(const std::vector<Key>& keys) {
    std::vector<std::string> paths;
    paths.reserve(keys.size());
    for (const Key& key : keys)
        paths.push_back(key.path());
    Stopwatch watch;
    std::sort(paths.begin(), paths.end(),
              [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return watch.Seconds();
}

// Returns how many keys were not found.
int TimeLookups(const FolderListing& listing, const std::vector<std::string>& keys,
                double* seconds) {
    Stopwatch watch;
    int missing = 0;
    for (const std::string& key : keys)
        missing += listing.FindEntry(key) < 0;
    *seconds = watch.Seconds();
    return missing;
}

} // namespace

int main() {
    std::vector<Key> sorted = MakeKeys();
    std::vector<Key> reversed(sorted.rbegin(), sorted.rend());
    std::vector<Key> random = sorted;
    std::shuffle(random.begin(), random.end(), std::mt19937(12345));
    // Random lookups show the cost of cache misses; the comparison passes look
    // up in sorted order.
    std::vector<std::string> randomLookups, sortedLookups;
    for (const Key& key : random)
        randomLookups.push_back(key.path());
    for (const Key& key : sorted)
        sortedLookups.push_back(key.path());

    double baseline = StdSortSeconds(random);
    std::printf("entries: %d\n", kEntries);
    std::printf("std::sort of the path texts, random order: %.3f s (baseline)\n", baseline);
    std::printf("std::sort of the path texts, sorted order: %.3f s\n", StdSortSeconds(sorted));
    std::printf("std::sort of the path texts, reversed:     %.3f s\n", StdSortSeconds(reversed));

    struct Order {
        const char* name;
        const std::vector<Key>* keys;
    } orders[] = {{"sorted", &sorted}, {"reversed", &reversed}, {"random", &random}};
    std::printf("%-9s %12s %8s   FindEntry per lookup: %s\n", "order", "SortEntries", "ratio",
                "random keys / keys in order");
    for (const Order& order : orders) {
        FolderListing listing("C:\\bench");
        FillListing(listing, *order.keys);
        Stopwatch sortWatch;
        listing.SortEntries();
        double sortSeconds = sortWatch.Seconds();

        double randomSeconds = 0, sortedSeconds = 0;
        int missing = TimeLookups(listing, randomLookups, &randomSeconds) +
                      TimeLookups(listing, sortedLookups, &sortedSeconds);
        std::printf("%-9s %10.3f s %7.2fx   %6.0f ns / %4.0f ns%s\n", order.name, sortSeconds,
                    sortSeconds / baseline, randomSeconds / kEntries * 1e9,
                    sortedSeconds / kEntries * 1e9, missing ? "  (LOOKUPS FAILED)" : "");
    }
    return 0;
}
