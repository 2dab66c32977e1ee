// The settings dialog as the user meets it through EditJobInDialog: fields are
// filled and buttons clicked inside its own loop, validation messages are read
// from their message boxes, and the job file is read back.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include "DialogScript.h"
#include "SettingsTestKit.h"
#include "TestFiles.h"
#include "UnixLinks.h"
#include "job/JobFile.h"
#include "res/resource.h"
#include "ui/EditJob.h"

namespace {

class SettingsDialogTest : public testing::Test {
protected:
    SettingsDialogTest() {
        for (const char* folder : {"proc", "ref", "log", "表", "ソ", "ア", "ヂ"})
            MakeFolder(dir / folder);
        WriteFileBytes(dir / "file.txt", "x");
    }

    std::string Path(const std::string& relative) { return dir / relative; }
    void Fill(std::vector<std::pair<int, std::string>> texts) {
        script.Then([texts] {
            for (const auto& [id, text] : texts)
                SetItemText(FindSettingsDialog(), id, text);
        });
    }
    void SetCheck(int id, bool checked) {
        script.Then([id, checked] {
            CheckDlgButton(FindSettingsDialog(), id, checked ? BST_CHECKED : BST_UNCHECKED);
        });
    }
    // Presses "検索開始"; a message box it raises is closed and its text kept.
    void Confirm(std::string* message = nullptr) {
        script.Then([] { Click(FindSettingsDialog(), IDOK); });
        if (message != nullptr)
            script.Until([message] { return !(*message = TakeMessageBox()).empty(); });
    }
    void Cancel() {
        script.Then([] { PostMessageA(FindSettingsDialog(), WM_COMMAND, IDCANCEL, 0); });
    }
    bool RunEditJob(const std::string& processing = "", const std::string& reference = "") {
        bool confirmed = false;
        script.Run([&] {
            confirmed = EditJobInDialog(scratch.context, jobPath, processing, reference);
            return INT_PTR{0};
        });
        EXPECT_FALSE(script.TimedOut()) << "stuck at step " << script.StuckStep();
        return confirmed;
    }

    TempDir dir;
    std::string jobPath = dir / "job.orvane";
    ScratchJobContext scratch;
    DialogScript script;
};

} // namespace

