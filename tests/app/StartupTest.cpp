// The interactive start and the job commands: the settings dialog for the job of
// the command line, the first search, the title, and the recent job list.
#include <gtest/gtest.h>
#include <windows.h>

#include "OrvaneSession.h"
#include "ProgramProcess.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobFile.h"
#include "res/resource.h"

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettingsKey();
        DeleteFileA(JobContext::DefaultJobPath().c_str());
        proc = dir / "処理";
        ref = dir / "参照";
        MakeFolder(proc);
        MakeFolder(ref);
        WriteFileBytes(proc + "\\a.txt", "a");
        WriteFileBytes(ref + "\\b.txt", "b");
    }
    void TearDown() override {
        ClearSettingsKey();
        DeleteFileA(JobContext::DefaultJobPath().c_str());
    }

    std::string RecentEntry(int number) {
        char name[16];
        wsprintfA(name, "File%d", number);
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Quorlin\\Orvane\\Recent File List", name,
                         RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
            return std::string();
        return value;
    }

    TempDir dir;
    std::string proc, ref;
};

std::string FileNameOf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1); // ASCII test path
}

TEST_F(Startup, WithoutArgumentsConfirmingWritesTheDefaultJobFileAndSearches) {
    std::string dialogTitle;
    OrvaneSession session("", {WhenWindow("フォルダ同期オプション",
                                          [&](HWND dialog) { dialogTitle = WindowTextOf(dialog); }),
                               ConfirmSettings(proc, ref)});
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.StartScriptCompleted());
    EXPECT_EQ("フォルダ同期オプション", dialogTitle);
    std::string defaultJob = JobContext::DefaultJobPath();
    EXPECT_TRUE(PathExists(defaultJob)) << "confirming writes the default job file";
    EXPECT_EQ("Orvane - " + FileNameOf(defaultJob), session.Frame().GetWindowText());
    EXPECT_EQ(defaultJob, session.App().currentJobPath);
    EXPECT_EQ(proc, session.App().currentJob.processingFolder);
    EXPECT_EQ("処理フォルダ：" + proc, session.View().processingLabel.GetWindowText());
    EXPECT_EQ(2, session.View().resultList.GetItemCount()) << "the first search ran";
    EXPECT_EQ("", RecentEntry(1)) << "the default job file does not join the recent list";
}

TEST_F(Startup, CancellingAtStartLeavesNoJob) {
    OrvaneSession session("", {CancelSettings()});
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.StartScriptCompleted());
    EXPECT_EQ("Orvane", session.Frame().GetWindowText());
    EXPECT_EQ("", session.App().currentJobPath);
    EXPECT_EQ(0, session.View().resultList.GetItemCount());
    EXPECT_FALSE(PathExists(JobContext::DefaultJobPath()));
}

TEST_F(Startup, NamedJobShowsItsFoldersAndJoinsTheRecentList) {
    std::string jobPath = dir / "named.orvane";
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string besideWindows = std::string(windows) + "\\named.orvane";
    char started[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, started);
    // Named in full, and named relative to the folder the program starts in: the
    // same file is checked, read, titled, saved and listed either way (the
    // profile functions alone would take a relative name in the Windows folder).
    for (bool relative : {false, true}) {
        ClearSettingsKey();
        JobSettings job;
        job.processingFolder = dir / "elsewhere-p";
        job.referenceFolder = ref;
        job.deleteEnabled = job.confirmDelete = job.fastCopy = 1;
        WriteJobFile(jobPath, job);
        if (relative)
            SetCurrentDirectoryA(dir.Path().c_str());
        std::string shownProc, shownRef;
        // The command line's processing folder wins over the file's.
        OrvaneSession session(
            Quoted(relative ? "named.orvane" : jobPath) + " \"--proc" + proc + "\"",
            {WhenWindow("フォルダ同期オプション - named.orvane", [&](HWND dialog) {
                auto field = [dialog](int id) {
                    HWND combo = GetDlgItem(dialog, id);
                    return WindowTextOf(
                        reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETEDITCONTROL, 0, 0)));
                };
                shownProc = field(IDC_PROCFOLDER);
                shownRef = field(IDC_REFFOLDER);
                ClickButton(dialog, IDOK);
            })});
        SetCurrentDirectoryA(started);
        ASSERT_TRUE(session.Started());
        ASSERT_TRUE(session.StartScriptCompleted());
        EXPECT_EQ(proc, shownProc);
        EXPECT_EQ(ref, shownRef) << "the job file's own folder was read";
        EXPECT_EQ("Orvane - named.orvane", session.Frame().GetWindowText());
        EXPECT_EQ(jobPath, session.App().currentJobPath);
        EXPECT_EQ(proc, ReadJobFile(jobPath).processingFolder) << "saved into the same file";
        EXPECT_EQ(jobPath, RecentEntry(1));
        EXPECT_FALSE(PathExists(besideWindows));
    }
}

TEST_F(Startup, UnreadableJobFileEndsTheStartWithoutWindow) {
    std::string message;
    OrvaneSession session(Quoted(dir / "missing.orvane"), {AnswerMessageBox("Orvane", &message)});
    EXPECT_FALSE(session.Started());
    EXPECT_TRUE(session.StartScriptCompleted()) << "the failure was reported in a message box";
    EXPECT_NE(std::string::npos, message.find("missing.orvane")) << message;
}

TEST_F(Startup, SaveCommandWritesTheJobAndJoinsTheRecentList) {
    OrvaneSession session("", {ConfirmSettings(proc, ref)});
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.StartScriptCompleted());
    std::string saved = dir / "saved.orvane";
    EXPECT_TRUE(session.CommandWithScript(ID_FILE_SAVE, {ChooseFile("名前を付けて保存", saved)}));
    EXPECT_TRUE(PathExists(saved));
    EXPECT_EQ(saved, RecentEntry(1));
    JobSettings read = ReadJobFile(saved);
    EXPECT_EQ(session.App().currentJob, read);
}

TEST_F(Startup, OpeningAJobAndCancellingKeepsTheList) {
    OrvaneSession session("", {ConfirmSettings(proc, ref)});
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.StartScriptCompleted());
    ASSERT_EQ(2, session.View().resultList.GetItemCount());
    std::string other = dir / "other.orvane";
    WriteJobFile(other, JobSettings{});
    EXPECT_TRUE(session.CommandWithScript(ID_FILE_OPEN,
                                          {ChooseFile("ファイルを開く", other), CancelSettings()}));
    EXPECT_EQ(2, session.View().resultList.GetItemCount());
}

TEST_F(Startup, OptionsAndSearchAgainRebuildTheList) {
    OrvaneSession session("", {ConfirmSettings(proc, ref)});
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.StartScriptCompleted());
    WriteFileBytes(proc + "\\c.txt", "c");
    session.Command(ID_SEARCH_AGAIN);
    EXPECT_EQ(3, session.View().resultList.GetItemCount());
    EXPECT_EQ("処理件数:3", session.Frame().m_wndStatusBar.GetPaneText(1));
    EXPECT_TRUE(session.CommandWithScript(ID_OPTIONS, {CancelSettings()}));
    EXPECT_EQ(3, session.View().resultList.GetItemCount()) << "cancel keeps the rows";
}

} // namespace
