#pragma once
// Everything found on one side of a job: its root folder and the entries below it.
// A side can hold millions of entries, so each is a packed record: its folder
// is stored once for all its entries and its name in a shared arena.
#include "engine/FoundRecord.h"
#include "engine/SyncItem.h"
#include "engine/TextArena.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One entry of a listing, as a view of the listing's storage: valid while the
// listing lives. A planned row takes an owning copy (Owned).
struct ListedEntry {
    std::string_view rootFolder;     // without trailing backslash
    std::string_view relativeFolder; // begins and ends with a backslash
    std::string_view name;
    DWORD attributes = 0;
    FILETIME lastWriteTime = {0, 0};
    unsigned long long size = 0;

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    unsigned long long Size() const { return size; }
    std::string RelativePath() const;
    std::string FullPath() const;
    FileEntry Owned() const;
};

class FolderListing {
public:
    explicit FolderListing(const std::string& rootFolder) : rootFolder_(rootFolder) {}
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    const std::string& RootFolder() const { return rootFolder_; }
    size_t Size() const { return order_.size(); }
    ListedEntry operator[](size_t index) const;

    // Places the found entry of the folder at the end.
    void Append(const std::string& relativeFolder, const FoundRecord& found);

    // Ascending CompareNames order of relative paths; entries with equal keys
    // keep no particular order.
    void SortEntries();

    // Bisection over the sorted entries: the index of an entry whose relative
    // path equals the key under CompareNames, or -1.
    int FindEntry(const std::string& relativePath) const;
    // After SortEntries, each entry's key (engine/NameOrder.h AppendNameKey),
    // kept so that a lookup from the other side compares bytes only.
    bool HasKeys() const { return !keyRefs_.empty() || order_.empty(); }
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
    // 32 bytes an entry; the name's bytes are in the arena.
    struct Record {
        uint32_t folder; // index into folders_
        uint32_t name;   // reference into names_
        DWORD attributes;
        uint16_t nameLength;
        FILETIME lastWriteTime;
        unsigned long long size;
    };
    struct KeyRef {
        uint32_t start;
        uint32_t length;
    };
    std::string_view NameOf(const Record& record) const {
        return names_.At(record.name, record.nameLength);
    }
    uint32_t FolderIndex(const std::string& relativeFolder);
    // Keeps the entries (and their keys) whose flag is set, in order.
    void KeepOnly(const std::vector<bool>& keep);

    std::string rootFolder_;
    std::deque<Record> records_; // a deque grows without copying what it holds
    TextArena names_;
    std::vector<std::unique_ptr<std::string>> folders_;
    std::unordered_map<std::string_view, uint32_t> folderIndex_; // views into folders_
    uint32_t lastFolder_ = UINT32_MAX;
    std::vector<uint32_t> order_; // records in scan order, sorted order after SortEntries
    std::vector<std::string> leftOut_;
    std::string keys_;            // the sorted entries' keys, one after another
    std::vector<KeyRef> keyRefs_; // in sorted order; empty until SortEntries
};
