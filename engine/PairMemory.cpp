#include "engine/PairMemory.h"

#include "base/NameText.h"
#include "engine/NameOrder.h"

const RememberedEntry* PairMemory::Find(std::string_view key) const {
    auto found = records_.find(key);
    return found == records_.end() ? nullptr : &found->second.entry;
}

const RememberedRecord* PairMemory::FindRecord(std::string_view key) const {
    auto found = records_.find(key);
    return found == records_.end() ? nullptr : &found->second;
}

void PairMemory::Put(const std::string& key, const std::string& relativePath,
                     const RememberedEntry& entry) {
    RememberedRecord& record = records_[key];
    record.relativePath = WideFromText(relativePath);
    record.entry = entry;
}

void PairMemory::PutWide(std::wstring relativePath, const RememberedEntry& entry) {
    std::string key = NameKey(TextFromWide(relativePath));
    // A file is written in key order: each record goes after the last one.
    auto at = records_.lower_bound(key);
    if (at == records_.end() || at->first != key)
        at = records_.emplace_hint(at, std::move(key), RememberedRecord());
    at->second.relativePath = std::move(relativePath);
    at->second.entry = entry;
}

void PairMemory::Forget(const std::string& key) {
    records_.erase(key);
    // Everything below a folder is one run of keys beginning with the
    // folder's key and that of "\\".
    std::string below = key + NameKey("\\");
    auto first = records_.lower_bound(below);
    auto last = first;
    while (last != records_.end() && last->first.compare(0, below.size(), below) == 0)
        ++last;
    records_.erase(first, last);
}
