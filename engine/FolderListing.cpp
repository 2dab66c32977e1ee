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

// Plain byte order of two keys, a key that is a prefix of the other first.
int CompareKeys(std::string_view a, std::string_view b) {
    int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// The index of `count` sorted places at which orderAt (the place's order against
// the one sought) gives 0, found by bisection; -1 when there is none.
template <typename OrderAt> int Bisect(int count, OrderAt orderAt) {
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int order = orderAt(middle);
        if (order == 0)
            return middle;
        if (order > 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

} // namespace

void FolderListing::Append(FileEntry&& entry) {
    records_.push_back(std::move(entry));
    entries_.push_back(&records_.back());
    // A new entry has no key: the listing is unsorted until SortEntries.
    keyRefs_.clear();
    keys_.clear();
}

void FolderListing::SortEntries() {
    size_t total = 0;
    for (const FileEntry* entry : entries_)
        total += entry->relativeFolder.size() + entry->name.size();
    keys_.clear();
    keys_.reserve(total);
    std::vector<uint32_t> ends;
    ends.reserve(entries_.size());
    for (const FileEntry* entry : entries_) {
        AppendNameKey(keys_, entry->relativeFolder, entry->name);
        ends.push_back(static_cast<uint32_t>(keys_.size()));
    }
    keys_.shrink_to_fit();

    // Pointers into the buffer only once it has stopped growing.
    std::vector<SortKey> keys(entries_.size());
    const unsigned char* base = reinterpret_cast<const unsigned char*>(keys_.data());
    uint32_t start = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        keys[i] = SortKey{base + start, ends[i] - start, entries_[i]};
        start = ends[i];
    }
    std::vector<uint32_t>().swap(ends);

    // Listings often arrive in order already; std::sort is an introsort, so
    // neither sorted, reversed nor equal keys make it quadratic or deep.
    if (!std::is_sorted(keys.begin(), keys.end(), KeyLess))
        std::sort(keys.begin(), keys.end(), KeyLess);
    keyRefs_.resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        entries_[i] = keys[i].entry;
        keyRefs_[i] = KeyRef{static_cast<uint32_t>(keys[i].bytes - base),
                             static_cast<uint32_t>(keys[i].length)};
    }
}

std::string_view FolderListing::KeyAt(size_t index) const {
    return std::string_view(keys_).substr(keyRefs_[index].start, keyRefs_[index].length);
}

int FolderListing::FindKey(std::string_view key, size_t hint) const {
    if (hint < keyRefs_.size() && KeyAt(hint) == key)
        return static_cast<int>(hint);
    return Bisect(static_cast<int>(keyRefs_.size()),
                  [&](int middle) { return CompareKeys(KeyAt(static_cast<size_t>(middle)), key); });
}

int FolderListing::FindEntry(const std::string& relativePath, size_t hint) const {
    if (HasKeys())
        return FindKey(NameKey(relativePath), hint);
    // Not sorted through SortEntries (a listing of tests): the same order, key by key.
    if (hint < entries_.size()) {
        const FileEntry& entry = *entries_[hint];
        if (CompareNamesJoined(entry.relativeFolder, entry.name, relativePath,
                               std::string_view()) == 0)
            return static_cast<int>(hint);
    }
    return Bisect(static_cast<int>(entries_.size()), [&](int middle) {
        const FileEntry& entry = *entries_[middle];
        return CompareNamesJoined(entry.relativeFolder, entry.name, relativePath,
                                  std::string_view());
    });
}

int FolderListing::FindEntry(const std::string& relativePath) const {
    return FindEntry(relativePath, entries_.size());
}

void FolderListing::KeepOnly(const std::vector<bool>& keep) {
    size_t to = 0;
    for (size_t from = 0; from < entries_.size(); ++from) {
        if (!keep[from])
            continue;
        entries_[to] = entries_[from];
        if (HasKeys())
            keyRefs_[to] = keyRefs_[from];
        ++to;
    }
    entries_.resize(to);
    if (!keyRefs_.empty())
        keyRefs_.resize(to);
}

void FolderListing::LeaveOutTwins() {
    auto same = [&](size_t a, size_t b) {
        if (HasKeys())
            return KeyAt(a) == KeyAt(b);
        return CompareNamesJoined(entries_[a]->relativeFolder, entries_[a]->name,
                                  entries_[b]->relativeFolder, entries_[b]->name) == 0;
    };
    std::vector<bool> keep(entries_.size(), true);
    for (size_t i = 0; i < entries_.size();) {
        size_t end = i + 1;
        while (end < entries_.size() && same(i, end))
            ++end;
        if (end - i > 1) {
            // Each under its own spelling, so the report names both files.
            for (size_t twin = i; twin < end; ++twin) {
                LeaveOut(entries_[twin]->RelativePath());
                keep[twin] = false;
            }
        }
        i = end;
    }
    KeepOnly(keep);
}

void FolderListing::RemoveCovered(const std::vector<std::string>& relativePaths) {
    if (relativePaths.empty())
        return;
    PathSet covering(relativePaths);
    std::vector<bool> keep(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i)
        keep[i] = !covering.Covers(entries_[i]->RelativePath());
    KeepOnly(keep);
}