TEST_F(SettingsDialogTest, ReportsTheFirstProblemInOrderAndStaysOpen) {
    const std::string proc = Path("proc"), ref = Path("ref"), log = Path("log");
    const std::string file = Path("file.txt"), missing = Path("missing");
    ASSERT_TRUE(MakeFolder(Path("proc\\sub")));
    // Each of these would name another folder from another start folder.
    const std::string relative[] = {"proc", "C:", "C:proc", "\\proc", "\\"};
    auto relativeText = [](const char* side) {
        return std::string(side) +
               "はドライブ名（C:\\…）かサーバー名（\\\\サーバー\\…）から指定してください";
    };
    struct Row {
        const char* includeExtensions;
        const char* excludeExtensions;
        std::string processing, reference;
        bool outputLog;
        std::string logFolder;
        std::string message;
    };
    // Each row would also fail every later test.
    std::vector<Row> rows = {
        {"txt", "doc", "", "", true, "", "対象拡張子と除外拡張子の両方が指定されています"},
        {"", "", "", missing, true, "", "処理フォルダが指定されていません"},
    };
    for (const std::string& path : relative)
        rows.push_back({"", "", path, "", true, "", relativeText("処理フォルダ")});
    rows.insert(rows.end(),
                {
                    {"txt", "", missing, "", true, "", "処理フォルダが存在しません"},
                    {"", "doc", file, "", true, "", "処理フォルダにフォルダ以外が指定されています"},
                    {"", "", proc, "", true, "", "参照フォルダが指定されていません"},
                });
    for (const std::string& path : relative)
        rows.push_back({"", "", proc, path, true, "", relativeText("参照フォルダ")});
    rows.insert(rows.end(),
                {
                    {"", "", proc, missing, true, "", "参照フォルダが存在しません"},
                    {"", "", proc, file, true, "", "参照フォルダにフォルダ以外が指定されています"},
                    {"", "", proc, ref, true, "", "ログの出力先フォルダが指定されていません"},
                });
    for (const std::string& path : relative)
        rows.push_back({"", "", proc, ref, true, path, relativeText("ログの出力先フォルダ")});
    rows.insert(
        rows.end(),
        {
            {"", "", proc, ref, true, missing, "ログの出力先フォルダが存在しません"},
            {"", "", proc, ref, true, file, "ログの出力先フォルダにフォルダ以外が指定されています"},
            {"", "", proc + "\\", Path("PROC"), false, "", "処理フォルダと参照フォルダが同じです"},
            {"", "", proc, Path("ref\\..\\PROC\\."), false, "",
             "処理フォルダと参照フォルダが同じです"},
            {"", "", Path("proc\\sub"), proc, false, "",
             "処理フォルダと参照フォルダが重なっています"},
            {"", "", ref, Path("表"), true, Path("ref\\"),
             "ログの出力先フォルダが処理フォルダと同じです"},
        });
    std::vector<std::string> messages(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        Fill({{IDC_ADDEXT, row.includeExtensions},
              {IDC_DELEXT, row.excludeExtensions},
              {IDC_PROCFOLDER, row.processing},
              {IDC_REFFOLDER, row.reference},
              {IDC_LOGFOLDER, row.logFolder}});
        SetCheck(IDC_OUTPUTLOG, row.outputLog);
        Confirm(&messages[i]);
    }
    script.Then(
        [&] { EXPECT_EQ(rows.back().processing, ItemText(FindSettingsDialog(), IDC_PROCFOLDER)); });
    Cancel();

    EXPECT_FALSE(RunEditJob());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].message, messages[i]) << "row " << i << ": " << rows[i].processing;
    EXPECT_FALSE(PathExists(jobPath));
}

TEST_F(SettingsDialogTest, SavesFoldersWithoutOneTrailingBackslashKeepingDoubleByteNames) {
    struct Row {
        std::string processing, reference;
        bool outputLog;
        std::string logFolder;
        std::string savedProcessing, savedReference;
    };
    std::vector<Row> rows = {
        // 表 and ソ end in a 0x5C byte; an empty log folder passes with the log off.
        {Path("表"), Path("ソ\\"), false, "", Path("表"), Path("ソ")},
        // ア and ヂ differ only in a second byte that ASCII folding would equate.
        {Path("ア\\"), Path("ヂ"), true, Path("表\\"), Path("ア"), Path("ヂ")},
    };
    // A drive root keeps its backslash; it needs a drive that holds neither other
    // folder, and such a drive is made only where the test can make one.
    UnixLinks links;
    std::string drive = UnixLinks::Available() ? links.AddDrive(Path("proc")) : "";
    if (UnixLinks::Available()) {
        ASSERT_FALSE(drive.empty());
    }
    if (!drive.empty())
        rows.push_back(
            {drive + "\\", Path("ア\\"), false, Path("missing"), drive + "\\", Path("ア")});
    for (const Row& row : rows) {
        Fill({{IDC_PROCFOLDER, row.processing},
              {IDC_REFFOLDER, row.reference},
              {IDC_LOGFOLDER, row.logFolder}});
        SetCheck(IDC_OUTPUTLOG, row.outputLog);
        Confirm();
        ASSERT_TRUE(RunEditJob()) << row.processing;
        const JobSettings& job = scratch.context.currentJob;
        EXPECT_EQ(row.savedProcessing, job.processingFolder);
        EXPECT_EQ(row.savedReference, job.referenceFolder);
        EXPECT_EQ(row.logFolder, job.logFolder); // stored as typed
        EXPECT_EQ(1, job.useRecycleBin) << "a new job starts with the Recycle Bin on";
        EXPECT_EQ(1, job.keepVersions) << "and its runs can be undone";
        EXPECT_EQ(ReadJobFile(jobPath), job);
    }
}

