#include "engine/FolderListing.h"

#include "engine/NameOrder.h"
#include "engine/PathSet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// One entry's key, so the sort compares plain bytes.
struct SortKey {
    const unsigned char* bytes;
    uint32_t length;
    uint32_t record;
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

std::string ListedEntry::RelativePath() const {
    std::string path;
    path.reserve(relativeFolder.size() + name.size());
    path += relativeFolder;
    path += name;
    return path;
}

std::string ListedEntry::FullPath() const {
    std::string path;
    path.reserve(rootFolder.size() + relativeFolder.size() + name.size());
    path += rootFolder;
    path += relativeFolder;
    path += name;
    return path;
}

FileEntry ListedEntry::Owned() const {
    FileEntry entry;
    entry.rootFolder = rootFolder;
    entry.relativeFolder = relativeFolder;
    entry.name = name;
    entry.attributes = attributes;
    entry.lastWriteTime = lastWriteTime;
    entry.sizeHigh = static_cast<DWORD>(size >> 32);
    entry.sizeLow = static_cast<DWORD>(size);
    return entry;
}

ListedEntry FolderListing::operator[](size_t index) const {
    const Record& record = records_[order_[index]];
    ListedEntry entry;
    entry.rootFolder = rootFolder_;
    entry.relativeFolder = *folders_[record.folder];
    entry.name = NameOf(record);
    entry.attributes = record.attributes;
    entry.lastWriteTime = record.lastWriteTime;
    entry.size = record.size;
    return entry;
}

uint32_t FolderListing::FolderIndex(const std::string& relativeFolder) {
    // The scan appends a folder's entries together, apart from its subfolders' trees.
    if (lastFolder_ != UINT32_MAX && *folders_[lastFolder_] == relativeFolder)
        return lastFolder_;
    auto known = folderIndex_.find(relativeFolder);
    if (known != folderIndex_.end())
        return lastFolder_ = known->second;
    folders_.push_back(std::make_unique<std::string>(relativeFolder));
    lastFolder_ = static_cast<uint32_t>(folders_.size() - 1);
    folderIndex_.emplace(*folders_.back(), lastFolder_);
    return lastFolder_;
}

void FolderListing::Append(const std::string& relativeFolder, const FoundRecord& found) {
    // No file system names a file with more than a few thousand bytes of our text;
    // a longer one is not held rather than held cut short.
    if (found.name.size() > UINT16_MAX) {
        LeaveOut(relativeFolder + found.name);
        return;
    }
    Record& record = records_.emplace_back();
    record.folder = FolderIndex(relativeFolder);
    record.name = names_.Store(found.name);
    record.nameLength = static_cast<uint16_t>(found.name.size());
    record.attributes = found.attributes;
    record.lastWriteTime = found.lastWriteTime;
    record.size = (static_cast<unsigned long long>(found.sizeHigh) << 32) | found.sizeLow;
    order_.push_back(static_cast<uint32_t>(records_.size() - 1));
    // A new entry has no key: the listing is unsorted until SortEntries.
    keyRefs_.clear();
    keys_.clear();
}

void FolderListing::SortEntries() {
    size_t total = 0;
    for (uint32_t index : order_) {
        const Record& record = records_[index];
        total += folders_[record.folder]->size() + record.nameLength;
    }
    keys_.clear();
    keys_.reserve(total);
    keyRefs_.resize(order_.size());
    for (size_t i = 0; i < order_.size(); ++i) {
        const Record& record = records_[order_[i]];
        uint32_t start = static_cast<uint32_t>(keys_.size());
        AppendNameKey(keys_, *folders_[record.folder], NameOf(record));
        keyRefs_[i] = KeyRef{start, static_cast<uint32_t>(keys_.size() - start)};
    }
    keys_.shrink_to_fit();

    // Pointers into the buffer only once it has stopped growing.
    const unsigned char* base = reinterpret_cast<const unsigned char*>(keys_.data());
    std::vector<SortKey> keys(order_.size());
    for (size_t i = 0; i < order_.size(); ++i)
        keys[i] = SortKey{base + keyRefs_[i].start, keyRefs_[i].length, order_[i]};

    // Listings often arrive in order already; std::sort is an introsort, so
    // neither sorted, reversed nor equal keys make it quadratic or deep.
    if (!std::is_sorted(keys.begin(), keys.end(), KeyLess))
        std::sort(keys.begin(), keys.end(), KeyLess);
    for (size_t i = 0; i < keys.size(); ++i) {
        order_[i] = keys[i].record;
        keyRefs_[i] = KeyRef{static_cast<uint32_t>(keys[i].bytes - base), keys[i].length};
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
    if (hint < order_.size()) {
        ListedEntry entry = (*this)[hint];
        if (CompareNamesJoined(entry.relativeFolder, entry.name, relativePath,
                               std::string_view()) == 0)
            return static_cast<int>(hint);
    }
    return Bisect(static_cast<int>(order_.size()), [&](int middle) {
        ListedEntry entry = (*this)[static_cast<size_t>(middle)];
        return CompareNamesJoined(entry.relativeFolder, entry.name, relativePath,
                                  std::string_view());
    });
}

int FolderListing::FindEntry(const std::string& relativePath) const {
    return FindEntry(relativePath, order_.size());
}

void FolderListing::KeepOnly(const std::vector<bool>& keep) {
    size_t to = 0;
    for (size_t from = 0; from < order_.size(); ++from) {
        if (!keep[from])
            continue;
        order_[to] = order_[from];
        if (HasKeys())
            keyRefs_[to] = keyRefs_[from];
        ++to;
    }
    order_.resize(to);
    if (!keyRefs_.empty())
        keyRefs_.resize(to);
}

void FolderListing::LeaveOutTwins() {
    auto same = [&](size_t a, size_t b) {
        if (HasKeys())
            return KeyAt(a) == KeyAt(b);
        ListedEntry left = (*this)[a], right = (*this)[b];
        return CompareNamesJoined(left.relativeFolder, left.name, right.relativeFolder,
                                  right.name) == 0;
    };
    std::vector<bool> keep(order_.size(), true);
    for (size_t i = 0; i < order_.size();) {
        size_t end = i + 1;
        while (end < order_.size() && same(i, end))
            ++end;
        if (end - i > 1) {
            // Each under its own spelling, so the report names both files.
            for (size_t twin = i; twin < end; ++twin) {
                LeaveOut((*this)[twin].RelativePath());
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
    std::vector<bool> keep(order_.size());
    for (size_t i = 0; i < order_.size(); ++i)
        keep[i] = !covering.Covers((*this)[i].RelativePath());
    KeepOnly(keep);
}
