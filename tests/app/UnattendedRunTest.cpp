// "Orvane.exe -s job.orvane" as a scheduled run starts it: a process of its own
// that searches, synchronises without asking and ends by itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "OrvaneSession.h"
#include "ProgramProcess.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "UnixLinks.h"
#include "base/UserSeal.h"
#include "engine/FolderIdentity.h"
#include "engine/ReservedNames.h"
#include "exec/RunLock.h"
#include "job/JobFile.h"

namespace {

// The job file as an editor saves it in UTF-8 without a mark.
std::string AsUtf8(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(),
                                                        static_cast<int>(ansi.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

class UnattendedRun : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettingsKey();
        proc = dir / "処理 表";
        ref = dir / "参照 ソ";
        logs = dir / "logs";
        MakeFolder(proc);
        MakeFolder(ref);
        MakeFolder(logs);
        job.mode = 2;
        job.processingFolder = proc;
        job.referenceFolder = ref;
        job.includeSubfolders = 1;
        job.deleteEnabled = 1;
        job.confirmDelete = 1; // never asked in an unattended run
        job.fastCopy = 1;
        job.outputLog = 1;
        job.logFolder = logs;
        jobPath = dir / "job.orvane";
    }
    void TearDown() override { ClearSettingsKey(); }

    void Save() { WriteJobFile(jobPath, job); }

    // The lines of the one log file the run wrote.
    std::vector<std::string> LogLines() {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((logs + "\\*.log").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return {};
        FindClose(find);
        std::string text = ReadFileBytes(logs + "\\" + found.cFileName);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
        return lines;
    }

    TempDir dir;
    std::string proc, ref, logs, jobPath;
    JobSettings job;
};

TEST_F(UnattendedRun, UpdatesTheReferenceFolderAndLogsEveryAction) {
    FILETIME old = UtcFileTime(2020, 1, 1, 0, 0, 0);
    FILETIME newer = UtcFileTime(2021, 1, 1, 0, 0, 0);
    MakeFolder(proc + "\\表");
    WriteFileBytes(proc + "\\表\\新.txt", "new");
    WriteFileBytes(proc + "\\same.txt", "newer");
    SetLastWriteTime(proc + "\\same.txt", newer);
    WriteFileBytes(ref + "\\same.txt", "older");
    SetLastWriteTime(ref + "\\same.txt", old);
    MakeFolder(ref + "\\gone");
    WriteFileBytes(ref + "\\gone\\x.txt", "x");
    SetFileAttributesA((ref + "\\gone\\x.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    // A user's file that looks like a copy's temporary file is a file like any other.
    WriteFileBytes(proc + "\\~orvane1a2b3c.tmp", "mine");
    Save();

    ASSERT_TRUE(RunOrvane("-s " + Quoted(jobPath)));

    EXPECT_EQ("mine", ReadFileBytes(ref + "\\~orvane1a2b3c.tmp"));
    EXPECT_EQ("new", ReadFileBytes(ref + "\\表\\新.txt"));
    EXPECT_EQ("newer", ReadFileBytes(ref + "\\same.txt"));
    EXPECT_FALSE(PathExists(ref + "\\gone"));
    std::vector<std::string> expected = {
        "成功:DEL \"" + ref + "\\gone\\x.txt\"",
        "　完全に削除しました",
        "成功:RMDIR \"" + ref + "\\gone\"",
        "　完全に削除しました",
        "成功:MKDIR \"" + ref + "\\表\"",
        "成功:COPY \"" + proc + "\\same.txt\" \"" + ref + "\\same.txt\"",
        "　上書き前のファイルは完全に削除しました",
        "成功:COPY \"" + proc + "\\~orvane1a2b3c.tmp\" \"" + ref + "\\~orvane1a2b3c.tmp\"",
        "成功:COPY \"" + proc + "\\表\\新.txt\" \"" + ref + "\\表\\新.txt\"",
    };
    EXPECT_EQ(expected, LogLines());
    // The window never showed, yet its bars are still switched on for the next start.
    EXPECT_EQ(1, ReadSettingsInt("Bars-Bar0", "Visible", -1));
    EXPECT_EQ(1, ReadSettingsInt("Bars-Bar1", "Visible", -1));
}

TEST_F(UnattendedRun, ModeOneUpdatesTheProcessingFolder) {
    job.mode = 1;
    job.allowMassDeletion = 1; // the job means to replace everything it has
    WriteFileBytes(ref + "\\from-ref.txt", "r");
    WriteFileBytes(proc + "\\only-proc.txt", "p");
    Save();
    ASSERT_TRUE(RunOrvane("-s " + Quoted(jobPath)));
    EXPECT_EQ("r", ReadFileBytes(proc + "\\from-ref.txt"));
    EXPECT_FALSE(PathExists(proc + "\\only-proc.txt"));
    EXPECT_FALSE(PathExists(ref + "\\only-proc.txt"));
}

TEST_F(UnattendedRun, BidirectionalCopiesBothWaysAndDeletesNothing) {
    job.mode = 0;
    WriteFileBytes(ref + "\\from-ref.txt", "r");
    WriteFileBytes(proc + "\\from-proc.txt", "p");
    Save();
    ASSERT_TRUE(RunOrvane("-s " + Quoted(jobPath)));
    EXPECT_EQ("r", ReadFileBytes(proc + "\\from-ref.txt"));
    EXPECT_EQ("p", ReadFileBytes(ref + "\\from-proc.txt"));
    EXPECT_EQ(2u, LogLines().size());
}

// A wrong or emptied folder makes the other side look deleted: nothing is done,
// no question is shown, and the log says why.
TEST_F(UnattendedRun, RunThatWouldEmptyASideDoesNothing) {
    for (const char* name : {"a.txt", "b.txt"})
        WriteFileBytes(ref + "\\" + name, name);
    WriteFileBytes(proc + "\\new.txt", "n");
    Save();
    ProgramRun run = RunOrvaneCaptured("-s " + Quoted(jobPath));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_TRUE(PathExists(ref + "\\a.txt") && PathExists(ref + "\\b.txt"));
    EXPECT_FALSE(PathExists(ref + "\\new.txt")) << "no row at all is carried out";
    const std::string refusal = "削除が多すぎるため、同期処理を行いませんでした：参照フォルダ：2 "
                                "件中 2 件を削除（うちファイル 2 件中 2 件）";
    EXPECT_EQ(std::vector<std::string>{refusal}, LogLines());
    EXPECT_EQ(refusal + "\r\n", run.standardError) << "a scheduler's output says why too";
}

TEST_F(UnattendedRun, CommandLineFoldersReplaceTheJobsFoldersForThisRunOnly) {
    job.processingFolder = dir / "nowhere-p";
    job.referenceFolder = dir / "nowhere-r";
    Save();
    WriteFileBytes(proc + "\\a.txt", "a");
    std::string before = ReadFileBytes(jobPath);
    // Quotes around the whole argument or only around the folder; a trailing
    // backslash goes, as the settings dialog drops it.
    ASSERT_TRUE(
        RunOrvane("-S " + Quoted(jobPath) + " \"--proc" + proc + "\\\" --ref\"" + ref + "\""));
    EXPECT_EQ("a", ReadFileBytes(ref + "\\a.txt"));
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("成功:COPY \"" + proc + "\\a.txt\" \"" + ref + "\\a.txt\"", lines[0]);
    EXPECT_EQ(before, ReadFileBytes(jobPath)) << "the job file is not changed";
}

TEST_F(UnattendedRun, MissingFolderDoesNothingAndLogsTheSystemText) {
    job.processingFolder = dir / "missing";
    WriteFileBytes(ref + "\\keep.txt", "k");
    Save();
    ASSERT_TRUE(RunOrvane("-s " + Quoted(jobPath)));
    EXPECT_EQ("k", ReadFileBytes(ref + "\\keep.txt")) << "nothing deleted";
    std::vector<std::string> lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_FALSE(lines[0].empty()) << "the system's text for a path that cannot be found";
    EXPECT_EQ(std::string::npos, lines[0].find("成功"));
}

// Every way a scheduled run can end, told by its exit code and its standard error;
// none of them may show a box or run into the time limit.
TEST_F(UnattendedRun, ExitCodeAndReasonTellHowTheRunEnded) {
    struct Case {
        const char* name;
        std::function<std::string()> prepare; // makes the case, returns the arguments
        DWORD code;
        std::string errorPart; // in the standard error; empty: nothing written there
        bool copied;           // whether proc\a.txt reached the reference folder
    };
    auto raw = [this](const char* key, const char* value) {
        Save();
        WritePrivateProfileStringA("Settings", key, value, jobPath.c_str());
        return "-s " + Quoted(jobPath);
    };
    HANDLE held = INVALID_HANDLE_VALUE;
    const Case cases[] = {
        {"every row done", [&] { return raw("Mode", "2"); }, 0, "", true},
        {"a row failed",
         [&] {
             // The target is held open without sharing, so its copy fails.
             WriteFileBytes(proc + "\\held.txt", "new");
             SetLastWriteTime(proc + "\\held.txt", UtcFileTime(2021, 1, 1, 0, 0, 0));
             WriteFileBytes(ref + "\\held.txt", "old");
             SetLastWriteTime(ref + "\\held.txt", UtcFileTime(2020, 1, 1, 0, 0, 0));
             held = CreateFileA((ref + "\\held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
             return raw("Mode", "2");
         },
         1, "held.txt\"\r\n　理由: 「" + ref + "\\held.txt」", true},
        {"job file missing", [&] { return "-s " + Quoted(dir / "none.orvane"); }, 2,
         "none.orvane を開けません。", false},
        {"job file is a folder",
         [&] {
             MakeFolder(dir / "folder.orvane");
             return "-s " + Quoted(dir / "folder.orvane");
         },
         2, "folder.orvane を開けません。", false},
        {"mode in hexadecimal", [&] { return raw("Mode", "0x2"); }, 2, "Mode の値「0x2」", false},
        {"mode that wraps round", [&] { return raw("Mode", "4294967298"); }, 2,
         "Mode の値「4294967298」", false},
        {"mode empty", [&] { return raw("Mode", ""); }, 2, "Mode の値「」", false},
        {"switch out of range", [&] { return raw("SubFolder", "2"); }, 2, "SubFolder の値「2」",
         false},
        {"relative folder on the command line",
         [&] { return raw("Mode", "2") + " --procrelative\\p"; }, 2,
         "--proc のフォルダ「relative\\p」は絶対パスではありません", false},
        {"processing folder missing", [&] { return raw("BaseDir", (dir / "gone").c_str()); }, 2,
         "\r\n", false},
        {"log folder missing", [&] { return raw("LogDir", (dir / "no logs").c_str()); }, 2,
         "ログファイルが開けません\r\n" + dir / "no logs", false},
        {"excluded folder outside the job's folders",
         [&] { return raw("RmDir", (dir / "elsewhere").c_str()); }, 2,
         "除外フォルダ（RmDir）の「" + dir / "elsewhere" + "」は使えません", false},
        {"excluded extension with a wildcard inside", [&] { return raw("DelExt", "b*k"); }, 2,
         "除外拡張子（DelExt）の「b*k」は使えません", false},
        {"UTF-8 job file with a value that has no Shift-JIS form",
         [&] {
             Save();
             std::string text = AsUtf8(ReadFileBytes(jobPath));
             text.insert(text.find("RmDir=") + 6, "\xE3\x80\x9C"); // 〜 as macOS writes it
             WriteFileBytes(jobPath, text);
             return "-s " + Quoted(jobPath);
         },
         2, "の RmDir の値に、このプログラムで扱えない文字が含まれています", false},
        {"another run holds the reference folder",
         [&] {
             held = CreateFileA((ref + "\\~orvane-run.lock").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, 0, nullptr);
             return raw("Mode", "2");
         },
         2, "「" + ref + "」は別の同期処理が使用中のため、処理を行いませんでした", false},
        {"a file of the lock's name that is not the program's",
         [&] {
             WriteFileBytes(ref + "\\~orvane-run.lock", "my notes");
             return raw("Mode", "2");
         },
         2, "「" + ref + "」にある「~orvane-run.lock」はこのプログラムが作ったものではない", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA((ref + "\\a.txt").c_str());
        DeleteFileA(jobPath.c_str()); // each case writes its own job file
        WriteFileBytes(proc + "\\a.txt", "a");
        job = JobSettings();
        SetUp();
        std::string arguments = c.prepare();
        ProgramRun run = RunOrvaneCaptured(arguments);
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
        }
        // Whatever held the lock's name is the test's, and the run left it alone.
        std::string lock = ref + "\\~orvane-run.lock";
        if (PathExists(lock)) {
            EXPECT_NE(0u, c.code) << "a run that ended leaves no lock";
            if (ReadFileBytes(lock) != "") {
                EXPECT_EQ("my notes", ReadFileBytes(lock));
            }
            DeleteFileA(lock.c_str());
        }
        ASSERT_TRUE(run.ended) << "the run reached the time limit";
        EXPECT_EQ("", run.boxText);
        EXPECT_EQ(c.code, run.exitCode);
        if (c.errorPart.empty())
            EXPECT_EQ("", run.standardError);
        else
            EXPECT_NE(std::string::npos, run.standardError.find(c.errorPart)) << run.standardError;
        EXPECT_EQ(c.copied, PathExists(ref + "\\a.txt"));
    }
}

// Notepad saves UTF-8 without a mark. Read as Shift-JIS, 同期\写真 would name
// 蜷梧悄\蜀咏悄; where folders of the misread names exist, the run must not touch them.
TEST_F(UnattendedRun, Utf8JobWithoutMarkActsOnTheFoldersItNames) {
    const std::string twins[] = {dir / "蜷梧悄\\蜀咏悄", dir / "險倬鹸", dir / "繝ｭ繧ｰ"};
    MakeFolder(dir / "蜷梧悄");
    for (const std::string& twin : twins) {
        ASSERT_TRUE(MakeFolder(twin));
        ASSERT_TRUE(WriteFileBytes(twin + "\\only.txt", "precious"));
    }
    MakeFolder(dir / "同期");
    job.processingFolder = dir / "同期\\写真";
    job.referenceFolder = dir / "記録";
    job.logFolder = logs = dir / "ログ";
    job.allowMassDeletion = 1;
    for (const std::string& folder : {job.processingFolder, job.referenceFolder, logs})
        ASSERT_TRUE(MakeFolder(folder));
    WriteFileBytes(job.processingFolder + "\\a.txt", "new");
    WriteFileBytes(job.referenceFolder + "\\only.txt", "old");
    Save();
    ASSERT_TRUE(WriteFileBytes(jobPath, AsUtf8(ReadFileBytes(jobPath))));

    ProgramRun run = RunOrvaneCaptured("-s " + Quoted(jobPath));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(0u, run.exitCode) << run.standardError;
    EXPECT_EQ("new", ReadFileBytes(job.referenceFolder + "\\a.txt"));
    EXPECT_FALSE(PathExists(job.referenceFolder + "\\only.txt"));
    EXPECT_EQ(3u, LogLines().size()); // the deletion's note on a line of its own
    for (const std::string& twin : twins) {
        EXPECT_EQ("precious", ReadFileBytes(twin + "\\only.txt")) << twin;
        WIN32_FIND_DATAA found;
        HANDLE log = FindFirstFileA((twin + "\\*.log").c_str(), &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, log) << "a log in " << twin;
        if (log != INVALID_HANDLE_VALUE)
            FindClose(log);
    }
}

TEST_F(UnattendedRun, StopEndsWithThreeAndLeavesTheRestUndone) {
    const int files = 400;
    for (int i = 0; i < files; ++i)
        WriteFileBytes(proc + "\\f" + std::to_string(i) + ".txt", "x");
    Save();
    ProgramRun run = RunOrvaneCaptured("-s " + Quoted(jobPath), 60000, true);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(3u, run.exitCode);
    EXPECT_EQ("", run.boxText);
    std::vector<std::string> lines = LogLines();
    EXPECT_LT(lines.size(), static_cast<size_t>(files));
}

TEST_F(UnattendedRun, JobWithoutReferenceFolderTouchesNothing) {
    // A job file without TargetDir: the reference folder is empty, which must not
    // be taken for the root of the current drive.
    job.referenceFolder.clear();
    WriteFileBytes(proc + "\\a.txt", "a");
    Save();
    ASSERT_TRUE(RunOrvane("-s " + Quoted(jobPath)));
    EXPECT_EQ((std::vector<std::string>{"参照フォルダが指定されていません"}), LogLines());
}

// What anybody who can write to a shared folder can put there under the
// program's own names: a journal sealed by another user's key, a lock that is
// a second name of a file elsewhere or a link to one, a versions folder that
// is a link to a folder elsewhere. The real program changes nothing outside the
// job and no file of the user's, and says what it passed over.
TEST_F(UnattendedRun, NamesPlantedInASharedFolderChangeNothingOutsideTheJob) {
    struct Case {
        const char* name;
        std::function<bool(const std::string& r, const std::string& outside)> plant;
        bool links; // needs links made from the host
        DWORD exitCode;
        const char* reason; // part of the standard error
    };
    const std::string lock = std::string("\\") + kRunLockName;
    const Case cases[] = {
        {"a journal sealed by another user",
         [&](const std::string& r, const std::string& outside) {
             UserSeal another(std::string(32, 'x'));
             return WriteFileBytes(
                 r + lock,
                 JournalText("PC 1", FolderIdentityKey(r), "01",
                             {{JournalRecord::Temporary, outside + "\\big.bin", ""},
                              {JournalRecord::Temporary, "\\only-here.txt", ""},
                              {JournalRecord::Version, outside + "\\big.bin", "\\in.bin"}},
                             another));
         },
         false, 0, "使用中の印の記録を確かめられないため"},
        {"a lock that is a second name of a file outside",
         [&](const std::string& r, const std::string& outside) {
             return CreateHardLinkA((r + lock).c_str(), (outside + "\\big.bin").c_str(), nullptr) !=
                    FALSE;
         },
         false, 2, "このプログラムが作ったものではないため"},
        {"a lock that is a link to a file outside",
         [&](const std::string& r, const std::string& outside) {
             return MakeUnixLink(UnixPathOf(outside) + "/big.bin",
                                 UnixPathOf(r) + "/" + kRunLockName, r + lock);
         },
         true, 2, "このプログラムが作ったものではないため"},
        {"a versions folder that is a link to a folder outside",
         [&](const std::string& r, const std::string& outside) {
             return MakeUnixLink(UnixPathOf(outside), UnixPathOf(r) + "/" + kVersionsFolderName,
                                 r + "\\" + kVersionsFolderName);
         },
         true, 1, "同期するフォルダの外を指しているため"},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.links && !UnixLinks::Available())
            continue;
        const std::string base = dir / ("case" + std::to_string(++number));
        const std::string p = base + "\\p", r = base + "\\r", outside = base + "\\outside";
        for (const std::string& folder : {base, p, r, outside, outside + "\\20200101-000000"})
            ASSERT_TRUE(MakeFolder(folder));
        ASSERT_TRUE(WriteFileBytes(outside + "\\big.bin", "outside's own"));
        ASSERT_TRUE(WriteFileBytes(outside + "\\20200101-000000\\x.txt", "an old folder"));
        ASSERT_TRUE(WriteFileBytes(r + "\\only-here.txt", "the user's"));
        ASSERT_TRUE(WriteFileBytes(p + "\\new.txt", "new"));
        ASSERT_TRUE(c.plant(r, outside));
        job.processingFolder = p;
        job.referenceFolder = r;
        job.deleteEnabled = c.exitCode == 1; // only the versions case deletes
        job.keepVersions = 1;
        job.versionsDays = 1;
        job.allowMassDeletion = 1;
        job.outputLog = 0;
        Save();
        ProgramRun run = RunOrvaneCaptured("-s " + Quoted(jobPath));
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(c.exitCode, run.exitCode) << run.standardError;
        EXPECT_NE(std::string::npos, run.standardError.find(c.reason)) << run.standardError;
        EXPECT_EQ("outside's own", ReadFileBytes(outside + "\\big.bin"));
        EXPECT_EQ("an old folder", ReadFileBytes(outside + "\\20200101-000000\\x.txt"));
        EXPECT_EQ((std::vector<std::string>{"20200101-000000", "big.bin"}), NamesIn(outside));
        EXPECT_EQ("the user's", ReadFileBytes(r + "\\only-here.txt"));
        if (c.links)
            RemoveUnixLink(UnixPathOf(r) + "/" +
                               (c.exitCode == 2 ? kRunLockName : kVersionsFolderName),
                           r + "\\" + (c.exitCode == 2 ? kRunLockName : kVersionsFolderName));
    }
}

// A scheduled run in the wrong direction, put back with "-s -u": both folders
// are again what they were, byte for byte; "-s -u" once more undoes the undo;
// with nothing left to undo the run says so and does nothing.
TEST_F(UnattendedRun, UndoPutsTheLastRunBackAndAnUndoIsUndoneToo) {
    const FILETIME old = UtcFileTime(2020, 1, 1, 0, 0, 0), newer = UtcFileTime(2024, 1, 1, 0, 0, 0);
    MakeFolder(proc + "\\表");
    MakeFolder(ref + "\\表");
    MakeFolder(ref + "\\ソ");
    for (int i = 0; i < 100; ++i) {
        const std::string name = "\\表\\" + std::to_string(i) + ".txt";
        WriteFileBytes(proc + name, "stale");
        SetLastWriteTime(proc + name, newer);
        WriteFileBytes(ref + name, "the work " + std::to_string(i));
        SetLastWriteTime(ref + name, old);
        WriteFileBytes(ref + "\\ソ\\" + std::to_string(i) + ".txt", "only here");
    }
    job.keepVersions = 1;
    job.allowMassDeletion = 1;
    Save();
    const Tree processingBefore = TreeOf(proc), referenceBefore = TreeOf(ref);
    ProgramRun run = RunOrvaneCaptured("-s " + Quoted(jobPath));
    ASSERT_EQ(0u, run.exitCode) << run.standardError;
    const Tree referenceAfterRun = TreeOf(ref);
    ASSERT_NE(referenceBefore, referenceAfterRun);

    run = RunOrvaneCaptured("-s -u " + Quoted(jobPath));
    EXPECT_EQ(0u, run.exitCode) << run.standardError;
    EXPECT_EQ(referenceBefore, TreeOf(ref));
    EXPECT_EQ(processingBefore, TreeOf(proc));

    run = RunOrvaneCaptured("-S -U " + Quoted(jobPath));
    EXPECT_EQ(0u, run.exitCode) << run.standardError;
    EXPECT_EQ(referenceAfterRun, TreeOf(ref));

    job.processingFolder = dir / "空";
    MakeFolder(job.processingFolder);
    Save();
    run = RunOrvaneCaptured("-s -u " + Quoted(jobPath));
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.standardError.find("元に戻せる実行がありません"))
        << run.standardError;
}

// Older times on the reference side that tell nothing: an hour behind (a FAT
// stick after a daylight-saving change) or a day behind with the same bytes
// (a restore). Only the file whose bytes changed is copied, and it is read back.
TEST_F(UnattendedRun, TimesThatLieCopyOnlyTheFileWhoseBytesChanged) {
    const FILETIME now = UtcFileTime(2024, 3, 31, 12, 0, 0);
    const FILETIME hourBehind = UtcFileTime(2024, 3, 31, 11, 0, 0);
    const FILETIME dayBehind = UtcFileTime(2024, 3, 30, 12, 0, 0);
    for (int i = 0; i < 20; ++i) {
        const std::string name = "\\表" + std::to_string(i) + ".txt";
        const std::string bytes = "contents of file " + std::to_string(i);
        WriteFileBytes(proc + name, bytes);
        SetLastWriteTime(proc + name, now);
        WriteFileBytes(ref + name, i == 7 ? "contents of file X" : bytes);
        SetLastWriteTime(ref + name, i % 2 == 0 ? hourBehind : dayBehind);
    }
    job.verifyCopies = job.compareContent = job.ignoreHourShift = 1;
    Save();
    ProgramRun run = RunOrvaneCaptured("-s " + Quoted(jobPath));
    ASSERT_EQ(0u, run.exitCode) << run.standardError;
    EXPECT_EQ("contents of file 7", ReadFileBytes(ref + "\\表7.txt"));
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("成功:COPY " + Quoted(proc + "\\表7.txt") + " " + Quoted(ref + "\\表7.txt"),
              lines[0]);
    EXPECT_EQ("　コピー後に内容を確認しました", lines[1].substr(0, lines[1].find("。")));
}

} // namespace