TEST_F(SettingsDialogTest, ListsAreShownAndSavedInTheirNormalFormAndUnusablePiecesRefusedByName) {
    std::string message, shownExtensions, shownFolders;
    SetCheck(IDC_SUBFOLDER, true);
    Fill({{IDC_PROCFOLDER, Path("proc")},
          {IDC_REFFOLDER, Path("ref")},
          {IDC_DELEXT, " .bak, *.tmp "},
          {IDC_RMDIR, "\\cache\\ , " + Path("ref\\表\\") + ",C:\\elsewhere"}});
    Confirm(&message);
    script.Then([&] {
        shownExtensions = ItemText(FindSettingsDialog(), IDC_DELEXT);
        shownFolders = ItemText(FindSettingsDialog(), IDC_RMDIR);
        SetItemText(FindSettingsDialog(), IDC_RMDIR, "cache,表");
    });
    Confirm();

    ASSERT_TRUE(RunEditJob());
    EXPECT_NE(std::string::npos,
              message.find("除外フォルダ（RmDir）の「C:\\elsewhere」は使えません"))
        << message;
    EXPECT_EQ("bak,tmp", shownExtensions);
    // A full path inside the reference folder is the folder it names there.
    EXPECT_EQ("cache,表,C:\\elsewhere", shownFolders);
    const JobSettings& job = scratch.context.currentJob;
    EXPECT_EQ("bak,tmp", job.excludeExtensions);
    EXPECT_EQ("cache,表", job.excludedFolders);
    EXPECT_EQ(ReadJobFile(jobPath), job);
}

TEST_F(SettingsDialogTest, JobFileWithAValueThatHasNoShiftJisFormIsNotOpened) {
    // UTF-8 with a mark; é has no exact Shift-JIS form (best fit would make it e).
    ASSERT_TRUE(WriteFileBytes(jobPath, "\xEF\xBB\xBF[Settings]\r\nBaseDir=C:\\caf\xC3\xA9\r\n"));
    const std::string before = ReadFileBytes(jobPath);
    std::string message;
    script.Until([&] { return !(message = TakeMessageBox()).empty(); });

    EXPECT_FALSE(RunEditJob());
    EXPECT_NE(std::string::npos, message.find("の BaseDir の値に")) << message;
    EXPECT_EQ(before, ReadFileBytes(jobPath));
}

// The versions options are checked only when versions are kept: a folder that
// cannot take the old versions, or a limit out of range, is refused with the
// dialog open; a folder that can is saved without a trailing backslash.
TEST_F(SettingsDialogTest, VersionsFolderAndLimitsAreCheckedWhenVersionsAreKept) {
    struct Row {
        bool keep;
        std::string folder, days, runs;
        std::string message; // empty: saved
    };
    const std::vector<Row> rows = {
        {true, "表", "30", "0",
         "世代管理フォルダはドライブ名（C:"
         "\\…）かサーバー名（\\\\サーバー\\…）から指定してください"},
        {true, Path("missing"), "30", "0",
         "世代管理フォルダ「" + Path("missing") + "」が存在しません"},
        {true, Path("file.txt"), "30", "0",
         "世代管理フォルダ「" + Path("file.txt") + "」にフォルダ以外が指定されています"},
        {true, Path("ref\\"), "30", "0", "世代管理フォルダが参照フォルダと同じです"},
        {true, "", "36501", "0", "保存日数は 0 から 36500 までの数字で指定してください"},
        {true, "", "30", "100000", "保存回数は 0 から 99999 までの数字で指定してください"},
        {false, "表", "36501", "x", ""},
        {true, Path("表\\"), "7", "", ""},
    };
    for (const Row& row : rows) {
        Fill({{IDC_PROCFOLDER, Path("proc")},
              {IDC_REFFOLDER, Path("ref")},
              {IDC_VERSIONSDIR, row.folder},
              {IDC_VERSIONSDAYS, row.days},
              {IDC_VERSIONSRUNS, row.runs}});
        SetCheck(IDC_VERSIONS, row.keep);
        std::string message;
        Confirm(row.message.empty() ? nullptr : &message);
        if (row.message.empty()) {
            ASSERT_TRUE(RunEditJob()) << row.folder;
            const JobSettings& job = scratch.context.currentJob;
            EXPECT_EQ(row.keep ? 1 : 0, job.keepVersions);
            EXPECT_EQ(ReadJobFile(jobPath), job);
            if (row.keep) {
                EXPECT_EQ(Path("表"), job.versionsFolder);
                EXPECT_EQ(7, job.versionsDays);
                EXPECT_EQ(0, job.versionsRuns);
            } else {
                EXPECT_EQ(30, job.versionsDays) << "a new job's limit, unchecked while off";
            }
            continue;
        }
        Cancel();
        EXPECT_FALSE(RunEditJob());
        EXPECT_EQ(row.message, message) << row.folder << " " << row.days << " " << row.runs;
    }
}

