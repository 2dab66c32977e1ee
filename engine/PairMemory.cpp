#include "engine/PairMemory.h"

#include "base/NameText.h"
#include "engine/NameOrder.h"

#include <algorithm>
#include <numeric>

std::string PairMemory::KeyOf(uint32_t place) const {
    return NameKey(PathOf(records_[order_[place]]));
}

void PairMemory::Put(std::string_view key, std::string_view relativePath,
                     const RememberedEntry& entry) {
    // No path of the program's text is this long; a record left out is a
    // path not held, which plans a copy and never a deletion.
    if (relativePath.size() >= (1u << 24) || relativePath.size() > TextArena::kLargestText)
        return;
    Record& record = records_.emplace_back();
    record.size = entry.size;
    record.processingTime = entry.processingTime;
    record.referenceTime = entry.referenceTime;
    record.path = paths_.Store(relativePath);
    record.pathLength = static_cast<uint32_t>(relativePath.size());
    record.folder = entry.folder ? 1 : 0;
    const uint32_t index = static_cast<uint32_t>(records_.size() - 1);
    cursorValid_ = false; // a cursor past the end would miss the new record
    if (settled_ && (order_.empty() || key > lastKey_)) {
        order_.push_back(index);
        lastKey_ = key;
        return;
    }
    pending_.push_back(index);
    settled_ = false;
}

void PairMemory::PutWide(const std::wstring& relativePath, const RememberedEntry& entry) {
    // A file read puts a million paths: no allocation of their own.
    scratch_ = TextFromWide(relativePath);
    scratchKey_.clear();
    AppendNameKey(scratchKey_, scratch_, std::string_view());
    Put(scratchKey_, scratch_, entry);
}

void PairMemory::Forget(std::string_view key) {
    forgotten_.push_back(Forgotten{std::string(key), static_cast<uint32_t>(records_.size())});
    settled_ = false;
}

void PairMemory::Settle() const {
    if (settled_)
        return;
    // The live records and those put since, each key once, end to end.
    std::vector<uint32_t> byKey;
    byKey.reserve(order_.size() + pending_.size());
    byKey.insert(byKey.end(), order_.begin(), order_.end());
    byKey.insert(byKey.end(), pending_.begin(), pending_.end());
    std::vector<uint32_t>().swap(pending_);
    std::string keys;
    std::vector<std::pair<uint32_t, uint32_t>> spans(byKey.size());
    for (size_t i = 0; i < byKey.size(); ++i) {
        uint32_t start = static_cast<uint32_t>(keys.size());
        AppendNameKey(keys, PathOf(records_[byKey[i]]), std::string_view());
        spans[i] = {start, static_cast<uint32_t>(keys.size() - start)};
    }
    // From here on a record is named by its place in byKey's first order.
    std::vector<uint32_t> places(byKey.size());
    std::iota(places.begin(), places.end(), 0u);
    auto keyAt = [&](uint32_t place) {
        return std::string_view(keys).substr(spans[place].first, spans[place].second);
    };
    // Of equal keys, the one put last comes last and wins.
    std::sort(places.begin(), places.end(), [&](uint32_t a, uint32_t b) {
        int order = keyAt(a).compare(keyAt(b));
        return order != 0 ? order < 0 : byKey[a] < byKey[b];
    });
    std::vector<uint32_t> settled;
    settled.reserve(places.size());
    for (size_t i = 0; i < places.size(); ++i)
        if (i + 1 == places.size() || keyAt(places[i]) != keyAt(places[i + 1]))
            settled.push_back(places[i]);
    std::vector<uint32_t>().swap(places);

    if (!forgotten_.empty()) {
        std::vector<bool> gone(settled.size());
        auto firstFrom = [&](std::string_view key) {
            return std::lower_bound(settled.begin(), settled.end(), key,
                                    [&](uint32_t place, std::string_view sought) {
                                        return keyAt(place) < sought;
                                    }) -
                   settled.begin();
        };
        const std::string separator = NameKey("\\");
        for (const Forgotten& forgotten : forgotten_) {
            // The entry, then everything below it: one run of keys beginning
            // with its key and that of "\\".
            const std::string below = forgotten.key + separator;
            for (std::string_view prefix :
                 {std::string_view(forgotten.key), std::string_view(below)}) {
                for (size_t place = firstFrom(prefix); place < settled.size(); ++place) {
                    std::string_view key = keyAt(settled[place]);
                    bool covered = prefix.size() == forgotten.key.size()
                                       ? key == prefix
                                       : key.substr(0, prefix.size()) == prefix;
                    if (!covered)
                        break;
                    if (byKey[settled[place]] < forgotten.before)
                        gone[place] = true;
                }
            }
        }
        size_t kept = 0;
        for (size_t place = 0; place < settled.size(); ++place)
            if (!gone[place])
                settled[kept++] = settled[place];
        settled.resize(kept);
        forgotten_.clear();
    }
    lastKey_ = settled.empty() ? std::string() : std::string(keyAt(settled.back()));
    order_.resize(settled.size());
    for (size_t i = 0; i < settled.size(); ++i)
        order_[i] = byKey[settled[i]];
    order_.shrink_to_fit();
    settled_ = true;
    cursorValid_ = false;
}

