// Deleting with the attribute steps, and the shell's copy.
#include <gtest/gtest.h>

#include <optional>

#include "TempDir.h"
#include "TestFiles.h"
#include "exec/FileActions.h"

namespace {

DWORD Attributes(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

// Holds a file open without FILE_SHARE_DELETE, so that deleting it fails.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

} // namespace

TEST(DeletePath, ClearsAttributesFirstAndPutsThemBackWhenTheDeletionFails) {
    struct Case {
        const char* name;
        bool folder;
        DWORD attributes;
        bool withContent; // a folder with a file in it, or a file held open
        bool deleted;
    } cases[] = {
        {"表ソ能.txt", false, FILE_ATTRIBUTE_NORMAL, false, true},
        {"read-only.txt", false, FILE_ATTRIBUTE_READONLY, false, true},
        {"hidden system", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false, true},
        {"empty", true, FILE_ATTRIBUTE_DIRECTORY, false, true},
        {"read-only folder", true, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, false, true},
        {"held.txt", false, FILE_ATTRIBUTE_READONLY, true, false},
        {"not empty", true, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, true, false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::string path = dir / c.name;
        if (c.folder) {
            ASSERT_TRUE(MakeFolder(path));
            if (c.withContent) {
                ASSERT_TRUE(WriteFileBytes(path + "\\inside.txt", "x"));
            }
        } else {
            ASSERT_TRUE(WriteFileBytes(path, "x"));
        }
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes)) << c.name;
        DWORD before = Attributes(path);

        std::optional<HeldOpen> held;
        if (!c.folder && c.withContent) {
            ASSERT_TRUE(held.emplace(path).IsOpen());
        }
        bool deleted = DeletePath(path);
        held.reset();
        EXPECT_EQ(c.deleted, deleted) << c.name;
        EXPECT_EQ(c.deleted ? INVALID_FILE_ATTRIBUTES : before, Attributes(path)) << c.name;
    }
}

TEST(DeletePath, MissingPathFails) {
    TempDir dir;
    EXPECT_FALSE(DeletePath(dir / "missing.txt"));
    EXPECT_FALSE(DeletePath(""));
}

TEST(ShellCopyFile, CopiesToANewNameAndReplacesAnExistingFileKeepingTheSourceTime) {
    TempDir dir;
    const FILETIME sourceTime = UtcFileTime(2021, 3, 4, 5, 6, 8);
    std::string from = dir / "元 表ソ.txt";
    ASSERT_TRUE(WriteFileBytes(from, "new content"));
    ASSERT_TRUE(SetLastWriteTime(from, sourceTime));
    std::string existing = dir / "old(1).txt";
    ASSERT_TRUE(WriteFileBytes(existing, "older and longer content"));
    ASSERT_TRUE(SetFileAttributesA(existing.c_str(), FILE_ATTRIBUTE_READONLY));

    for (const std::string& to : {dir / "能.txt", existing}) {
        EXPECT_TRUE(ShellCopyFile(from, to)) << to;
        EXPECT_EQ("new content", ReadFileBytes(to)) << to;
        FILETIME copiedTime = GetLastWriteTime(to);
        EXPECT_EQ(0, CompareFileTime(&sourceTime, &copiedTime)) << to;
    }
}

TEST(ShellCopyFile, FailsForAnEmptyPathOrAMissingSource) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir / "a.txt", "a"));
    EXPECT_FALSE(ShellCopyFile("", dir / "b.txt"));
    EXPECT_FALSE(ShellCopyFile(dir / "a.txt", ""));
    EXPECT_FALSE(ShellCopyFile(dir / "missing.txt", dir / "b.txt"));
    EXPECT_FALSE(PathExists(dir / "b.txt"));
}

TEST(ShellCopyFile, FlagsFollowTheSystemVersion) {
    struct Case {
        DWORD major, minor;
        FILEOP_FLAGS flags;
    } cases[] = {
        {4, 0, 0x214},  {4, 10, 0x214}, {4, 90, 0x2214}, {5, 0, 0x2214},  {5, 1, 0x2A14},
        {6, 0, 0x2214}, {6, 1, 0x2A14}, {6, 2, 0x2A14},  {10, 0, 0x2214},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.flags, ShellCopyFlagsFor(c.major, c.minor)) << c.major << "." << c.minor;
}
