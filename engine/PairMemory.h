#pragma once
// What a pair of folders held, entry by entry, when a run last left them equal:
// the memory two-way synchronisation decides against. Looked up by the name
// key of the relative path (engine/NameOrder.h), so a name matches under the
// one rule every other step uses.
//
// A pair can hold millions of entries, so the memory keeps each as a packed
// record with its path in an arena and no stored key: the search asks for
// keys in sorted order, and a cursor walking beside it computes each record's
// key once a pass.
#include "engine/TextArena.h"
#include "engine/TwoWayDecision.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RememberedRecord {
    std::string relativePath; // "\folder\name.txt" in the program's text
    RememberedEntry entry;
};

class PairMemory {
public:
    // The entry under the key, or nothing when the pair did not hold it.
    std::optional<RememberedEntry> Find(std::string_view key) const;
    // The same with the path as it was spelled.
    std::optional<RememberedRecord> FindRecord(std::string_view key) const;
    // Adds or replaces the entry; `relativePath` is the program's text and
    // `key` its name key. Cheapest in key order.
    void Put(std::string_view key, std::string_view relativePath, const RememberedEntry& entry);
    void PutWide(const std::wstring& relativePath, const RememberedEntry& entry);
    // Forgets the entry and, for a folder, everything below it.
    void Forget(std::string_view key);

    // The records in key order, one per key.
    size_t Size() const;
    RememberedRecord At(size_t index) const;
    // The parts of At without a copy of the path (valid while the memory lives).
    std::string_view PathAt(size_t index) const;
    RememberedEntry EntryAt(size_t index) const;

private:
    // 32 bytes a record; the path is in the arena.
    struct Record {
        unsigned long long size;
        FILETIME processingTime;
        FILETIME referenceTime;
        uint32_t path; // reference into paths_
        uint32_t pathLength : 24;
        uint32_t folder : 8;
    };
    struct Forgotten {
        std::string key;
        uint32_t before; // records put before it are forgotten
    };

    std::string_view PathOf(const Record& record) const {
        return paths_.At(record.path, record.pathLength);
    }
    std::string KeyOf(uint32_t place) const;
    // Puts the records in key order with one per key, the last put winning,
    // and applies what was forgotten since.
    void Settle() const;
    // The place in order_ of the record under the key, if held.
    std::optional<size_t> PlaceOf(std::string_view key) const;
    // The first place in order_ whose key is not below `key`.
    size_t LowerBound(std::string_view key) const;
    size_t Reposition(size_t place, std::string belowKey, std::string key) const;

    std::deque<Record> records_; // in the order put
    TextArena paths_;
    mutable std::vector<uint32_t> order_;   // live records in key order once settled
    mutable std::vector<uint32_t> pending_; // records put out of order since
    mutable std::vector<Forgotten> forgotten_;
    mutable bool settled_ = true;
    std::string scratch_, scratchKey_; // PutWide's texts, reused
    mutable std::string lastKey_;      // the key of the last record put while still in order
    // The lookups' cursor: a place in order_ (order_.size() past the end), its
    // record's key and the key of the record before it.
    mutable size_t cursor_ = 0;
    mutable std::string cursorKey_;
    mutable std::string belowCursorKey_;
    mutable bool cursorValid_ = false;
};
