// What a run does so that nothing it replaces or removes is gone for good and two
// runs never hurt each other: the lock and journal in each folder, the order of a
// replacement, and the versions folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ExecFakes.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "engine/ReservedNames.h"
#include "engine/TemporaryName.h"
#include "exec/FolderLocks.h"
#include "exec/Leftovers.h"
#include "exec/SyncExecutor.h"

namespace {

const SYSTEMTIME kRunStart = {2026, 12, 2, 8, 9, 30, 15, 0};
const char kRunFolder[] = "20261208-093015";

SyncOptions LoggingTo(const std::string& folder) {
    SyncOptions options;
    options.outputLog = true;
    options.logFolder = folder;
    options.fastCopy = true;
    options.runStart = kRunStart;
    return options;
}

std::vector<std::string> LogOf(const std::string& folder) {
    std::vector<std::string> names = NamesIn(folder);
    return names.size() == 1 ? ReadLines(folder + "\\" + names[0]) : std::vector<std::string>();
}

// The rename seam: the call numbered `g_failRename` (from 1) fails as a file
// held by another program would make it fail.
int g_renames = 0;
int g_failRename = 0;
BOOL WINAPI RenameFailingOnce(LPCSTR from, LPCSTR to, DWORD flags) {
    if (++g_renames == g_failRename) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return MoveFileExA(from, to, flags);
}

// A volume without hard links, as FAT and some network shares are.
BOOL WINAPI NoLinks(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

} // namespace

// Every state the lock's name can be in when a run starts: free, held by a live
// run, left by a killed run (whose journal alone says which leftovers are the
// program's), or taken by something of the user's, which is never touched.
TEST(RunLock, ASecondRunIsRefusedAndAKilledRunsLeftoversAreKnownByItsJournal) {
    struct Case {
        const char* name;
        std::function<void(const std::string& root, FolderLocks& other)> prepare;
        bool taken;
        const char* refusal;            // part of the refusal text
        std::vector<std::string> notes; // the log's lines, each beginning so
    };
    const Case cases[] = {
        {"free", [](auto&, auto&) {}, true, "", {}},
        {"held by a live run",
         [](const std::string& root, FolderLocks& other) {
             std::string refusal;
             other.Take({{root, true}}, &refusal);
         },
         false,
         "」は別の同期処理が使用中のため、処理を行いませんでした",
         {}},
        {"left by a killed run",
         [](const std::string& root, FolderLocks&) {
             WriteFileBytes(root + "\\~orvane000001.tmp", "part");
             MakeFolder(root + "\\~orvane000003.old");
             WriteFileBytes(root + "\\~orvane000003.old\\表.txt", "old 表");
             MakeFolder(root + "\\~orvane000004.old");
             WriteFileBytes(root + "\\~orvane000004.old\\b.txt", "old b");
             WriteFileBytes(root + "\\b.txt", "new b");
             WriteFileBytes(
                 root + "\\" + kRunLockName,
                 JournalText("PC 1 2026-12-08 09:00:00",
                             {{JournalRecord::Temporary, "\\~orvane000001.tmp", ""},
                              {JournalRecord::Temporary, "\\sub\\~orvane000002.tmp", ""},
                              {JournalRecord::Backup, "\\~orvane000003.old", "\\表.txt"},
                              {JournalRecord::Backup, "\\~orvane000004.old", "\\b.txt"}}) +
                     "T\t\\cut by the ki");
         },
         true,
         "",
         {kLeftoverRemovedText, kBackupRestoredText, kBackupKeptText}},
        {"a file of the user's",
         [](const std::string& root, FolderLocks&) {
             WriteFileBytes(root + "\\" + kRunLockName, "my notes");
         },
         false,
         "はこのプログラムが作ったものではないため",
         {}},
        {"a folder of the user's",
         [](const std::string& root, FolderLocks&) { MakeFolder(root + "\\" + kRunLockName); },
         false,
         "はこのプログラムが作ったものではないため",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string root = dir / "参照 表";
        ASSERT_TRUE(MakeFolder(root) && MakeFolder(root + "\\sub"));
        // Look-alikes of the user's: the journal does not name them.
        ASSERT_TRUE(WriteFileBytes(root + "\\~orvane1a2b3c.tmp", "mine"));
        ASSERT_TRUE(WriteFileBytes(root + "\\sub\\~ORVANE000000.TMP", "mine too"));
        FolderLocks other;
        c.prepare(root, other);
        std::string lockBefore = ReadFileBytes(root + "\\" + kRunLockName);
        {
            FolderLocks locks;
            std::string refusal;
            EXPECT_EQ(c.taken, locks.Take({{dir / "処理", false}, {root, true}}, &refusal));
            if (!c.taken) {
                EXPECT_EQ(0u, refusal.find("「" + root + "」")) << refusal;
                EXPECT_NE(std::string::npos, refusal.find(c.refusal)) << refusal;
            }
            VersionSettings keep;
            keep.keep = true;
            OldVersions versions(keep, kRunStart);
            std::vector<std::string> notes;
            locks.ClearLeftovers(versions, &notes);
            ASSERT_EQ(c.notes.size(), notes.size());
            for (size_t i = 0; i < notes.size(); ++i)
                EXPECT_EQ(0u, notes[i].find(c.notes[i])) << notes[i];
            if (c.taken) {
                EXPECT_FALSE(other.IsHeld());
                // A run that holds the folder keeps out every other run.
                FolderLocks second;
                EXPECT_FALSE(second.Take({{root, false}}, &refusal));
            }
        }
        EXPECT_EQ("mine", ReadFileBytes(root + "\\~orvane1a2b3c.tmp"));
        EXPECT_EQ("mine too", ReadFileBytes(root + "\\sub\\~ORVANE000000.TMP"));
        if (!c.taken && !other.IsHeld()) {
            EXPECT_EQ(lockBefore, ReadFileBytes(root + "\\" + kRunLockName)) << "never touched";
        }
        if (c.taken) {
            EXPECT_FALSE(PathExists(root + "\\" + kRunLockName)) << "gone with the run";
            std::vector<std::string> names = NamesIn(root);
            if (c.notes.empty()) {
                EXPECT_EQ((std::vector<std::string>{"sub", "~orvane1a2b3c.tmp"}), names);
            } else {
                EXPECT_EQ((std::vector<std::string>{"b.txt", "sub", "~orvane-versions",
                                                    "~orvane1a2b3c.tmp", "表.txt"}),
                          names);
                EXPECT_EQ("old 表", ReadFileBytes(root + "\\表.txt")) << "put back";
                EXPECT_EQ("new b", ReadFileBytes(root + "\\b.txt"));
                const std::string run = root + "\\~orvane-versions\\" + kRunFolder;
                EXPECT_EQ("old b", ReadFileBytes(run + "\\b.txt"));
                EXPECT_EQ("part", ReadFileBytes(run + "\\~orvane000001.tmp"));
            }
        }
    }
}

// A replacement whose rename, or whose move into the net, fails at any step
// leaves the old version at the target and no temporary or backup name; when
// every step goes, the old version is in its net.
TEST(Replacement, AFailedStepLeavesTheOldVersionAtTheTarget) {
    enum Net { Nothing, Versions, RecycleBin };
    struct Case {
        const char* name;
        Net net;
        bool links;         // the volume has hard links
        int failRename;     // the rename that fails, counted from 1; 0: none
        bool blockVersions; // a file where the versions folder would go
    };
    const Case cases[] = {
        {"every step, kept nowhere", Nothing, true, 0, false},
        {"every step, versions", Versions, true, 0, false},
        {"every step, versions without links", Versions, false, 0, false},
        {"every step, Recycle Bin", RecycleBin, true, 0, false},
        {"new version cannot take its name, kept nowhere", Nothing, true, 1, false},
        {"new version cannot take its name, versions", Versions, true, 1, false},
        {"old version cannot move to the versions folder", Versions, false, 1, false},
        {"old version moved to the versions folder, new one cannot take its name", Versions, false,
         2, false},
        {"old version cannot move aside for the Recycle Bin", RecycleBin, true, 1, false},
        {"old version moved aside, new one cannot take its name", RecycleBin, true, 2, false},
        {"no versions folder can be made", Versions, true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string p = dir / "p", r = dir / "r ソ", logs = dir / "logs";
        ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(logs));
        ASSERT_TRUE(MakeFolder(p + "\\表") && MakeFolder(r + "\\表"));
        ASSERT_TRUE(WriteFileBytes(p + "\\表\\能.txt", "new version"));
        ASSERT_TRUE(SetLastWriteTime(p + "\\表\\能.txt", UtcFileTime(2024, 4, 4, 4, 4, 4)));
        ASSERT_TRUE(WriteFileBytes(r + "\\表\\能.txt", "old version"));
        if (c.blockVersions) {
            ASSERT_TRUE(WriteFileBytes(r + "\\" + kVersionsFolderName, "in the way"));
        }
        RowList rows;
        rows.items = {DateCopy(p, r, "\\表\\", "能.txt", "能.txt")};
        SyncOptions options = LoggingTo(logs);
        options.versions.keep = c.net == Versions;
        options.useRecycleBin = c.net == RecycleBin;
        options.rename = RenameFailingOnce;
        if (!c.links)
            options.link = NoLinks;
        g_renames = 0;
        g_failRename = c.failRename;
        ProgressRecorder progress;
        ScriptedAnswers answers;
        SyncOutcome outcome;
        {
            FolderLocks locks;
            std::string refusal;
            ASSERT_TRUE(locks.Take({{p, false}, {r, true}}, &refusal));
            options.journal = &locks;
            outcome = ExecuteSync(rows, options, progress, answers);
        }
        const bool failed = c.failRename != 0 || c.blockVersions;
        EXPECT_EQ(failed ? 1 : 0, outcome.rowsFailed);
        EXPECT_EQ(failed ? "old version" : "new version", ReadFileBytes(r + "\\表\\能.txt"));
        EXPECT_EQ(std::vector<std::string>{"能.txt"}, NamesIn(r + "\\表"))
            << "no temporary file or backup name stays";
        std::vector<std::string> log = LogOf(logs);
        ASSERT_EQ(failed ? 2u : 1u, log.size());
        if (failed) {
            EXPECT_EQ(0u, log[1].find(kReasonPrefix + std::string("「"))) << log[1];
            continue;
        }
        if (c.net == Versions) {
            const std::string saved =
                r + "\\" + kVersionsFolderName + "\\" + kRunFolder + "\\表\\能.txt";
            EXPECT_EQ("old version", ReadFileBytes(saved));
            EXPECT_NE(std::string::npos,
                      log[0].find("（上書き前のファイルを「" + saved + "」に保存しました）"))
                << log[0];
        } else {
            EXPECT_NE(std::string::npos,
                      log[0].find(c.net == RecycleBin
                                      ? "（上書き前のファイルをごみ箱に移しました）"
                                      : "（上書き前のファイルは完全に削除しました）"))
                << log[0];
        }
    }
}

// Deleted and overwritten entries of one run are found, byte for byte, under
// the run's folder with their paths, wherever the versions folder is and also
// where the Recycle Bin was asked for on a volume that has none; runs beyond
// the limits go at the start of a run, and nothing else in the folder does.
TEST(Versions, EverythingReplacedOrDeletedIsFoundUnderTheRunsFolder) {
    struct Case {
        const char* name;
        bool keep;
        bool customFolder;
        bool noRecycleBin; // the Recycle Bin asked for on a volume without one
    };
    const Case cases[] = {
        {"default folder", true, false, false},
        {"folder of the user's choice", true, true, false},
        {"Recycle Bin asked for on a volume without one", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        // A path the Recycle Bin cannot serve stands in for a USB stick or a share.
        const std::string base = c.noRecycleBin ? "\\\\?\\" + dir.Path() : dir.Path();
        const std::string p = base + "\\p", r = base + "\\r", logs = dir / "logs";
        ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(logs));
        ASSERT_TRUE(MakeFolder(r + "\\sub") && MakeFolder(r + "\\空") && MakeFolder(p + "\\sub"));
        ASSERT_TRUE(WriteFileBytes(r + "\\sub\\表.txt", std::string("gone\0\x5c", 6)));
        ASSERT_TRUE(SetFileAttributesA((r + "\\sub\\表.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(WriteFileBytes(p + "\\sub\\ソ.bin", "new"));
        ASSERT_TRUE(SetLastWriteTime(p + "\\sub\\ソ.bin", UtcFileTime(2024, 4, 4, 4, 4, 4)));
        ASSERT_TRUE(WriteFileBytes(r + "\\sub\\ソ.bin", "old"));
        const std::string versions = c.customFolder ? dir / "世代" : r + "\\" + kVersionsFolderName;
        ASSERT_TRUE(MakeFolder(versions));
        for (const char* old : {"20261101-000000", "20261205-000000", "20261206-000000",
                                "20261207-000000", "notarun"}) {
            ASSERT_TRUE(MakeFolder(versions + "\\" + old));
            ASSERT_TRUE(WriteFileBytes(versions + "\\" + old + "\\x.txt", old));
        }
        RowList rows;
        rows.items = {FileDelete(r, "\\sub\\", "表.txt"), FolderDelete(r, "\\", "空"),
                      DateCopy(p, r, "\\sub\\", "ソ.bin", "ソ.bin")};
        SyncOptions options = LoggingTo(logs);
        options.processingFolder = p;
        options.referenceFolder = r;
        options.useRecycleBin = c.noRecycleBin;
        options.versions.keep = c.keep;
        options.versions.folder = c.customFolder ? versions : "";
        options.versions.days = 30;
        options.versions.runs = 3;
        ProgressRecorder progress;
        ScriptedAnswers answers;
        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);

        EXPECT_EQ(0, outcome.rowsFailed);
        EXPECT_EQ(std::vector<std::string>{"ソ.bin"}, NamesIn(r + "\\sub"));
        EXPECT_EQ("new", ReadFileBytes(r + "\\sub\\ソ.bin"));
        const std::string run = versions + "\\" + kRunFolder;
        EXPECT_EQ(std::string("gone\0\x5c", 6), ReadFileBytes(run + "\\sub\\表.txt"));
        EXPECT_EQ("old", ReadFileBytes(run + "\\sub\\ソ.bin"));
        EXPECT_TRUE(IsFolder(run + "\\空"));
        // Without the job's own limits, the defaults: 30 days, any number of runs.
        std::vector<std::string> kept =
            c.keep ? std::vector<std::string>{"20261206-000000", "20261207-000000", kRunFolder,
                                              "notarun"}
                   : std::vector<std::string>{"20261205-000000", "20261206-000000",
                                              "20261207-000000", kRunFolder, "notarun"};
        EXPECT_EQ(kept, NamesIn(versions));
        std::vector<std::string> log = LogOf(logs);
        size_t removed = c.keep ? 2 : 1, told = c.noRecycleBin ? 1 : 0;
        ASSERT_EQ(removed + told + 3, log.size());
        for (size_t i = 0; i < removed; ++i)
            EXPECT_EQ(0u, log[i].find("世代管理フォルダから古い実行分を削除しました：" + versions +
                                      "\\2026"))
                << log[i];
        if (told) {
            EXPECT_NE(std::string::npos, log[removed].find("にはごみ箱がないため")) << log[removed];
        }
        EXPECT_EQ("成功:DEL " + r + "\\sub\\表.txt（「" + run + "\\sub\\表.txt」に保存しました）",
                  log[removed + told]);
    }
}
