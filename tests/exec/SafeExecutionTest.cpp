// What the executor does so that no version is lost: copies that break off
// part-way, rows whose files changed after the search, and runs that would
// delete most of a side.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ExecFakes.h"
#include "LimitedWrite.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "UnixLinks.h"
#include "engine/TemporaryName.h"
#include "engine/ReservedNames.h"
#include "exec/FolderLocks.h"
#include "exec/Leftovers.h"
#include "exec/SyncExecutor.h"
#include "exec/StatusText.h"
#include "exec/RecycleBin.h"
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/FileHandle.h"
#include "base/NameText.h"
#include "base/WideFiles.h"

namespace {

SyncOptions LoggingTo(const std::string& folder) {
    SyncOptions options;
    options.outputLog = true;
    options.logFolder = folder;
    options.fastCopy = true;
    return options;
}

std::vector<std::string> LogOf(const std::string& folder) {
    std::vector<std::string> names = NamesIn(folder);
    return names.size() == 1 ? ReadLines(folder + "\\" + names[0]) : std::vector<std::string>();
}

// Stands for the process being killed: nothing after the throw runs.
struct Killed {};
int g_writesBeforeKill = -1;
BOOL WINAPI WriteThenKill(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    if (g_writesBeforeKill-- == 0)
        throw Killed();
    return WriteFile(file, data, size, written, overlapped);
}

// A disk that takes every block and says so, but keeps one byte of the
// second block wrong.
int g_writesBeforeGarble = -1;
BOOL WINAPI WriteGarbled(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                         LPOVERLAPPED overlapped) {
    if (g_writesBeforeGarble-- != 0 || size == 0)
        return WriteFile(file, data, size, written, overlapped);
    std::string garbled(static_cast<const char*>(data), size);
    garbled[size / 2] ^= 0x20;
    return WriteFile(file, garbled.data(), size, written, overlapped);
}

} // namespace

