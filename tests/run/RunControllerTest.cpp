// The controller driven as the program drives it, with a host that records
// what the user would see: every way a run ends is told, and only where the
// user can read it.
#include <gtest/gtest.h>

#include <utility>

#include "ControllerRun.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "framework/Profile.h"
#include "exec/BatchWriter.h"
#include "job/JobContext.h"
#include "job/JobFile.h"
#include "run/RunController.h"
#include "run/SyncStateFile.h"

TEST(RunController, UnattendedRunTellsEachFailedRowWithItsReason) {
    ControllerRun t;
    WriteFileBytes(t.p + "\\a.txt", "new");
    SetLastWriteTime(t.p + "\\a.txt", UtcFileTime(2021, 1, 1, 0, 0, 0));
    WriteFileBytes(t.r + "\\a.txt", "old");
    SetLastWriteTime(t.r + "\\a.txt", UtcFileTime(2020, 1, 1, 0, 0, 0));
    std::string jobPath = t.dir / "job.orvane";
    WriteJobFile(jobPath, t.jobs.currentJob);
    // Held open without sharing: the copy cannot replace it.
    HANDLE held =
        CreateFileA((t.r + "\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    t.run.SetUnattended(true);
    StartArguments start;
    start.unattended = true;
    start.jobPath = jobPath;
    t.run.StartFirstJob(start);
    CloseHandle(held);

    EXPECT_EQ(1, ExitCodeFor(t.run.Facts()));
    ASSERT_EQ(2u, t.host.told.size()) << t.Told();
    EXPECT_EQ("失敗:COPY \"" + t.p + "\\a.txt\" \"" + t.r + "\\a.txt\"\r\n　理由: 「" + t.r +
                  "\\a.txt」をコピーした新しい版に置き換えられません: ",
              t.host.told[0].substr(0, t.host.told[0].rfind(": ") + 2));
    EXPECT_EQ("同期処理が完了しました（失敗 1 件）", t.host.told[1]);
    EXPECT_EQ("old", ReadFileBytes(t.r + "\\a.txt"));
}

TEST(RunController, EveryEndOfABatchExportIsToldAsItIs) {
    struct Case {
        const char* name;
        const char* file; // in the test folder
        int stopAtPoll;
        const wchar_t* wideName; // the one file planned, made in UTF-16; null: a.txt
        const char* status;
        bool told; // a message box as well
    } const cases[] = {
        {"written", "x.bat", -1, nullptr, "バッチファイル出力が完了しました", false},
        {"stopped", "x.bat", 0, nullptr, "バッチファイル出力を中止しました（0 行を出力）", false},
        {"not created", "missing\\x.bat", -1, nullptr, "バッチファイルを作成できませんでした",
         true},
        // The file cannot name it: the row is only a comment, and the user is told.
        {"left out", "x.bat", -1, L"caf\u00e9.txt",
         "バッチファイル出力が完了しました（1 件は出力できませんでした）", true},
    };
    for (const Case& c : cases) {
        ControllerRun t;
        if (c.wideName)
            ASSERT_TRUE(MakeWidePath(t.p, c.wideName));
        else
            WriteFileBytes(t.p + "\\a.txt", "a");
        t.run.Search();
        ASSERT_EQ(1, t.run.Plan().RowCount()) << c.name;
        t.host.pollsBeforeStop = c.stopAtPoll;
        t.host.told.clear();
        t.run.ExportBatch(t.dir / c.file);
        EXPECT_EQ(c.status, t.host.status) << c.name;
        EXPECT_EQ(c.told, !t.host.told.empty()) << c.name << ": " << t.Told();
        if (c.told && c.wideName) {
            EXPECT_EQ(BatchLeftOutText(1), t.host.told[0]);
        } else if (c.told) {
            EXPECT_EQ(0u, t.host.told[0].find("バッチファイル「" + t.dir / c.file +
                                              "」を作成できません: "))
                << t.Told();
        }
    }
}

// The polls of a long operation dispatch the window's messages only every few
// tens of milliseconds. A click not yet taken by them still ends a search as
// stopped, and no question opens over it.
TEST(RunController, AClickThePacedPollsHaveNotTakenStopsBeforeAnyQuestion) {
    {
        ControllerRun t;
        WriteFileBytes(t.p + "\\a.txt", "a");
        t.host.clickWaiting = true;
        t.run.Search();
        EXPECT_EQ(SearchEnd::Stopped, t.run.Facts().search) << "pressed during the last pass";
        EXPECT_EQ(0, t.run.Plan().RowCount());
        EXPECT_EQ("処理を中断しました|", t.Told());
    }
    {
        ControllerRun t;
        t.jobs.currentJob.deleteEnabled = 1;
        t.jobs.currentJob.confirmDelete = 1;
        WriteFileBytes(t.r + "\\old.txt", "o");
        t.run.Search();
        ASSERT_EQ(1, t.run.Plan().RowCount());
        t.host.clickWaiting = true;
        t.run.Synchronise();
        EXPECT_EQ(0, t.host.questions) << "no deletion question";
        EXPECT_TRUE(PathExists(t.r + "\\old.txt"));
        EXPECT_EQ(SyncEnd::Stopped, t.run.Facts().syncEnd);
    }
    {
        ControllerRun t;
        auto* item = new SyncItem;
        item->operation = Copy;
        item->reason = Existence;
        item->direction = ProcessingToReference;
        item->subject.rootFolder = "\\\\server\\share";
        item->subject.relativeFolder = "\\";
        item->subject.name = "a.txt";
        item->counterpart.rootFolder = t.r;
        t.run.Plan().InsertRow(item, 0);
        t.host.clickWaiting = true;
        t.run.ExportBatch(t.dir / "x.bat");
        EXPECT_EQ(0, t.host.questions) << "no network question";
        EXPECT_EQ("バッチファイル出力を中止しました（0 行を出力）", t.host.status);
    }
}

namespace {

// Another run holds one of the folders: interactively the search and the
// synchronisation each say which folder and do nothing; unattended, the run
// does nothing at all and ends with 2. Once the other run lets go, the same
// controller works again, and the folders are free between its operations.
TEST(RunController, AFolderHeldByAnotherRunIsRefusedAndNothingIsDone) {
    for (bool unattended : {false, true}) {
        SCOPED_TRACE(unattended ? "unattended" : "interactive");
        ControllerRun t;
        WriteFileBytes(t.p + "\\a.txt", "a");
        std::string jobPath = t.dir / "job.orvane";
        WriteJobFile(jobPath, t.jobs.currentJob);
        const std::string refusal =
            "「" + t.r + "」は別の同期処理が使用中のため、処理を行いませんでした";
        FolderLocks other;
        std::string text;
        ASSERT_TRUE(other.Take({{t.r, true}}, &text));
        t.run.SetUnattended(unattended);
        if (unattended) {
            StartArguments start;
            start.unattended = true;
            start.jobPath = jobPath;
            t.run.StartFirstJob(start);
            EXPECT_EQ(2, ExitCodeFor(t.run.Facts()));
        } else {
            t.run.Search();
            other.Release();
            t.run.Search();
            ASSERT_EQ(1, t.run.Plan().RowCount());
            // Between the search and the synchronisation the folders are free.
            FolderLocks between;
            ASSERT_TRUE(between.Take({{t.p, false}, {t.r, true}}, &text)) << text;
            t.run.Synchronise();
            between.Release();
            EXPECT_EQ(0, t.run.LastSync().rowsReached);
        }
        ASSERT_FALSE(t.host.told.empty());
        EXPECT_EQ(refusal, t.host.told[0]);
        EXPECT_EQ("a", ReadFileBytes(t.p + "\\a.txt"));
        EXPECT_FALSE(PathExists(t.r + "\\a.txt")) << "nothing done";
        if (!unattended) {
            ASSERT_EQ(2u, t.host.told.size()) << t.Told();
            EXPECT_EQ(0u, t.host.told[1].find("「" + t.p + "」")) << t.host.told[1];
            t.run.Synchronise();
            EXPECT_EQ("a", ReadFileBytes(t.r + "\\a.txt"))
                << "carried out once the folders are free";
            // A refused search leaves no earlier rows to be carried out unheld.
            ASSERT_TRUE(other.Take({{t.p, false}}, &text));
            t.run.Search();
            EXPECT_EQ(0, t.run.Plan().RowCount());
        }
    }
}

// Files below an ANSI root named in UTF-16, always through the \\?\ form with
// the wide functions: what the test writes and reads never depends on the
// program's own conversions.
std::wstring WideOf(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                     wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(length));
    return L"\\\\?\\" + wide;
}

bool PutFile(const std::wstring& path, const std::string& bytes, const FILETIME& time) {
    for (size_t at = path.find(L'\\', 8); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool done =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        SetFileTime(file, nullptr, nullptr, &time);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return done && written == bytes.size();
}

// The file's bytes, or "(none)" when there is no file of exactly that name.
std::string GetFile(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "(none)";
    FindClose(search);
    if (path.compare(path.rfind(L'\\') + 1, std::wstring::npos, found.cFileName) != 0)
        return "(none)"; // only a case or normalisation variant
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    std::string bytes(4096, '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

} // namespace

// Names without a Shift-JIS form and a path of 400 characters, in every mode
// with deletions: each reaches the other side byte for byte under its exact
// name, and a second search plans nothing. A Mac-made ガイド.pdf (カ + U+3099)
// and a Windows-made one are one file: the newer one overwrites the other under
// that one's spelling. ΑΒΓ.txt beside αβγ.txt in one folder (case-sensitive
// storage) are one file to Windows: both left out, and reported.
TEST(RunController, EveryNameAndPathReachesTheOtherSideUnderItsExactName) {
    const std::wstring deep(92, L'd');
    const std::wstring nfd = L"\u30AB\u3099\u30A4\u30C9.pdf", nfc = L"\u30AC\u30A4\u30C9.pdf";
    const std::wstring names[] = {
        L"caf\u00e9.txt",
        L"\uD55C\uAD6D\uC5B4 \uBB38\uC11C.txt",
        L"\U0001F600 smile.txt",
        nfd,
        L"\u6CE2\u301C.txt",
        L"Beyonc\u00e9\\\u66F2.txt",
        deep + L"\\" + deep + L"\\" + deep + L"\\" + deep + L"\\deep caf\u00e9 \u8868\u30BD.txt",
    };
    const FILETIME older = UtcFileTime(2026, 11, 1, 1, 0, 0);
    const FILETIME newer = UtcFileTime(2026, 12, 1, 1, 0, 0);
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        ControllerRun t;
        t.jobs.currentJob.mode = mode;
        t.jobs.currentJob.deleteEnabled = 1;
        t.jobs.currentJob.includeSubfolders = 1;
        const std::wstring from = WideOf(mode == 1 ? t.r : t.p), to = WideOf(mode == 1 ? t.p : t.r);
        for (size_t i = 0; i < std::size(names); ++i)
            ASSERT_TRUE(PutFile(from + L"\\" + names[i], "file " + std::to_string(i), newer));
        ASSERT_TRUE(PutFile(from + L"\\\u8CC7\u6599\\" + nfd, "new", newer));
        ASSERT_TRUE(PutFile(to + L"\\\u8CC7\u6599\\" + nfc, "old", older));
        ASSERT_TRUE(PutFile(to + L"\\Zo\u00eb.txt", "only here", newer));
        const std::wstring upper = L"\\\u0391\u0392\u0393.txt", lower = L"\\\u03B1\u03B2\u03B3.txt";
        ASSERT_TRUE(PutFile(from + upper, "upper", newer) && PutFile(from + lower, "lower", newer));
        const bool twins = GetFile(from + upper) == "upper"; // storage that holds both

        t.run.Search();
        EXPECT_EQ(twins ? 2u : 0u, t.run.LeftOutPaths().size());
        t.run.Synchronise();
        EXPECT_EQ(0, t.run.LastSync().rowsFailed) << t.Told();
        for (size_t i = 0; i < std::size(names); ++i)
            EXPECT_EQ("file " + std::to_string(i), GetFile(to + L"\\" + names[i])) << i;
        EXPECT_EQ("new", GetFile(to + L"\\\u8CC7\u6599\\" + nfc));
        EXPECT_EQ("(none)", GetFile(to + L"\\\u8CC7\u6599\\" + nfd));
        if (mode == 0)
            EXPECT_EQ("only here", GetFile(from + L"\\Zo\u00eb.txt"));
        else
            EXPECT_EQ("(none)", GetFile(to + L"\\Zo\u00eb.txt"));
        if (twins) {
            EXPECT_EQ("(none)", GetFile(to + upper));
            EXPECT_EQ("(none)", GetFile(to + lower));
            EXPECT_EQ("upper", GetFile(from + upper));
            EXPECT_EQ("lower", GetFile(from + lower));
        }

        t.run.Search();
        EXPECT_EQ(0, t.run.Plan().RowCount());
    }
}

// Runs in sequence on one pair with memory: a deletion travels to the other
// side (a folder with its contents) and is not copied back, an edit on both
// sides is a conflict that nothing overwrites until the user picks a side, a
// restored older file is copied, and a damaged memory is no memory.
TEST(RunController, TwoWayMemoryCarriesDeletionsAndKeepsConflictsForTheUser) {
    ControllerRun t;
    JobSettings& job = t.jobs.currentJob;
    job.mode = Bidirectional;
    job.rememberState = 1;
    job.deleteEnabled = 1;
    job.includeSubfolders = 1;
    const std::string stateFolder = t.dir / "state";
    t.run.SetStateFolder(stateFolder);
    const FILETIME first = UtcFileTime(2025, 1, 1, 0, 0, 0);
    const FILETIME later = UtcFileTime(2025, 2, 1, 0, 0, 0);
    const FILETIME older = UtcFileTime(2024, 1, 1, 0, 0, 0);
    auto put = [](const std::string& path, const std::string& bytes, const FILETIME& time) {
        return WriteFileBytes(path, bytes) && SetLastWriteTime(path, time);
    };
    auto rowsOf = [&t](int operation, int reason) {
        std::vector<std::string> paths;
        for (int i = 0; i < t.run.Plan().RowCount(); ++i) {
            const SyncItem& item = t.run.Plan().Row(i);
            if (item.operation == operation && item.reason == reason)
                paths.push_back(item.subject.RelativePath());
        }
        return paths;
    };
    using Paths = std::vector<std::string>;
    ASSERT_TRUE(MakeFolder(t.p + "\\表 sub"));
    for (const char* name : {"\\a.txt", "\\b.txt", "\\c.txt", "\\表 sub\\d.txt"})
        ASSERT_TRUE(put(t.p + name, name, first));

    t.run.Search(); // no memory yet: everything is copied
    EXPECT_FALSE(t.run.SearchHadMemory());
    t.run.Synchronise();
    ASSERT_EQ("\\b.txt", ReadFileBytes(t.r + "\\b.txt"));

    ASSERT_TRUE(DeleteFileA((t.p + "\\a.txt").c_str()));
    ASSERT_TRUE(DeleteFileA((t.p + "\\表 sub\\d.txt").c_str()) &&
                RemoveDirectoryA((t.p + "\\表 sub").c_str()));
    ASSERT_TRUE(put(t.p + "\\b.txt", "processing edit", later));
    ASSERT_TRUE(put(t.r + "\\b.txt", "reference edit, longer", later));
    ASSERT_TRUE(put(t.r + "\\c.txt", "restored", older));
    t.run.Search();
    EXPECT_TRUE(t.run.SearchHadMemory());
    EXPECT_EQ((Paths{"\\表 sub\\d.txt", "\\a.txt", "\\表 sub"}), rowsOf(Delete, Deleted));
    EXPECT_EQ((Paths{"\\b.txt"}), rowsOf(Conflict, Date));
    EXPECT_EQ((Paths{"\\c.txt"}), rowsOf(Copy, Date));
    EXPECT_EQ(5, t.run.Plan().RowCount());
    t.run.Synchronise();
    EXPECT_FALSE(PathExists(t.r + "\\a.txt"));
    EXPECT_FALSE(PathExists(t.r + "\\表 sub"));
    EXPECT_EQ("processing edit", ReadFileBytes(t.p + "\\b.txt"));
    EXPECT_EQ("reference edit, longer", ReadFileBytes(t.r + "\\b.txt"));
    EXPECT_EQ("restored", ReadFileBytes(t.p + "\\c.txt"));
    ASSERT_EQ(1u, t.run.LastSync().conflicts.size());
    RunFacts facts = t.run.Facts();
    facts.unattended = true;
    EXPECT_EQ(1, ExitCodeFor(facts));

    // Nothing comes back; the conflict stays until a side is chosen.
    t.run.Search();
    EXPECT_EQ((Paths{"\\b.txt"}), rowsOf(Conflict, Date));
    ASSERT_EQ(1, t.run.Plan().RowCount());
    EXPECT_EQ(1, t.run.Plan().ResolveConflicts({true}, false));
    EXPECT_EQ((Paths{"\\b.txt"}), rowsOf(Copy, Date));
    t.run.Synchronise();
    EXPECT_EQ("reference edit, longer", ReadFileBytes(t.p + "\\b.txt"));
    t.run.Search();
    EXPECT_EQ(0, t.run.Plan().RowCount());

    // A damaged memory: today's rules, so a deleted file is copied back, never deleted.
    std::string statePath = StateFilePath(t.p, t.r, stateFolder);
    std::string bytes = ReadFileBytes(statePath);
    ASSERT_GT(bytes.size(), 40u);
    bytes[bytes.size() / 2] ^= 0x20;
    ASSERT_TRUE(WriteFileBytes(statePath, bytes));
    ASSERT_TRUE(DeleteFileA((t.p + "\\c.txt").c_str()));
    t.run.Search();
    EXPECT_FALSE(t.run.SearchHadMemory());
    EXPECT_EQ((Paths{"\\c.txt"}), rowsOf(Copy, Existence));
    EXPECT_EQ(1, t.run.Plan().RowCount());

    // The reference folder deleted and made anew, one file copied back with its
    // time: not the remembered folder, even where the file system hands it the
    // old identity and the file its old number, so the processing side's other
    // files are copied, never deleted.
    t.run.Synchronise();
    t.run.Search();
    ASSERT_TRUE(t.run.SearchHadMemory());
    ASSERT_EQ(0, t.run.Plan().RowCount());
    RemoveTree(t.r);
    ASSERT_TRUE(MakeFolder(t.r));
    ASSERT_TRUE(CopyFileA((t.p + "\\b.txt").c_str(), (t.r + "\\b.txt").c_str(), FALSE));
    const bool sameIdentity = StateFilePath(t.p, t.r, stateFolder) == statePath;
    t.run.SetUnattended(true); // so the run's notes are told
    t.run.Search();
    EXPECT_FALSE(t.run.SearchHadMemory());
    EXPECT_EQ((Paths{"\\c.txt"}), rowsOf(Copy, Existence));
    EXPECT_EQ(1, t.run.Plan().RowCount());
    EXPECT_EQ(sameIdentity, t.Told().find(kMemoryDoesNotFitText) != std::string::npos) << t.Told();
    // The old memory waits for no later folder of that identity: removed when it
    // does not fit, or, for a folder of another identity now at its path, with
    // the next memory written.
    if (!sameIdentity) {
        t.run.Synchronise();
        EXPECT_TRUE(PathExists(StateFilePath(t.p, t.r, stateFolder)));
    }
    EXPECT_FALSE(PathExists(statePath));
}
