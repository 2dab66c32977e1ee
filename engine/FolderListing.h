#pragma once
// Everything found on one side of a job: its root folder and the entries below it.
#include "engine/SyncItem.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

class FolderListing {
public:
    explicit FolderListing(const std::string& rootFolder) : rootFolder_(rootFolder) {}
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    const std::string& RootFolder() const { return rootFolder_; }
    size_t Size() const { return entries_.size(); }
    const FileEntry& operator[](size_t index) const { return *entries_[index]; }

    // Takes the entry over and places it at the end.
    void Append(FileEntry&& entry);

    // Ascending CompareNames order of relative paths. Moves references only;
    // entries with equal keys keep no particular order.
    void SortEntries();

    // Bisection over the sorted entries: the index of an entry whose relative
    // path equals the key under CompareNames, or -1.
    int FindEntry(const std::string& relativePath) const;
    // After SortEntries, each entry's key (engine/NameOrder.h AppendNameKey),
    // kept so that a lookup from the other side compares bytes only.
    bool HasKeys() const { return !keyRefs_.empty() || entries_.empty(); }
    std::string_view KeyAt(size_t index) const;
    // FindEntry for a key, trying `hint` first.
    int FindKey(std::string_view key, size_t hint) const;
    // The same, comparing the entry at `hint` first: a caller asking for paths
    // in sorted order passes the index after its last match, and for folders
    // that mostly match it is the one (one comparison instead of a bisection).
    int FindEntry(const std::string& relativePath, size_t hint) const;

    // A relative path the scan did not take (a link, or a name the path
    // functions would misread). Nothing at or below it is planned on either side.
    void LeaveOut(const std::string& relativePath) { leftOut_.push_back(relativePath); }
    const std::vector<std::string>& LeftOut() const { return leftOut_; }

    // After SortEntries: entries of one folder that compare equal (a.txt and
    // A.txt or ΑΒΓ.txt and αβγ.txt on case-sensitive storage, a name made on
    // a Mac beside its Windows spelling) are one path to every later step, so
    // neither can be acted on safely. Both are left out.
    void LeaveOutTwins();

    // Drops the entries at or below any of the relative paths, keeping the order.
    void RemoveCovered(const std::vector<std::string>& relativePaths);

private:
    // Keeps the entries (and their keys) whose flag is set, in order.
    void KeepOnly(const std::vector<bool>& keep);

    struct KeyRef {
        uint32_t start;
        uint32_t length;
    };
    std::string rootFolder_;
    std::deque<FileEntry> records_;   // owns the entries; a deque never moves them
    std::vector<FileEntry*> entries_; // scan order, sorted order after SortEntries
    std::vector<std::string> leftOut_;
    std::string keys_;            // the sorted entries' keys, one after another
    std::vector<KeyRef> keyRefs_; // in sorted order; empty until SortEntries
};