// A 3 MiB copy breaks off in its second block. The old target (or the free
// name) stays exactly as it was; the next run of the same list, taking the
// folders after the killed run, removes what its journal names and finishes
// the copy. A copy the disk garbled is caught when it is read back.
TEST(SafeCopy, CopyBrokenOffPartWayLeavesTheOldTargetAndNoPartialFile) {
    enum Fault { FullDisk, Stop, Kill, Garbled };
    for (Fault fault : {FullDisk, Stop, Kill, Garbled}) {
        for (bool replace : {true, false}) {
            SCOPED_TRACE(testing::Message() << "fault " << fault << " replace " << replace);
            TempDir dir;
            const std::string p = dir / "処理", r = dir / "参照 表", logs = dir / "logs";
            ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(logs));
            const std::string content(3 << 20, 'n');
            ASSERT_TRUE(WriteFileBytes(p + "\\ソ.bin", content));
            ASSERT_TRUE(SetLastWriteTime(p + "\\ソ.bin", UtcFileTime(2022, 2, 2, 2, 2, 2)));
            if (replace) {
                ASSERT_TRUE(WriteFileBytes(r + "\\ソ.bin", "old version"));
                ASSERT_TRUE(SetLastWriteTime(r + "\\ソ.bin", UtcFileTime(2020, 1, 1, 0, 0, 0)));
            }
            RowList rows;
            rows.items = {replace ? DateCopy(p, r, "\\", "ソ.bin", "ソ.bin")
                                  : ExistenceCopy(p, r, "\\", "ソ.bin")};
            SyncOptions options = LoggingTo(logs);
            ProgressRecorder progress;
            ScriptedAnswers answers;
            SyncOutcome outcome;
            if (fault == FullDisk) {
                options.write = WriteWithinBudget;
                g_writeBudget = (1 << 20) + 12345;
            } else if (fault == Stop) {
                progress.stopAtPoll = 1; // the first poll after the row's own
            } else if (fault == Kill) {
                options.write = WriteThenKill;
                g_writesBeforeKill = 1;
            } else {
                options.write = WriteGarbled;
                options.verifyCopies = true;
                g_writesBeforeGarble = 1;
            }
            bool killed = false;
            {
                FolderLocks locks;
                std::string refusal;
                ASSERT_TRUE(locks.Take({{p, false}, {r, true}}, &refusal)) << refusal;
                options.journal = &locks;
                try {
                    outcome = ExecuteSync(rows, options, progress, answers);
                } catch (const Killed&) {
                    killed = true;
                    locks.Abandon(); // as the system closes a killed process's handles
                }
            }
            g_writeBudget = -1;
            EXPECT_EQ(fault == Kill, killed);

            std::vector<std::string> names = NamesIn(r);
            std::vector<std::string> expected;
            if (replace)
                expected.push_back("ソ.bin");
            if (killed) {
                auto lock = std::find(names.begin(), names.end(), kRunLockName);
                ASSERT_NE(names.end(), lock) << "a killed run's lock stays";
                names.erase(lock);
                auto temporary = std::find_if(names.begin(), names.end(), [](auto& name) {
                    return IsTemporaryName(name.c_str());
                });
                ASSERT_NE(names.end(), temporary) << "a killed copy leaves its temporary file";
                names.erase(temporary);
            }
            EXPECT_EQ(expected, names);
            if (replace) {
                EXPECT_EQ("old version", ReadFileBytes(r + "\\ソ.bin"));
            }
            if (fault == FullDisk || fault == Garbled) {
                EXPECT_EQ(1, outcome.rowsFailed);
                EXPECT_EQ(0u, LogOf(logs).at(0).find("失敗:COPY"));
            }
            if (fault == Garbled) {
                ASSERT_EQ(1u, outcome.failures.size());
                EXPECT_EQ("「" + r +
                              "\\ソ.bin」へのコピーを読み返した内容が元のファイルと一致しません",
                          outcome.failures[0].reason);
            }
            if (fault == Stop) {
                EXPECT_EQ(SyncEnd::Stopped, outcome.end);
                EXPECT_EQ(1, outcome.RowsNotDone());
                EXPECT_TRUE(LogOf(logs).empty());
            }

            // The next run of the same list.
            TempDir nextLogs;
            {
                FolderLocks locks;
                std::string refusal;
                ASSERT_TRUE(locks.Take({{p, false}, {r, true}}, &refusal)) << refusal;
                OldVersions nets(VersionSettings(), SYSTEMTIME{2026, 12, 2, 8, 9, 30, 15, 0});
                std::vector<std::string> notes;
                locks.ClearLeftovers(nets, &notes);
                SyncOptions next = LoggingTo(nextLogs.Path());
                next.verifyCopies = fault == Garbled;
                next.journal = &locks;
                next.notesBefore = &notes;
                outcome = ExecuteSync(rows, next, progress, answers);
            }
            EXPECT_EQ(0, outcome.rowsFailed);
            EXPECT_EQ(std::vector<std::string>{"ソ.bin"}, NamesIn(r));
            EXPECT_TRUE(content == ReadFileBytes(r + "\\ソ.bin"));
            // A replacement's line is followed by where the old version went,
            // a verified copy's by that it was verified.
            std::vector<std::string> log = LogOf(nextLogs.Path());
            const size_t rowLines = replace || fault == Garbled ? 2u : 1u;
            ASSERT_EQ((killed ? 1u : 0u) + rowLines, log.size());
            if (killed) {
                EXPECT_EQ(0u, log[0].find(kLeftoverRemovedText + r + "\\~orvane")) << log[0];
                EXPECT_NE(std::string::npos, log[0].find("（完全に削除しました）")) << log[0];
            }
            EXPECT_EQ(0u, log[log.size() - rowLines].find("成功:COPY"));
            if (fault == Garbled) {
                EXPECT_EQ(0u, log.back().find("　コピー後に内容を確認しました")) << log.back();
            }
        }
    }
}

