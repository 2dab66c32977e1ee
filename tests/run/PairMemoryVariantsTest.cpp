// The pair's memory file as a torn write, another program or a hand leaves it:
// thousands of variants, each with its checksum made right again (anybody can
// compute one), are read in memory in proportion to their size, and give the
// memory only when it fits these folders, as a well-formed reading; otherwise
// no memory at all.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "AllocationMeter.h"
#include "Mutations.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/Fnv1a.h"
#include "base/NameText.h"
#include "engine/NameOrder.h"
#include "run/SyncStateFile.h"

namespace {

std::string WithChecksum(std::string body) {
    std::uint64_t hash = Fnv1a(body);
    body.append(reinterpret_cast<const char*>(&hash), sizeof hash);
    return body;
}

TEST(PairMemoryVariants, AnyFileIsTheMemoryOfTheseFoldersOrNoMemory) {
    TempDir dir;
    const std::string p = dir / "処理 表", r = dir / "参照 ソ", path = dir / "pair.state";
    ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(p + "\\sub") &&
                MakeFolder(r + "\\sub"));
    PairMemory memory;
    const FILETIME time = UtcFileTime(2025, 1, 1, 0, 0, 0);
    const char* names[] = {"\\a.txt", "\\sub\\能.txt", "\\sub\\b.txt", "\\caf<U+00E9>.txt"};
    for (const char* name : names) {
        ASSERT_TRUE(MakeWidePath(p, WideFromText(name)) && MakeWidePath(r, WideFromText(name)));
        RememberedEntry entry;
        entry.present = true;
        entry.size = 1;
        entry.processingTime = entry.referenceTime = time;
        memory.Put(NameKey(name), name, entry);
    }
    RememberedEntry folder;
    folder.present = folder.folder = true;
    memory.Put(NameKey("\\sub"), "\\sub", folder);
    ASSERT_TRUE(WritePairMemory(path, p, r, memory));
    std::string valid = ReadFileBytes(path);
    PairMemory exact;
    ASSERT_EQ(MemoryRead::Fits, ReadPairMemory(path, p, r, exact));
    ASSERT_EQ(memory.Size(), exact.Size());
    const std::string body = valid.substr(0, valid.size() - sizeof(std::uint64_t));

    auto check = [&](const std::string& variant) {
        const std::string bytes = WithChecksum(variant);
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        PairMemory read;
        MemoryRead result;
        size_t peak = 0;
        {
            AllocationMeter meter;
            result = ReadPairMemory(path, p, r, read);
            peak = meter.Peak();
        }
        EXPECT_LE(peak, 16 * bytes.size() + 65536);
        if (result != MemoryRead::Fits) {
            EXPECT_EQ(0u, read.Size()) << "no memory is an empty one";
            if (result == MemoryRead::DoesNotFit) {
                EXPECT_FALSE(PathExists(path)) << "a memory of other folders is not kept";
            }
            return;
        }
        // A well-formed reading: every record under its own name's key, below a
        // root, no more records than the file has room for.
        EXPECT_LE(read.Size(), bytes.size() / 31);
        for (size_t i = 0; i < read.Size(); ++i) {
            const RememberedRecord record = read.At(i);
            ASSERT_FALSE(record.relativePath.empty());
            EXPECT_EQ('\\', record.relativePath[0]);
            ASSERT_TRUE(read.Find(NameKey(record.relativePath)));
            if (i > 0) {
                EXPECT_LT(NameKey(read.At(i - 1).relativePath), NameKey(record.relativePath));
            }
        }
    };
    ForEachCut(body, check);
    ForEachVariant(body, 0x70616972, 2000, check);
}

} // namespace