TEST_F(SettingsDialogTest, EnableRulesFollowModeAndCheckBoxesWithoutChangingValues) {
    JobSettings stored;
    stored.mode = UpdateProcessing;
    stored.deleteEnabled = stored.confirmDelete = 1;
    WriteJobFile(jobPath, stored);

    auto click = [](int id) { return [id] { Click(FindSettingsDialog(), id); }; };
    auto mode = [](int index) { return [index] { ChooseMode(FindSettingsDialog(), index); }; };
    struct Row {
        const char* what;
        std::function<void()> action;
        bool deleteOn, askOn, logOn, browseOn, foldersOn; // enabled
        bool deleteChecked, askChecked;
    };
    const Row rows[] = {
        {"opened in mode 1", [] {}, true, true, false, false, false, true, true},
        {"delete unchecked", click(IDC_DELETE), true, false, false, false, false, false, true},
        {"mode 0", mode(0), false, false, false, false, false, false, true},
        {"mode 2", mode(2), true, false, false, false, false, false, true},
        {"delete checked", click(IDC_DELETE), true, true, false, false, false, true, true},
        {"mode 0 again", mode(0), false, false, false, false, false, true, true},
        {"log on", click(IDC_OUTPUTLOG), false, false, true, true, false, true, true},
        {"subfolders on", click(IDC_SUBFOLDER), false, false, true, true, true, true, true},
    };
    for (const Row& row : rows) {
        script.Then(row.action);
        script.Then([&row] {
            HWND dialog = FindSettingsDialog();
            EXPECT_EQ(row.deleteOn, IsEnabled(dialog, IDC_DELETE)) << row.what;
            EXPECT_EQ(row.askOn, IsEnabled(dialog, IDC_DELWARNING)) << row.what;
            EXPECT_EQ(row.logOn, IsEnabled(dialog, IDC_LOGFOLDER)) << row.what;
            EXPECT_EQ(row.browseOn, IsEnabled(dialog, IDC_BROWSE_LOG)) << row.what;
            EXPECT_EQ(row.foldersOn, IsEnabled(dialog, IDC_RMDIR)) << row.what;
            EXPECT_EQ(row.deleteChecked, IsChecked(dialog, IDC_DELETE)) << row.what;
            EXPECT_EQ(row.askChecked, IsChecked(dialog, IDC_DELWARNING)) << row.what;
        });
    }
    Fill({{IDC_PROCFOLDER, Path("proc")},
          {IDC_REFFOLDER, Path("ref")},
          {IDC_LOGFOLDER, Path("log")}});
    Confirm();

    ASSERT_TRUE(RunEditJob());
    const JobSettings saved = ReadJobFile(jobPath);
    EXPECT_EQ(Bidirectional, saved.mode);
    EXPECT_EQ(1, saved.deleteEnabled); // disabled, and saved as checked
    EXPECT_EQ(1, saved.confirmDelete);
    EXPECT_EQ(1, saved.outputLog);
    EXPECT_EQ(1, saved.includeSubfolders);
}