// A source written to while it is copied, by a writer the share mode does not
// stop (a process on the file server): here its time moves at the second block.
std::string g_touchWhileCopying;
int g_blocksBeforeTouch = 0;
BOOL WINAPI WriteThenTouchSource(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                 LPOVERLAPPED overlapped) {
    if (!g_touchWhileCopying.empty() && g_blocksBeforeTouch-- == 0) {
        FileHandle source(OpenPath(g_touchWhileCopying, FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
        const FILETIME moved = UtcFileTime(2024, 5, 5, 5, 5, 5);
        if (!SetFileTime(source.Get(), nullptr, nullptr, &moved))
            return FALSE;
        g_touchWhileCopying.clear();
    }
    return WriteFile(file, data, size, written, overlapped);
}

TEST(SafeCopy, ASourceWrittenToDuringItsCopyFailsTheRowAndKeepsTheTarget) {
    TempDir dir;
    const std::string p = dir / "p", r = dir / "r";
    ASSERT_TRUE(MakeFolder(p) && MakeFolder(r));
    ASSERT_TRUE(WriteFileBytes(p + "\\表.bin", std::string(3 << 20, 's')));
    ASSERT_TRUE(WriteFileBytes(r + "\\表.bin", "old version"));
    ASSERT_TRUE(SetLastWriteTime(r + "\\表.bin", UtcFileTime(2020, 1, 1, 0, 0, 0)));
    RowList rows;
    rows.items = {DateCopy(p, r, "\\", "表.bin", "表.bin")};
    SyncOptions options;
    options.fastCopy = true;
    options.write = WriteThenTouchSource;
    g_touchWhileCopying = p + "\\表.bin";
    g_blocksBeforeTouch = 1;
    ProgressRecorder progress;
    ScriptedAnswers answers;
    SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);
    EXPECT_TRUE(g_touchWhileCopying.empty()) << "the copy reached its second block";
    ASSERT_EQ(1u, outcome.failures.size());
    EXPECT_EQ("「" + p + "\\表.bin」は検索の後で変更されたか、なくなっています",
              outcome.failures[0].reason);
    EXPECT_EQ("old version", ReadFileBytes(r + "\\表.bin"));
    EXPECT_EQ(std::vector<std::string>{"表.bin"}, NamesIn(r));
}

// Each row is built, as by a search, before something changes on disk; a row
// whose files are no longer as seen is not carried out.
TEST(SafeCopy, RowsWhoseFilesChangedAfterTheSearchAreNotCarriedOut) {
    struct Case {
        const char* name;
        char kind; // D date copy, E existence copy, X file deletion
        std::function<void(const std::string& p, const std::string& r)> change;
        bool succeeded;
        const char* target; // the content at the reference side afterwards ("" none)
    } cases[] = {
        {"unchanged date copy", 'D', nullptr, true, "source"},
        {"target edited", 'D',
         [](auto&, auto& r) { WriteFileBytes(r + "\\f.txt", "edited by hand"); }, false,
         "edited by hand"},
        {"target gone", 'D', [](auto&, auto& r) { DeleteFileA((r + "\\f.txt").c_str()); }, false,
         ""},
        {"source edited", 'D', [](auto& p, auto&) { WriteFileBytes(p + "\\f.txt", "changed"); },
         false, "target"},
        {"target created", 'E', [](auto&, auto& r) { WriteFileBytes(r + "\\f.txt", "made"); },
         false, "made"},
        {"unchanged existence copy", 'E', nullptr, true, "source"},
        // The same version under another spelling is not the file the row makes.
        {"source's version made as F.TXT", 'E',
         [](auto& p, auto& r) {
             WriteFileBytes(r + "\\F.TXT", "source");
             SetLastWriteTime(r + "\\F.TXT", GetLastWriteTime(p + "\\f.txt"));
         },
         false, "source"},
        {"deletion of an edited file", 'X',
         [](auto&, auto& r) { WriteFileBytes(r + "\\f.txt", "edited"); }, false, "edited"},
        {"deletion of a file now a folder", 'X',
         [](auto&, auto& r) {
             DeleteFileA((r + "\\f.txt").c_str());
             MakeFolder(r + "\\f.txt");
         },
         false, ""},
        {"unchanged deletion", 'X', nullptr, true, ""},
    };
    for (const Case& c : cases) {
        for (bool fastCopy : {true, false}) {
            TempDir dir;
            const std::string p = dir / "p", r = dir / "r", logs = dir / "logs";
            ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(logs));
            ASSERT_TRUE(WriteFileBytes(p + "\\f.txt", "source"));
            ASSERT_TRUE(SetLastWriteTime(p + "\\f.txt", UtcFileTime(2023, 3, 3, 3, 3, 3)));
            if (c.kind != 'E') {
                ASSERT_TRUE(WriteFileBytes(r + "\\f.txt", "target"));
                ASSERT_TRUE(SetLastWriteTime(r + "\\f.txt", UtcFileTime(2021, 1, 1, 1, 1, 1)));
            }
            RowList rows;
            rows.items = {c.kind == 'D'   ? DateCopy(p, r, "\\", "f.txt", "f.txt")
                          : c.kind == 'E' ? ExistenceCopy(p, r, "\\", "f.txt")
                                          : FileDelete(r, "\\", "f.txt")};
            if (c.change)
                c.change(p, r);
            SyncOptions options = LoggingTo(logs);
            options.fastCopy = fastCopy;
            ProgressRecorder progress;
            ScriptedAnswers answers;
            SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);

            EXPECT_EQ(c.succeeded ? 0 : 1, outcome.rowsFailed) << c.name;
            std::vector<std::string> log = LogOf(logs);
            // A failed row's reason, or a replaced or deleted file's net, follows.
            ASSERT_EQ(c.succeeded && c.kind == 'E' ? 1u : 2u, log.size()) << c.name;
            EXPECT_EQ(c.succeeded ? "成功:" : "失敗:", log[0].substr(0, 5)) << c.name;
            if (!c.succeeded) {
                EXPECT_EQ(kReasonPrefix + std::string("「"), log[1].substr(0, 10)) << c.name;
            }
            std::string left = IsFolder(r + "\\f.txt") ? "" : ReadFileBytes(r + "\\f.txt");
            EXPECT_EQ(c.target, left) << c.name << " fast " << fastCopy;
            EXPECT_EQ(IsFolder(r + "\\f.txt") ? 1u : (left.empty() ? 0u : 1u), NamesIn(r).size())
                << c.name << ": no temporary file stays";

            // The same list again: a copy already made counts as done.
            if (c.succeeded && c.kind != 'X') {
                FILETIME before = GetLastWriteTime(r + "\\f.txt");
                TempDir again;
                outcome = ExecuteSync(rows, LoggingTo(again.Path()), progress, answers);
                EXPECT_EQ(0, outcome.rowsFailed) << c.name;
                FILETIME after = GetLastWriteTime(r + "\\f.txt");
                EXPECT_EQ(0, CompareFileTime(&before, &after)) << c.name;
            }
        }
    }
}