size_t PairMemory::Reposition(size_t place, std::string belowKey, std::string key) const {
    cursor_ = place;
    belowCursorKey_ = std::move(belowKey);
    cursorKey_ = std::move(key);
    cursorValid_ = true;
    return place;
}

size_t PairMemory::LowerBound(std::string_view key) const {
    const size_t size = order_.size();
    size_t low = 0; // the answer is in (low - 1, high]
    size_t high = size;
    std::string lowKey, highKey;
    if (cursorValid_) {
        bool belowCursor = cursor_ == 0 || std::string_view(belowCursorKey_) < key;
        bool atOrAboveCursor = cursor_ == size || key <= std::string_view(cursorKey_);
        if (belowCursor && atOrAboveCursor)
            return cursor_;
        if (belowCursor) {
            // Ahead of the cursor, most often just ahead: gallop from it.
            size_t step = 1;
            low = cursor_;
            lowKey = cursorKey_;
            for (;;) {
                high = std::min(size, low + step);
                if (high == size) {
                    highKey.clear();
                    break;
                }
                highKey = KeyOf(static_cast<uint32_t>(high));
                if (std::string_view(highKey) >= key)
                    break;
                low = high;
                lowKey = std::move(highKey);
                step *= 2;
            }
            // key lies in (lowKey, highKey]; the place is in (low, high].
            while (high - low > 1) {
                size_t middle = low + (high - low) / 2;
                std::string middleKey = KeyOf(static_cast<uint32_t>(middle));
                if (std::string_view(middleKey) < key) {
                    low = middle;
                    lowKey = std::move(middleKey);
                } else {
                    high = middle;
                    highKey = std::move(middleKey);
                }
            }
            return Reposition(high, std::move(lowKey), std::move(highKey));
        }
    }
    // Behind the cursor, or no cursor yet: a bisection of the whole.
    low = 0;
    high = size;
    while (low < high) {
        size_t middle = low + (high - low) / 2;
        std::string middleKey = KeyOf(static_cast<uint32_t>(middle));
        if (std::string_view(middleKey) < key)
            low = middle + 1;
        else
            high = middle;
    }
    return Reposition(low, low == 0 ? std::string() : KeyOf(static_cast<uint32_t>(low - 1)),
                      low == size ? std::string() : KeyOf(static_cast<uint32_t>(low)));
}

std::optional<size_t> PairMemory::PlaceOf(std::string_view key) const {
    Settle();
    size_t place = LowerBound(key);
    if (place == order_.size() || cursorKey_ != key)
        return std::nullopt;
    return place;
}

std::optional<RememberedRecord> PairMemory::FindRecord(std::string_view key) const {
    std::optional<size_t> place = PlaceOf(key);
    return place ? std::optional<RememberedRecord>(At(*place)) : std::nullopt;
}

std::optional<RememberedEntry> PairMemory::Find(std::string_view key) const {
    std::optional<size_t> place = PlaceOf(key);
    return place ? std::optional<RememberedEntry>(EntryAt(*place)) : std::nullopt;
}

size_t PairMemory::Size() const {
    Settle();
    return order_.size();
}

std::string_view PairMemory::PathAt(size_t index) const {
    Settle();
    return PathOf(records_[order_[index]]);
}

RememberedEntry PairMemory::EntryAt(size_t index) const {
    Settle();
    const Record& record = records_[order_[index]];
    RememberedEntry entry;
    entry.present = true;
    entry.folder = record.folder != 0;
    entry.size = record.size;
    entry.processingTime = record.processingTime;
    entry.referenceTime = record.referenceTime;
    return entry;
}

RememberedRecord PairMemory::At(size_t index) const {
    return RememberedRecord{std::string(PathAt(index)), EntryAt(index)};
}
