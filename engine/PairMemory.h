#pragma once
// What a pair of folders held, entry by entry, when a run last left them equal:
// the memory two-way synchronisation decides against. Looked up by the name
// key of the relative path (engine/NameOrder.h), so a name matches under the
// one rule every other step uses.
#include "engine/TwoWayDecision.h"

#include <map>
#include <string>
#include <string_view>

struct RememberedRecord {
    std::wstring relativePath; // "\folder\name.txt", as the file system spells it
    RememberedEntry entry;
};

class PairMemory {
public:
    // The entry under the key, or null when the pair did not hold it.
    const RememberedEntry* Find(std::string_view key) const;
    // The same with the path as it was spelled.
    const RememberedRecord* FindRecord(std::string_view key) const;
    // Adds or replaces the entry; `relativePath` is the program's text.
    void Put(const std::string& key, const std::string& relativePath, const RememberedEntry& entry);
    void PutWide(std::wstring relativePath, const RememberedEntry& entry);
    // Forgets the entry and, for a folder, everything below it.
    void Forget(const std::string& key);

    size_t Size() const { return records_.size(); }
    const std::map<std::string, RememberedRecord, std::less<>>& Records() const { return records_; }

private:
    std::map<std::string, RememberedRecord, std::less<>> records_;
};