// A folder swapped for a link to a folder outside the job while the run is
// under way (here at the first row's first write), and a file replaced by a
// link to a file outside: what is outside has twins of the same size and time,
// so only where things really are tells them apart. Nothing outside changes.
UnixLinks* g_swapLinks = nullptr;
std::string g_swapFolder, g_swapTarget;
BOOL WINAPI WriteThenSwap(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    if (!g_swapFolder.empty()) {
        MoveFileA(g_swapFolder.c_str(), (g_swapFolder + "-moved").c_str());
        g_swapLinks->Add(g_swapTarget, g_swapFolder);
        g_swapFolder.clear();
    }
    return WriteFile(file, data, size, written, overlapped);
}

TEST(SafeCopy, AFolderOrFileThatBecameALinkIsNeverFollowed) {
    if (!UnixLinks::Available())
        GTEST_SKIP() << "links are made from the host under Wine";
    TempDir dir;
    const std::string p = dir / "p", r = dir / "r", outside = dir / "outside", logs = dir / "logs";
    for (const std::string& folder : {p, r, outside, logs, p + "\\sub", r + "\\sub", r + "\\keep"})
        ASSERT_TRUE(MakeFolder(folder));
    const FILETIME old = UtcFileTime(2020, 1, 1, 0, 0, 0), newer = UtcFileTime(2024, 1, 1, 0, 0, 0);
    auto put = [](const std::string& path, const std::string& bytes, const FILETIME& time) {
        return WriteFileBytes(path, bytes) && SetLastWriteTime(path, time);
    };
    ASSERT_TRUE(put(p + "\\first.txt", "first", newer));
    ASSERT_TRUE(put(p + "\\sub\\y.txt", "new y", newer));
    for (const std::string& folder : {r + "\\sub", outside}) {
        ASSERT_TRUE(put(folder + "\\x.txt", "old x", old));
        ASSERT_TRUE(put(folder + "\\y.txt", "old y", old));
        ASSERT_TRUE(put(folder + "\\z.txt", "old z", old));
    }
    RowList rows;
    rows.items = {ExistenceCopy(p, r, "\\", "first.txt"), FileDelete(r, "\\sub\\", "x.txt"),
                  DateCopy(p, r, "\\sub\\", "y.txt", "y.txt"), FileDelete(r, "\\keep\\", "z.txt"),
                  FolderDelete(r, "\\", "sub")};
    // The search saw a file here; a link to the twin outside took its place.
    ASSERT_TRUE(put(r + "\\keep\\z.txt", "old z", old));
    rows.items[3] = FileDelete(r, "\\keep\\", "z.txt");
    ASSERT_TRUE(DeleteFileA((r + "\\keep\\z.txt").c_str()));
    UnixLinks links;
    ASSERT_TRUE(links.Add(outside + "\\z.txt", r + "\\keep\\z.txt"));
    g_swapLinks = &links;
    g_swapFolder = r + "\\sub";
    g_swapTarget = outside;
    SyncOptions options = LoggingTo(logs);
    options.write = WriteThenSwap;
    ProgressRecorder progress;
    ScriptedAnswers answers;
    SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);
    ASSERT_TRUE(g_swapFolder.empty()) << "the swap took place";

    EXPECT_EQ(4, outcome.rowsFailed);
    for (const RowFailure& failure : outcome.failures)
        EXPECT_NE(std::string::npos, failure.reason.find("同期するフォルダの外を指しているため"))
            << failure.reason;
    EXPECT_EQ((std::vector<std::string>{"x.txt", "y.txt", "z.txt"}), NamesIn(outside));
    EXPECT_EQ("old x", ReadFileBytes(outside + "\\x.txt"));
    EXPECT_EQ("old y", ReadFileBytes(outside + "\\y.txt"));
    EXPECT_EQ("old z", ReadFileBytes(outside + "\\z.txt"));
    EXPECT_EQ("first", ReadFileBytes(r + "\\first.txt"));
}