// A job file can hold what the form cannot: a mode outside the list, texts longer
// than the fields take. Such a job still opens as one that can be confirmed.
TEST_F(SettingsDialogTest, StoredValuesTheFormCannotHoldStillGiveASavableJob) {
    const std::string longList(258, 'x');
    JobSettings stored;
    stored.mode = 3;
    stored.processingFolder = Path("proc");
    stored.referenceFolder = Path("ref");
    stored.includeSubfolders = 0; // greys out the excluded folders
    stored.excludedFolders = longList;
    WriteJobFile(jobPath, stored);
    bool questionShown = true;
    script.Then([] {
        HWND dialog = FindSettingsDialog();
        EXPECT_EQ(Bidirectional, SendDlgItemMessageA(dialog, IDC_MODE, CB_GETCURSEL, 0, 0));
        EXPECT_FALSE(IsEnabled(dialog, IDC_DELETE)); // the rules of the mode shown
        Click(dialog, IDC_OUTPUTLOG);
        Click(dialog, IDC_OUTPUTLOG);
    });
    // A click checks no length: no message box came up over the dialog.
    script.Then([&] { questionShown = FindOwnedDialog(FindSettingsDialog()) != nullptr; });
    Confirm();

    ASSERT_TRUE(RunEditJob());
    EXPECT_FALSE(questionShown);
    const JobSettings saved = ReadJobFile(jobPath);
    EXPECT_EQ(Bidirectional, saved.mode);
    EXPECT_EQ(Bidirectional, scratch.context.currentJob.mode);
    EXPECT_EQ(longList, saved.excludedFolders); // greyed, kept as it was
}

TEST_F(SettingsDialogTest, ShowsTheJobFileWithCommandLineFoldersOnTopAndSavesItBack) {
    jobPath = Path("ソ表.orvane");
    JobSettings stored;
    stored.outputLog = 1;
    stored.includeSubfolders = 1;
    stored.confirmDelete = 1;
    stored.excludeExtensions = "bak,tmp";
    stored.processingFolder = Path("proc");
    stored.referenceFolder = Path("ref");
    stored.mode = UpdateReference;
    stored.logFolder = Path("log\\");
    stored.fastCopy = 1;
    stored.excludedFolders = "a,b\\c";
    stored.verifyCopies = stored.ignoreHourShift = 1;
    WriteJobFile(jobPath, stored);
    // A job stored before the Recycle Bin option keeps deleting for good.
    WritePrivateProfileStringA("Settings", "UseRecycle", nullptr, jobPath.c_str());

    script.Then([&] {
        HWND dialog = FindSettingsDialog();
        EXPECT_EQ("フォルダ同期オプション - ソ表.orvane", TextOf(dialog));
        const std::pair<int, std::string> texts[] = {
            {IDC_PROCFOLDER, Path("表")},
            {IDC_REFFOLDER, stored.referenceFolder},
            {IDC_LOGFOLDER, Path("log\\")},
            {IDC_DELEXT, "bak,tmp"},
            {IDC_ADDEXT, ""},
            {IDC_RMDIR, "a,b\\c"},
        };
        for (const auto& [id, text] : texts)
            EXPECT_EQ(text, ItemText(dialog, id)) << id;
        for (int id : {IDC_OUTPUTLOG, IDC_SUBFOLDER, IDC_DELWARNING, IDC_FASTCOPY, IDC_VERIFY,
                       IDC_HOURSHIFT})
            EXPECT_TRUE(IsChecked(dialog, id)) << id;
        for (int id : {IDC_BOTHSIDESONLY, IDC_DELETE, IDC_TWOSEC, IDC_RECYCLE, IDC_COMPARECONTENT})
            EXPECT_FALSE(IsChecked(dialog, id)) << id;
        EXPECT_EQ(2, SendDlgItemMessageA(dialog, IDC_MODE, CB_GETCURSEL, 0, 0));
        for (int id : {IDC_ADDEXT, IDC_DELEXT, IDC_RMDIR})
            EXPECT_EQ(255, SendDlgItemMessageA(dialog, id, EM_GETLIMITTEXT, 0, 0)) << id;
    });
    Confirm();

    ASSERT_TRUE(RunEditJob(Path("表"), ""));
    JobSettings expected = stored;
    expected.processingFolder = Path("表");
    EXPECT_EQ(expected, scratch.context.currentJob);
    EXPECT_EQ(expected, ReadJobFile(jobPath));
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndKeepsTheCurrentJob) {
    scratch.context.currentJob.processingFolder = "kept";
    Fill({{IDC_PROCFOLDER, Path("proc")}, {IDC_REFFOLDER, Path("ref")}});
    Cancel();

    EXPECT_FALSE(RunEditJob());
    EXPECT_EQ("kept", scratch.context.currentJob.processingFolder);
    EXPECT_EQ(jobPath, scratch.context.currentJobPath);
    EXPECT_FALSE(PathExists(jobPath));
}

