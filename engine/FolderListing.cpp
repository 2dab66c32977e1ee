#include "engine/FolderListing.h"

#include "engine/NameOrder.h"
#include "engine/PathSet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// One entry with its relative path already folded, so the sort compares plain bytes.
struct SortKey {
    const unsigned char* bytes;
    size_t length;
    FileEntry* entry;
};

// Unsigned lexicographic order of keys made by AppendNameKey, which is
// CompareNames order: the lookup bisects with CompareNamesJoined over this order.
// Eight bytes at a time: sibling paths share long folder prefixes.
bool KeyLess(const SortKey& a, const SortKey& b) {
    size_t common = std::min(a.length, b.length);
    size_t i = 0;
    for (; i + 8 <= common; i += 8) {
        uint64_t left, right;
        std::memcpy(&left, a.bytes + i, 8);
        std::memcpy(&right, b.bytes + i, 8);
        if (left != right)
            return __builtin_bswap64(left) < __builtin_bswap64(right);
    }
    for (; i < common; ++i) {
        if (a.bytes[i] != b.bytes[i])
            return a.bytes[i] < b.bytes[i];
    }
    return a.length < b.length;
}

int CompareEntries(const FileEntry& a, const FileEntry& b) {
    return CompareNamesJoined(a.relativeFolder, a.name, b.relativeFolder, b.name);
}

} // namespace

void FolderListing::Append(FileEntry&& entry) {
    records_.push_back(std::move(entry));
    entries_.push_back(&records_.back());
}

void FolderListing::SortEntries() {
    if (entries_.size() < 2)
        return;

    size_t total = 0;
    for (const FileEntry* entry : entries_)
        total += entry->relativeFolder.size() + entry->name.size();
    std::string folded;
    folded.reserve(total);
    std::vector<size_t> ends;
    ends.reserve(entries_.size());
    for (const FileEntry* entry : entries_) {
        AppendNameKey(folded, entry->relativeFolder, entry->name);
        ends.push_back(folded.size());
    }

    // Pointers into the buffer only once it has stopped growing.
    std::vector<SortKey> keys(entries_.size());
    const unsigned char* base = reinterpret_cast<const unsigned char*>(folded.data());
    size_t start = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        keys[i] = SortKey{base + start, ends[i] - start, entries_[i]};
        start = ends[i];
    }
    std::vector<size_t>().swap(ends);

    // Listings often arrive in order already; std::sort is an introsort, so
    // neither sorted, reversed nor equal keys make it quadratic or deep.
    if (std::is_sorted(keys.begin(), keys.end(), KeyLess))
        return;
    std::sort(keys.begin(), keys.end(), KeyLess);
    for (size_t i = 0; i < keys.size(); ++i)
        entries_[i] = keys[i].entry;
}

int FolderListing::FindEntry(const std::string& relativePath) const {
    int low = 0;
    int high = static_cast<int>(entries_.size()) - 1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        const FileEntry& entry = *entries_[middle];
        int order =
            CompareNamesJoined(entry.relativeFolder, entry.name, relativePath, std::string_view());
        if (order == 0)
            return middle;
        if (order > 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

int FolderListing::FindEntry(const std::string& relativePath, size_t hint) const {
    if (hint < entries_.size()) {
        const FileEntry& entry = *entries_[hint];
        if (CompareNamesJoined(entry.relativeFolder, entry.name, relativePath,
                               std::string_view()) == 0)
            return static_cast<int>(hint);
    }
    return FindEntry(relativePath);
}

void FolderListing::LeaveOutTwins() {
    std::vector<FileEntry*> kept;
    kept.reserve(entries_.size());
    for (size_t i = 0; i < entries_.size();) {
        size_t end = i + 1;
        while (end < entries_.size() && CompareEntries(*entries_[i], *entries_[end]) == 0)
            ++end;
        if (end - i == 1)
            kept.push_back(entries_[i]);
        else // each under its own spelling, so the report names both files
            for (size_t twin = i; twin < end; ++twin)
                LeaveOut(entries_[twin]->RelativePath());
        i = end;
    }
    entries_.swap(kept);
}

void FolderListing::RemoveCovered(const std::vector<std::string>& relativePaths) {
    if (relativePaths.empty())
        return;
    PathSet covering(relativePaths);
    auto covered = [&](const FileEntry* entry) { return covering.Covers(entry->RelativePath()); };
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), covered), entries_.end());
}