// Files on each side: the reference side holds `files` files in one folder and
// the rows delete `deleted` of them (and the folder too when all go).
TEST(MassDeletionGuard, AsksOrRefusesBeforeEmptyingASideOrDeletingMostOfIt) {
    struct Case {
        const char* name;
        int files, deleted;
        bool unattended, allowed;
        std::vector<int> answers;
        size_t questions;
        SyncEnd end;
    } cases[] = {
        {"every entry, unattended", 1, 1, true, false, {}, 0, SyncEnd::Refused},
        {"every entry, answered no", 3, 3, false, false, {IDNO}, 1, SyncEnd::Refused},
        {"every entry, answered yes", 3, 3, false, false, {IDYES}, 1, SyncEnd::AllRows},
        {"every entry, allowed by the job", 3, 3, true, true, {}, 0, SyncEnd::AllRows},
        {"50 of 99 files", 99, 50, true, false, {}, 0, SyncEnd::Refused},
        {"50 of 100 files is not more than half", 100, 50, true, false, {}, 0, SyncEnd::AllRows},
        {"49 of 60 files is fewer than 50", 60, 49, true, false, {}, 0, SyncEnd::AllRows},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string p = dir / "p", r = dir / "r", logs = dir / "logs";
        ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(r + "\\sub") && MakeFolder(logs));
        RowList rows;
        for (int i = 0; i < c.files; ++i) {
            std::string name = std::to_string(i) + ".txt";
            ASSERT_TRUE(WriteFileBytes(r + "\\sub\\" + name, "x"));
            if (i < c.deleted)
                rows.items.push_back(FileDelete(r, "\\sub\\", name));
        }
        if (c.deleted == c.files)
            rows.items.push_back(FolderDelete(r, "\\", "sub"));
        SyncOptions options = LoggingTo(logs);
        options.unattended = c.unattended;
        options.allowMassDeletion = c.allowed;
        options.processingFolder = p;
        options.referenceFolder = r;
        options.countsKnown = true;
        options.processingFound = {0, 0};
        options.referenceFound = {c.files + 1, c.files};
        ProgressRecorder progress;
        ScriptedAnswers answers(c.answers, IDNO);
        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);

        EXPECT_EQ(c.end, outcome.end) << c.name;
        EXPECT_EQ(c.questions, answers.asked.size()) << c.name;
        int left = static_cast<int>(NamesIn(r + "\\sub").size());
        std::vector<std::string> log = LogOf(logs);
        if (c.end == SyncEnd::Refused) {
            EXPECT_EQ(c.files, left) << c.name;
            EXPECT_EQ(static_cast<int>(rows.items.size()), outcome.RowsNotDone()) << c.name;
            ASSERT_EQ(1u, log.size()) << c.name;
            EXPECT_EQ(kMassDeletionRefusedText + std::string("参照フォルダ：") +
                          std::to_string(c.files + 1) + " 件中 " +
                          std::to_string(rows.items.size()) + " 件を削除（うちファイル " +
                          std::to_string(c.files) + " 件中 " + std::to_string(c.deleted) + " 件）",
                      log[0])
                << c.name;
            EXPECT_EQ("削除が多すぎるため、同期処理を行いませんでした", SyncStatusText(outcome));
        } else {
            EXPECT_EQ(c.files - c.deleted, left) << c.name;
            EXPECT_EQ(2 * rows.items.size(), log.size()) << c.name << ": each line and its note";
        }
        if (c.questions > 0) {
            EXPECT_EQ(0u, answers.asked[0].find("多数の削除が予定されています。\n参照フォルダ：4 "
                                                "件中 4 件を削除（うちファイル 3 件中 3 件）\n"))
                << answers.asked[0];
        }
    }
}