TEST_F(SettingsDialogTest, BrowseButtonsOpenTheBrowserOnTheirFieldsFolderAndTakeTheChoice) {
    struct OleSession {
        OleSession() { OleInitialize(nullptr); }
        ~OleSession() { OleUninitialize(); }
    } ole;
    struct Row {
        int button, field;
        std::string shown, chosen; // folder names; an empty choice cancels
    };
    const Row rows[] = {
        {IDC_BROWSE_PROC, IDC_PROCFOLDER, "表", ""},
        {IDC_BROWSE_PROC, IDC_PROCFOLDER, "表", "ア"},
        {IDC_BROWSE_REF, IDC_REFFOLDER, "ソ", "ヂ"},
        {IDC_BROWSE_LOG, IDC_LOGFOLDER, "log", "proc"},
    };
    Fill({{IDC_PROCFOLDER, Path("表")}, {IDC_REFFOLDER, Path("ソ")}, {IDC_LOGFOLDER, Path("log")}});
    script.Then([] { Click(FindSettingsDialog(), IDC_OUTPUTLOG); });
    std::string lastSeen; // what the browser showed when the script last looked
    for (const Row& row : rows) {
        script.Then([&row] { Click(FindSettingsDialog(), row.button); });
        script.Until([&] {
            // Waits for the field's folder to be selected; a browser that never
            // selects it makes the script time out.
            HWND browser = FindOwnedDialog(FindSettingsDialog());
            lastSeen = browser != nullptr ? SelectedTreeItemText(browser) : "(no browser)";
            return browser != nullptr && lastSeen == row.shown;
        });
        script.Until([&] {
            // The choice is clicked in the tree, and clicked again, until the
            // browser itself shows it, and only then confirmed: the browser may
            // select its first folder once more while it settles.
            HWND browser = FindOwnedDialog(FindSettingsDialog());
            if (row.chosen.empty()) {
                PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            if (SelectedTreeItemText(browser) == row.chosen) {
                PostMessageA(browser, WM_COMMAND, IDOK, 0);
                return true;
            }
            SelectSiblingFolder(browser, row.chosen);
            return false;
        });
        script.Then([&] {
            std::string expected = Path(row.chosen.empty() ? row.shown : row.chosen);
            EXPECT_EQ(expected, ItemText(FindSettingsDialog(), row.field));
        });
    }
    Cancel();
    EXPECT_FALSE(RunEditJob());
    EXPECT_FALSE(script.TimedOut()) << "the browser last showed " << lastSeen;
}
