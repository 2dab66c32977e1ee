// Renames, moves and changes of kind carried out as what they are, in each
// mode, with the real folders: one move row each, both sides equal after it,
// and the moved files the very files they were (renamed, not copied).
#include <gtest/gtest.h>

#include <algorithm>

#include "ControllerRun.h"

namespace {

// The file's identity on its volume: a rename keeps it, a copy does not.
std::string IdentityOf(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION information = {};
    bool read = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return read ? std::to_string(information.nFileIndexHigh) + ":" +
                      std::to_string(information.nFileIndexLow)
                : std::string();
}

void Put(const std::string& path, const std::string& bytes, const FILETIME& time) {
    ASSERT_TRUE(WriteFileBytes(path, bytes) && SetLastWriteTime(path, time));
}

// The same tree on a side: a folder of photos, a file in a folder, a file at
// the root, a file whose name changes case, a file and a folder that change
// kind, and files nobody touches.
void MakeTree(const std::string& root) {
    const FILETIME time = UtcFileTime(2024, 5, 1, 0, 0, 0);
    for (const char* folder : {"\\写真", "\\写真\\ソ", "\\a", "\\b", "\\thing2", "\\stay"})
        ASSERT_TRUE(MakeFolder(root + folder));
    for (int i = 0; i < 20; ++i) {
        Put(root + "\\写真\\ソ\\" + std::to_string(i) + ".jpg", "photo " + std::to_string(i), time);
        Put(root + "\\stay\\" + std::to_string(i) + ".txt", "stays " + std::to_string(i), time);
    }
    Put(root + "\\a\\moved.txt", "moved", time);
    Put(root + "\\old name.txt", "renamed", time);
    Put(root + "\\Case.txt", "case", time);
    Put(root + "\\thing1", "a file that becomes a folder", time);
    Put(root + "\\thing2\\inside.txt", "a folder that becomes a file", time);
    Put(root + "\\readonly.txt", "old", time);
    ASSERT_TRUE(SetFileAttributesA((root + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
}

// What a user does on one side.
void Change(const std::string& root) {
    ASSERT_TRUE(MoveFileA((root + "\\写真").c_str(), (root + "\\photos").c_str()));
    ASSERT_TRUE(MoveFileA((root + "\\a\\moved.txt").c_str(), (root + "\\b\\moved.txt").c_str()));
    ASSERT_TRUE(MoveFileA((root + "\\old name.txt").c_str(), (root + "\\new name.txt").c_str()));
    // Through another name: Wine takes a rename in case only as nothing to do.
    ASSERT_TRUE(MoveFileA((root + "\\Case.txt").c_str(), (root + "\\case.tmp").c_str()));
    ASSERT_TRUE(MoveFileA((root + "\\case.tmp").c_str(), (root + "\\CASE.txt").c_str()));
    ASSERT_TRUE(DeleteFileA((root + "\\thing1").c_str()) && MakeFolder(root + "\\thing1"));
    Put(root + "\\thing1\\inside.txt", "now a folder", UtcFileTime(2024, 6, 1, 0, 0, 0));
    ASSERT_TRUE(DeleteFileA((root + "\\thing2\\inside.txt").c_str()) &&
                RemoveDirectoryA((root + "\\thing2").c_str()));
    Put(root + "\\thing2", "now a file", UtcFileTime(2024, 6, 1, 0, 0, 0));
    SetFileAttributesA((root + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    Put(root + "\\readonly.txt", "newer", UtcFileTime(2024, 6, 1, 0, 0, 0));
    ASSERT_TRUE(SetFileAttributesA((root + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
}

} // namespace

TEST(Moves, RenamesMovesAndChangesOfKindReachTheOtherSideAsWhatTheyAre) {
    for (int mode : {Bidirectional, UpdateProcessing, UpdateReference}) {
        SCOPED_TRACE(mode);
        ControllerRun t;
        JobSettings& job = t.jobs.currentJob;
        job.mode = mode;
        job.includeSubfolders = 1;
        job.deleteEnabled = 1;
        job.detectMoves = 1;
        job.rememberState = 1;
        job.keepVersions = 1;
        t.run.SetStateFolder(t.dir / "state");
        t.run.SetHistoryFolder(t.dir / "history");
        const std::string& changing = mode == UpdateProcessing ? t.r : t.p;
        const std::string& following = mode == UpdateProcessing ? t.p : t.r;
        MakeTree(changing);
        MakeTree(following);
        if (mode == Bidirectional) {
            t.run.Search(); // the pair's memory: both sides as they are
            t.run.Synchronise();
            ASSERT_TRUE(t.run.SearchHadMemory() || t.run.Plan().RowCount() == 0);
        }
        const std::string photo = IdentityOf(following + "\\写真\\ソ\\7.jpg");
        const std::string moved = IdentityOf(following + "\\a\\moved.txt");
        Change(changing);

        t.run.Search();
        std::vector<std::string> moves;
        int copies = 0;
        for (int i = 0; i < t.run.Plan().RowCount(); ++i) {
            const SyncItem& item = t.run.Plan().Row(i);
            if (item.operation == Move)
                moves.push_back(item.counterpart.RelativePath() + " > " +
                                item.subject.RelativePath());
            copies += item.operation == Copy ? 1 : 0;
        }
        std::sort(moves.begin(), moves.end());
        EXPECT_EQ(
            (std::vector<std::string>{"\\Case.txt > \\CASE.txt", "\\a\\moved.txt > \\b\\moved.txt",
                                      "\\old name.txt > \\new name.txt", "\\写真 > \\photos"}),
            moves);
        EXPECT_EQ(3, copies) << "the two changes of kind and the read-only file";
        t.run.Synchronise();
        EXPECT_EQ(0, t.run.LastSync().rowsFailed) << t.Told();
        EXPECT_EQ(TreeOf(changing), TreeOf(following));
        EXPECT_EQ(photo, IdentityOf(following + "\\photos\\ソ\\7.jpg")) << "renamed, not copied";
        EXPECT_EQ(moved, IdentityOf(following + "\\b\\moved.txt"));
        EXPECT_EQ(std::vector<std::string>{"CASE.txt"}, [&] {
            std::vector<std::string> cased;
            for (const std::string& name : NamesIn(following))
                if (_stricmp(name.c_str(), "case.txt") == 0)
                    cased.push_back(name);
            return cased;
        }());
        t.run.Search();
        EXPECT_EQ(0, t.run.Plan().RowCount());
    }
}
