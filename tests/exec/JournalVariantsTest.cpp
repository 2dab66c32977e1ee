// The run lock's journal as anybody who can write to a shared folder, or a torn
// write, leaves it: thousands of variants of a sealed journal are read in memory
// in proportion to their size, and give only records the journal's own seal
// vouches for, never one a change made. What a record may name leads nowhere
// outside its folder, whatever its bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "AllocationMeter.h"
#include "Mutations.h"
#include "base/NameText.h"
#include "exec/Leftovers.h"
#include "exec/RunLock.h"

namespace {

const UserSeal kSeal(std::string(32, 's'));
const char kFolderKey[] = "0000ABCD0000000100002345";

const std::vector<JournalRecord> kRecords = {
    {JournalRecord::Temporary, "\\~orvane00a1b2.tmp", ""},
    {JournalRecord::Temporary, "\\表\\ソ\\~orvane00a1b3.tmp", ""},
    {JournalRecord::Backup, "\\表\\~orvane00a1b4.old", "\\表\\能.txt"},
    {JournalRecord::Version, "\\20261208-093015\\sub\\x.txt", "\\sub\\x.txt"},
    {JournalRecord::Temporary, "\\caf<U+00E9>\\~orvane00a1b5.tmp", ""},
};

// Whether `relativePath` below a folder stays below it once the path functions
// have read it, "." and ".." steps, trailing dots and blanks and all.
bool StaysBelow(const std::string& relativePath) {
    std::wstring root = L"C:\\job";
    std::wstring joined = root + WideFromText(relativePath);
    std::wstring full(32768, L'\0');
    DWORD length =
        GetFullPathNameW(joined.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return joined.size() > full.size(); // too long for any path: not this oracle's to say
    full.resize(length);
    return full.size() > root.size() + 1 && full.compare(0, root.size() + 1, root + L"\\") == 0;
}

void Check(const std::string& variant) {
    JournalReading reading;
    size_t peak = 0;
    {
        AllocationMeter meter;
        reading = ReadJournal(variant, kFolderKey, kSeal);
        peak = meter.Peak();
    }
    EXPECT_LE(peak, 4 * variant.size() + 65536);
    if (reading.kind != JournalReading::Sealed) {
        EXPECT_TRUE(reading.records.empty()) << "only a sealed journal vouches for a record";
    }
    for (const JournalRecord& record : reading.records)
        EXPECT_NE(kRecords.end(), std::find(kRecords.begin(), kRecords.end(), record))
            << "a record no run wrote: " << PrintableBytes(record.path);

    // Each line taken as a record as it stands, seal or not: one the leftovers
    // would act on names only a place below the folder.
    size_t start = 0;
    while (start < variant.size()) {
        size_t end = std::min(variant.find("\r\n", start), variant.size());
        std::string line = variant.substr(start, end - start);
        start = end + 2;
        size_t tab = line.find('\t', 2);
        if (line.size() < 3 || line[1] != '\t')
            continue;
        JournalRecord record;
        record.kind = line[0] == 'T'   ? JournalRecord::Temporary
                      : line[0] == 'B' ? JournalRecord::Backup
                                       : JournalRecord::Version;
        record.path = line.substr(2, tab == std::string::npos ? tab : tab - 2);
        record.target = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (!IsOwnRecord(record))
            continue;
        EXPECT_TRUE(StaysBelow(record.path)) << PrintableBytes(line);
        if (record.kind != JournalRecord::Temporary) {
            EXPECT_TRUE(StaysBelow(record.target)) << PrintableBytes(line);
        }
    }
}

TEST(JournalVariants, OnlyRecordsTheSealVouchesForAndNothingOutsideTheFolder) {
    const std::string valid =
        JournalText("PC 1 2026-12-08 09:00:00", kFolderKey, "0123abcd", kRecords, kSeal);
    JournalReading exact = ReadJournal(valid, kFolderKey, kSeal);
    ASSERT_EQ(JournalReading::Sealed, exact.kind);
    ASSERT_EQ(kRecords, exact.records);
    // Lines that pass a record's shape but lead elsewhere, for the edits to work on.
    std::vector<std::string> pieces = SignificantPieces();
    for (const char* piece : {"\t", "T\t", "B\t", "V\t", "\\..", "\\.", "..\\", ":", "C:\\", "\\\\",
                              "<U+005C>", "<U+002E><U+002E>", "~orvane00a1b2.tmp",
                              "~orvane00a1b4.old", "\\20261208-093015", "seal "})
        pieces.push_back(piece);
    ForEachCut(valid, Check);
    ForEachVariant(valid, 0x6A6F75726E616C, 20000, Check, pieces);
}

} // namespace