TEST(SyncStatusText, SaysHowManyRowsFailedOrWereNotCarriedOut) {
    struct Case {
        SyncEnd end;
        int failed, notDone;
        const char* text;
    } cases[] = {
        {SyncEnd::AllRows, 0, 0, "同期処理が完了しました"},
        {SyncEnd::AllRows, 3, 0, "同期処理が完了しました（失敗 3 件）"},
        {SyncEnd::Stopped, 0, 5, "同期処理を中止しました（未処理 5 件）"},
        {SyncEnd::Aborted, 1, 2, "同期処理を中断しました（失敗 1 件、未処理 2 件）"},
    };
    for (const Case& c : cases) {
        SyncOutcome outcome;
        outcome.end = c.end;
        outcome.rows = 10;
        outcome.rowsReached = outcome.rows - c.notDone;
        outcome.rowsFailed = c.failed;
        EXPECT_EQ(c.text, SyncStatusText(outcome));
    }
}

long long ItemsInRecycleBin(const std::string& path) {
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    EXPECT_EQ(S_OK, SHQueryRecycleBinA(VolumeRootOf(path).c_str(), &info));
    return info.i64NumItems;
}

// The folders the shell's restore would put the bin's items of this name back
// into: the original location the bin shows for each.
std::vector<std::string> RecycleBinOrigins(const std::wstring& name) {
    std::vector<std::string> origins;
    CoInitialize(nullptr);
    IShellFolder* desktop = nullptr;
    LPITEMIDLIST binList = nullptr;
    IShellFolder2* bin = nullptr;
    IEnumIDList* items = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)) ||
        FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &binList)) ||
        FAILED(desktop->BindToObject(binList, nullptr, IID_IShellFolder2,
                                     reinterpret_cast<void**>(&bin))) ||
        bin->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) != S_OK)
        return origins;
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        STRRET text;
        SHELLDETAILS location = {};
        wchar_t itemName[MAX_PATH] = {}, origin[MAX_PATH] = {};
        if (SUCCEEDED(bin->GetDisplayNameOf(item, SHGDN_NORMAL, &text)) &&
            SUCCEEDED(StrRetToBufW(&text, item, itemName, MAX_PATH)) && name == itemName &&
            SUCCEEDED(bin->GetDetailsOf(item, 1, &location)) &&
            SUCCEEDED(StrRetToBufW(&location.str, item, origin, MAX_PATH)))
            origins.push_back(TextFromWide(origin, wcslen(origin)));
        CoTaskMemFree(item);
    }
    items->Release();
    bin->Release();
    CoTaskMemFree(binList);
    desktop->Release();
    return origins;
}

