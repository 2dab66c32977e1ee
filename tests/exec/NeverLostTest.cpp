// What a run does so that nothing it replaces or removes is gone for good and two
// runs never hurt each other: the lock and journal in each folder, the order of a
// replacement, and the versions folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ExecFakes.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "UnixLinks.h"
#include "base/UserSeal.h"
#include "engine/FolderIdentity.h"
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
             RunLock killed;
             killed.Take(root);
             for (const JournalRecord& record :
                  {JournalRecord{JournalRecord::Temporary, "\\~orvane000001.tmp", ""},
                   JournalRecord{JournalRecord::Temporary, "\\sub\\~orvane000002.tmp", ""},
                   JournalRecord{JournalRecord::Backup, "\\~orvane000003.old", "\\表.txt"},
                   JournalRecord{JournalRecord::Backup, "\\~orvane000004.old", "\\b.txt"}})
                 killed.Record(record);
             killed.Abandon();
             std::string journal = ReadFileBytes(root + "\\" + kRunLockName);
             WriteFileBytes(root + "\\" + kRunLockName, journal + "T\t\\cut by the ki");
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
        {"a second name of a file elsewhere, the program's signature in it",
         [](const std::string& root, FolderLocks&) {
             const std::string elsewhere = root + "\\..\\elsewhere.bin";
             WriteFileBytes(elsewhere, "Orvane run lock 2\r\nrun PC 1 2026-12-08 09:00:00\r\n");
             CreateHardLinkA((root + "\\" + kRunLockName).c_str(), elsewhere.c_str(), nullptr);
         },
         false,
         "はこのプログラムが作ったものではないため",
         {}},
        {"larger than any journal",
         [](const std::string& root, FolderLocks&) {
             const std::string lock = root + "\\" + kRunLockName;
             WriteFileBytes(lock, "Orvane run lock 2\r\n");
             HANDLE file =
                 CreateFileA(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             LARGE_INTEGER size;
             size.QuadPart = 65ll << 20;
             SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
             SetEndOfFile(file);
             CloseHandle(file);
         },
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

// A journal is input like any file in a shared folder. One that another user,
// another PC or an earlier version wrote, or whose records name anything but
// the program's own kinds of names in place, changes nothing outside the folder
// and no user's file in it, even where the job deletes for good, and each name
// it passed over is said.
TEST(RunLock, AForgedJournalTouchesNothingButWhatTheProgramMade) {
    enum Seal { Ours, AnotherUsers, EarlierVersion };
    struct Case {
        const char* name;
        Seal seal;
        const char* note; // how each note begins
    };
    const Case cases[] = {
        {"this user's seal, names of every other kind", Ours, kRecordRefusedText},
        {"another user's seal", AnotherUsers, kJournalUntrustedText},
        {"an earlier version's journal", EarlierVersion, kJournalUntrustedText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string root = dir / "ref", outside = dir / "outside";
        ASSERT_TRUE(MakeFolder(root) && MakeFolder(outside) && MakeFolder(root + "\\sub"));
        const std::vector<std::string> theirs = {outside + "\\a.txt", dir / "~orvane0000aa.tmp",
                                                 outside + "\\~orvane0000dd.tmp"};
        const std::vector<std::string> users = {root + "\\only-here.txt",
                                                root + "\\sub\\~orvane0000cc.tmp"};
        for (const std::string& path : theirs)
            ASSERT_TRUE(WriteFileBytes(path, "keep " + path));
        for (const std::string& path : users)
            ASSERT_TRUE(WriteFileBytes(path, "keep " + path));
        // A temporary name that is a second name of a file outside.
        ASSERT_TRUE(
            CreateHardLinkA((root + "\\~orvane0000cc.tmp").c_str(), theirs[0].c_str(), nullptr));
        UnixLinks links;
        const bool linked = UnixLinks::Available() && links.Add(outside, root + "\\linked");
        const std::vector<JournalRecord> records = {
            {JournalRecord::Temporary, theirs[0], ""},
            {JournalRecord::Temporary, "\\..\\~orvane0000aa.tmp", ""},
            {JournalRecord::Temporary, "\\sub<U+005C>..<U+005C>..\\~orvane0000aa.tmp", ""},
            {JournalRecord::Temporary, "\\only-here.txt", ""},
            {JournalRecord::Temporary, "\\\\server\\share\\~orvane0000aa.tmp", ""},
            {JournalRecord::Temporary, "\\~orvane0000cc.tmp", ""},
            {JournalRecord::Temporary, "\\linked\\~orvane0000dd.tmp", ""},
            {JournalRecord::Version, theirs[0], "\\moved-in.txt"},
            {JournalRecord::Version, "\\20261201-000000\\..\\..\\..\\outside\\a.txt",
             "\\..\\..\\outside\\a.txt"},
            {JournalRecord::Backup, "\\~orvane0000bb.old", "\\..\\outside\\a.txt"},
            {JournalRecord::Backup, "\\sub\\~orvane0000bb.old", "\\only-here.txt"},
        };
        const std::string lock = root + "\\" + kRunLockName;
        if (c.seal == Ours) {
            RunLock killed;
            ASSERT_EQ(LockResult::Taken, killed.Take(root));
            for (const JournalRecord& record : records)
                killed.Record(record);
            killed.Abandon();
        } else if (c.seal == AnotherUsers) {
            UserSeal another(std::string(32, 'k'));
            ASSERT_TRUE(WriteFileBytes(
                lock, JournalText("PC 1", FolderIdentityKey(root), "00", records, another)));
        } else {
            std::string text = "Orvane run lock 1\r\nrun PC 1 2026-12-08 09:00:00\r\n";
            for (const JournalRecord& record : records)
                text += (record.kind == JournalRecord::Temporary
                             ? "T\t" + record.path
                             : "V\t" + record.path + "\t" + record.target) +
                        "\r\n";
            ASSERT_TRUE(WriteFileBytes(lock, text));
        }
        std::vector<std::string> notes;
        {
            FolderLocks locks;
            std::string refusal;
            ASSERT_TRUE(locks.Take({{root, true}}, &refusal)) << refusal;
            OldVersions forGood(VersionSettings(), kRunStart); // nothing kept: deleted for good
            locks.ClearLeftovers(forGood, &notes);
        }
        for (const std::string& path : theirs)
            EXPECT_EQ("keep " + path, ReadFileBytes(path)) << path;
        for (const std::string& path : users)
            EXPECT_EQ("keep " + path, ReadFileBytes(path)) << path;
        EXPECT_FALSE(PathExists(root + "\\moved-in.txt"));
        EXPECT_FALSE(PathExists(lock)) << "taken over and let go";
        ASSERT_EQ(c.seal == Ours ? records.size() - (linked ? 0 : 1) : 1u, notes.size());
        for (const std::string& note : notes)
            EXPECT_EQ(0u, note.find(c.note)) << note;
        if (c.seal != Ours) {
            EXPECT_NE(std::string::npos,
                      notes[0].find("」に書かれた" + std::to_string(records.size()) + "件の名前"))
                << notes[0];
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
        {"new version cannot take its name, Recycle Bin", RecycleBin, true, 1, false},
        {"old version cannot move aside for the Recycle Bin, no links", RecycleBin, false, 1,
         false},
        {"old version moved aside, new one cannot take its name, no links", RecycleBin, false, 2,
         false},
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
        // The row's line is its command alone; the next line says why it
        // failed, or where the old version went.
        std::vector<std::string> log = LogOf(logs);
        ASSERT_EQ(2u, log.size());
        EXPECT_EQ(0u, log[0].find(failed ? "失敗:COPY " : "成功:COPY ")) << log[0];
        EXPECT_EQ(log[0].size() - 7, log[0].rfind("能.txt\"")) << "the command alone: " << log[0];
        if (failed) {
            EXPECT_EQ(0u, log[1].find(kReasonPrefix + std::string("「"))) << log[1];
            continue;
        }
        const std::string saved =
            r + "\\" + kVersionsFolderName + "\\" + kRunFolder + "\\表\\能.txt";
        if (c.net == Versions) {
            EXPECT_EQ("old version", ReadFileBytes(saved));
        }
        EXPECT_EQ(kNotePrefix +
                      std::string(c.net == Versions
                                      ? "上書き前のファイルを「" + saved + "」に保存しました"
                                  : c.net == RecycleBin ? "上書き前のファイルをごみ箱に移しました"
                                                        : "上書き前のファイルは完全に削除しました"),
                  log[1]);
    }
}

// Deleted and overwritten entries of one run are found, byte for byte, under
// the run's folder with their paths, wherever the versions folder is and also
// where the Recycle Bin was asked for on a volume that has none; runs beyond
// the limits go at the start of a run, and nothing else in the folder does.
// In a folder the user chose, the runs go into a folder of the program's own
// name: the user's folders there are never taken for runs, whatever their names.
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
        const std::string chosen = dir / "世代";
        const std::string versions = (c.customFolder ? chosen : r) + "\\" + kVersionsFolderName;
        ASSERT_TRUE(MakeFolder(chosen) && MakeFolder(versions));
        const std::vector<std::string> users = {"20200101-000000", "20251231-235959",
                                                "20261201-080000"};
        for (const std::string& folder : users)
            ASSERT_TRUE(MakeFolder(chosen + "\\" + folder));
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
        options.versions.folder = c.customFolder ? chosen : "";
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
        std::vector<std::string> own = users;
        own.push_back(kVersionsFolderName);
        if (c.customFolder) {
            EXPECT_EQ(own, NamesIn(chosen)) << "the user's folders stay";
        }
        std::vector<std::string> log = LogOf(logs);
        size_t removed = c.keep ? 2 : 1, told = c.noRecycleBin ? 1 : 0;
        ASSERT_EQ(removed + told + 6, log.size());
        for (size_t i = 0; i < removed; ++i)
            EXPECT_EQ(0u, log[i].find("世代管理フォルダから古い実行分を削除しました：" + versions +
                                      "\\2026"))
                << log[i];
        if (told) {
            EXPECT_NE(std::string::npos, log[removed].find("にはごみ箱がないため")) << log[removed];
        }
        EXPECT_EQ("成功:DEL " + r + "\\sub\\表.txt", log[removed + told]);
        EXPECT_EQ(kNotePrefix + ("「" + run + "\\sub\\表.txt」に保存しました"),
                  log[removed + told + 1]);
    }
}
