#pragma once
// Everything found on one side of a job: its root folder and the entries below it.
#include "engine/SyncItem.h"

#include <deque>
#include <string>
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

    // Ascending CompareNoCase order of relative paths. Moves references only;
    // entries with equal keys keep no particular order.
    void SortEntries();

    // Bisection over the sorted entries: the index of an entry whose relative
    // path equals the key under CompareNoCase, or -1.
    int FindEntry(const std::string& relativePath) const;

private:
    std::string rootFolder_;
    std::deque<FileEntry> records_;   // owns the entries; a deque never moves them
    std::vector<FileEntry*> entries_; // scan order, sorted order after SortEntries
};