// A file deleted, an empty folder deleted and a file overwritten: with the
// option each leaves one item in the Recycle Bin, without it none.
TEST(RecycleBin, DeletedAndOverwrittenFilesGoThereOnlyWhenTheJobSaysSo) {
    for (bool recycle : {true, false}) {
        TempDir dir;
        const std::string p = dir / "p", r = dir / "r", logs = dir / "logs";
        ASSERT_TRUE(MakeFolder(p) && MakeFolder(r) && MakeFolder(r + "\\空") && MakeFolder(logs));
        ASSERT_TRUE(WriteFileBytes(p + "\\f.txt", "new"));
        ASSERT_TRUE(SetLastWriteTime(p + "\\f.txt", UtcFileTime(2024, 4, 4, 4, 4, 4)));
        ASSERT_TRUE(WriteFileBytes(r + "\\f.txt", "old"));
        ASSERT_TRUE(WriteFileBytes(r + "\\表.txt", "gone"));
        ASSERT_TRUE(SetFileAttributesA((r + "\\表.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        RowList rows;
        rows.items = {FileDelete(r, "\\", "表.txt"), FolderDelete(r, "\\", "空"),
                      DateCopy(p, r, "\\", "f.txt", "f.txt")};
        SyncOptions options = LoggingTo(logs);
        options.useRecycleBin = recycle;
        ProgressRecorder progress;
        ScriptedAnswers answers;
        RecycleBinVolumes volumes;
        ASSERT_TRUE(volumes.HasRecycleBin(r)) << "the test folder's volume has a Recycle Bin";
        long long before = ItemsInRecycleBin(r);
        SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);

        EXPECT_EQ(0, outcome.rowsFailed);
        EXPECT_EQ(std::vector<std::string>{"f.txt"}, NamesIn(r));
        EXPECT_EQ("new", ReadFileBytes(r + "\\f.txt"));
        EXPECT_EQ(recycle ? 3 : 0, ItemsInRecycleBin(r) - before);
        // Each row's line is followed by where the old version went.
        std::vector<std::string> log = LogOf(logs);
        ASSERT_EQ(6u, log.size());
        for (size_t i = 1; i < log.size(); i += 2) {
            EXPECT_EQ(0u, log[i].find(kNotePrefix)) << log[i];
            EXPECT_EQ(log[i].size() - 18,
                      log[i].rfind(recycle ? "ごみ箱に移しました" : "完全に削除しました"))
                << log[i];
        }
        // An overwritten file goes to the bin from its own path, so the shell's
        // restore puts it back there, not into a folder of the program's.
        if (recycle) {
            std::vector<std::string> origins = RecycleBinOrigins(L"f.txt");
            EXPECT_NE(origins.end(), std::find(origins.begin(), origins.end(), r));
            for (const std::string& origin : origins)
                EXPECT_EQ(std::string::npos, origin.find(dir.Path() + "\\r\\~orvane")) << origin;
        }
    }
}
