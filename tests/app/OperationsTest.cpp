// The long operations as the user starts them from the main window: the search
// with its progress window and stop button, the synchronisation with its
// questions and log, and the batch export with its network question.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "OrvaneSession.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "exec/BatchWriter.h"
#include "engine/SyncItem.h"
#include "engine/SystemText.h"
#include "res/resource.h"
#include "ui/ProgressTexts.h"

namespace {

class Operations : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettingsKey();
        proc = dir / "処理";
        ref = dir / "参照";
        MakeFolder(proc);
        MakeFolder(ref);
    }
    void TearDown() override { ClearSettingsKey(); }

    // A started program whose current job is set without the dialog.
    std::unique_ptr<OrvaneSession> Start(int mode) {
        auto session =
            std::make_unique<OrvaneSession>("", std::vector<ModalScript::Step>{CancelSettings()});
        JobSettings& job = session->App().currentJob;
        job.mode = mode;
        job.processingFolder = proc;
        job.referenceFolder = ref;
        job.includeSubfolders = 1;
        job.deleteEnabled = 1;
        job.fastCopy = 1;
        return session;
    }

    TempDir dir;
    std::string proc, ref;
};

// Answers the confirmation whose text holds `fragment` with a button.
ModalScript::Step Answer(const std::string& fragment, int button, std::string* shown = nullptr) {
    return [fragment, button, shown]() {
        HWND dialog = FindThreadWindow("確認");
        if (dialog == nullptr ||
            ControlText(dialog, IDC_MESSAGE).find(fragment) == std::string::npos)
            return false;
        if (shown != nullptr)
            *shown = ControlText(dialog, IDC_MESSAGE);
        ClickButton(dialog, button);
        return true;
    };
}

ModalScript::Step ReadMessageBox(std::string* text) {
    return AnswerMessageBox("Orvane", text);
}

// Answers the program's yes/no message box with a button.
ModalScript::Step AnswerYesNo(int button, std::string* text) {
    return AnswerMessageBox("Orvane", text, button);
}

TEST_F(Operations, IdenticalFoldersGiveNoRowsAndNoMessage) {
    FILETIME time = UtcFileTime(2020, 5, 5, 5, 5, 5);
    for (const std::string& side : {proc, ref}) {
        WriteFileBytes(side + "\\same.txt", "x");
        SetLastWriteTime(side + "\\same.txt", time);
    }
    auto session = Start(2);
    session->Command(ID_SEARCH_AGAIN);
    EXPECT_EQ(0, session->View().resultList.GetItemCount());
    EXPECT_EQ("", session->View().Run().LastMessage());
    EXPECT_EQ("処理件数:0", session->Frame().m_wndStatusBar.GetPaneText(1));
    EXPECT_EQ(6, session->View().resultList.GetColumnCount());
    EXPECT_TRUE(session->Frame().IsWindowEnabled()) << "enabled again after the search";
}

TEST_F(Operations, SearchFillsTheListInProcessingPriority) {
    MakeFolder(proc + "\\a");
    MakeFolder(proc + "\\a\\b");
    WriteFileBytes(proc + "\\a\\b\\c.txt", "c");
    MakeFolder(ref + "\\z");
    WriteFileBytes(ref + "\\z\\y.txt", "y");
    auto session = Start(2);
    session->Command(ID_SEARCH_AGAIN);
    CListCtrl& list = session->View().resultList;
    std::vector<std::string> rows;
    for (int i = 0; i < list.GetItemCount(); ++i)
        rows.push_back(list.GetItemText(i, 0) + " " + list.GetItemText(i, 1));
    EXPECT_EQ((std::vector<std::string>{"\\z\\y.txt 削除", "\\z 削除", "\\a 作成", "\\a\\b 作成",
                                        "\\a\\b\\c.txt コピー"}),
              rows);
    EXPECT_EQ("処理フォルダ：" + proc, session->View().processingLabel.GetWindowText());
    EXPECT_EQ("参照フォルダ：" + ref, session->View().referenceLabel.GetWindowText());
}

TEST_F(Operations, MissingFolderEndsEmptyAndShowsTheSystemText) {
    auto session = Start(0);
    session->App().currentJob.processingFolder = dir / "missing";
    std::string shown;
    EXPECT_TRUE(session->CommandWithScript(ID_SEARCH_AGAIN, {ReadMessageBox(&shown)}));
    EXPECT_EQ(0, session->View().resultList.GetItemCount());
    const std::string& reason = session->View().Run().LastMessage();
    std::string firstLine = reason.substr(0, reason.find('\r'));
    EXPECT_FALSE(firstLine.empty()) << "the system's text for a path that cannot be found";
    EXPECT_EQ(0u, shown.find(firstLine)) << shown;
    EXPECT_NE("処理を中断しました", shown);
}

TEST_F(Operations, StopDuringTheScanEmptiesTheList) {
    for (int i = 0; i < 200; ++i)
        WriteFileBytes(proc + "\\f" + std::to_string(i) + ".txt", "");
    auto session = Start(2);
    std::string shown;
    PressOnCreate stop("進捗状況", IDCANCEL); // 中止, seen by the scan's first poll
    EXPECT_TRUE(session->CommandWithScript(ID_SEARCH_AGAIN, {ReadMessageBox(&shown)}));
    EXPECT_TRUE(stop.Pressed());
    EXPECT_EQ("処理を中断しました", shown);
    EXPECT_EQ(0, session->View().resultList.GetItemCount());
    EXPECT_EQ("処理件数:0", session->Frame().m_wndStatusBar.GetPaneText(1));
}

// 中止 clicked from another thread a while after the progress window shows, as a
// user's click comes: at any moment between two of the search's pumps. Times
// the click to the end of the search, when its progress window is taken down.
class TimedStopClick {
public:
    explicit TimedStopClick(DWORD afterMs) : afterMs_(afterMs) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, &Hook, nullptr, GetCurrentThreadId());
    }
    ~TimedStopClick() {
        UnhookWindowsHookEx(hook_);
        if (clicker_.joinable())
            clicker_.join();
        current_ = nullptr;
    }
    TimedStopClick(const TimedStopClick&) = delete;
    TimedStopClick& operator=(const TimedStopClick&) = delete;

    bool Clicked() const { return clickedAt_ != 0; }
    // From the click to the end of the search.
    double Seconds() const {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return double(endedAt_ - clickedAt_) / double(frequency.QuadPart);
    }

private:
    static long long Now() {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
        TimedStopClick* self = current_;
        if (code == HC_ACTION && self != nullptr) {
            if (call->message == WM_INITDIALOG && WindowTextOf(call->hwnd) == "進捗状況" &&
                !self->clicker_.joinable()) {
                self->dialog_ = call->hwnd;
                self->clicker_ = std::thread([self] {
                    Sleep(self->afterMs_);
                    long long at = Now();
                    if (PostMessageA(self->dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                     0))
                        self->clickedAt_ = at;
                });
            } else if (call->message == WM_DESTROY && call->hwnd == self->dialog_) {
                self->endedAt_ = Now();
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static TimedStopClick* current_;
    DWORD afterMs_;
    HHOOK hook_;
    HWND dialog_ = nullptr;
    std::thread clicker_;
    std::atomic<long long> clickedAt_{0};
    long long endedAt_ = 0;
};
TimedStopClick* TimedStopClick::current_ = nullptr;

TEST_F(Operations, StopDuringALargeSearchEndsItWithinATenthOfASecond) {
    // 30,000 empty files in 300 folders, made by the fixture make_large_tree: the
    // search runs for a few tenths of a second at least.
    std::string tree = "Z:" ORVANE_LARGE_TREE;
    std::replace(tree.begin(), tree.end(), '/', '\\');
    ASSERT_TRUE(PathExists(tree + "\\表299\\f99")) << tree;
    proc = tree;
    auto session = Start(2);
    // The machine may be busy with other work: the best of three clicks counts.
    double fastest = 1e9;
    for (DWORD afterMs : {40, 60, 80}) {
        TimedStopClick stop(afterMs);
        std::string shown;
        EXPECT_TRUE(session->CommandWithScript(ID_SEARCH_AGAIN, {ReadMessageBox(&shown)}));
        ASSERT_TRUE(stop.Clicked()) << "the search ended before " << afterMs << " ms";
        EXPECT_EQ("処理を中断しました", shown);
        EXPECT_EQ(0, session->View().resultList.GetItemCount());
        fastest = std::min(fastest, stop.Seconds());
    }
    EXPECT_LT(fastest, 0.1) << "seconds from the click to the end of the search";
}

// Posts a key press to a window the moment a window's text becomes `text`.
class KeyOnText {
public:
    KeyOnText(const char* text, HWND target, WPARAM key) : text_(text), target_(target), key_(key) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    }
    ~KeyOnText() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    KeyOnText(const KeyOnText&) = delete;
    KeyOnText& operator=(const KeyOnText&) = delete;
    bool Sent() const { return sent_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
        KeyOnText* self = current_;
        if (code == HC_ACTION && self != nullptr && !self->sent_ && call->message == WM_SETTEXT &&
            call->lParam != 0 && self->text_ == reinterpret_cast<const char*>(call->lParam)) {
            PressKey(self->target_, self->key_);
            self->sent_ = true;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static KeyOnText* current_;
    std::string text_;
    HWND target_;
    WPARAM key_;
    bool sent_ = false;
    HHOOK hook_;
};
KeyOnText* KeyOnText::current_ = nullptr;

// A key typed while an operation runs does nothing, also one that comes after
// the operation's last poll: it is handled before the main window takes input
// again, not by the main window's shortcuts afterwards.
TEST_F(Operations, AShortcutTypedAtTheEndOfASearchDoesNothing) {
    WriteFileBytes(proc + "\\a.txt", "a");
    auto session = Start(2);
    {
        // Escape is the main window's shortcut to end the program.
        KeyOnText escape("処理優先順にソート中", session->Frame().m_hWnd, VK_ESCAPE);
        session->Command(ID_SEARCH_AGAIN);
        ASSERT_TRUE(escape.Sent());
    }
    EXPECT_EQ(1, session->View().resultList.GetItemCount());
    bool ended = session->RunUntilExit(300);
    EXPECT_FALSE(ended) << "the key typed during the search ended the program";
    if (!ended) {
        EXPECT_TRUE(session->Close());
    }
}

// Keeps every text the progress window's figure line is given, and the bar's
// last position, by watching the messages sent to its controls.
class FiguresWatch {
public:
    FiguresWatch() {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    }
    ~FiguresWatch() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    FiguresWatch(const FiguresWatch&) = delete;
    FiguresWatch& operator=(const FiguresWatch&) = delete;

    std::vector<std::string> texts;
    int barPosition = -1;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
        FiguresWatch* self = current_;
        if (code == HC_ACTION && self != nullptr &&
            WindowTextOf(GetParent(call->hwnd)) == "進捗状況") {
            int id = GetDlgCtrlID(call->hwnd);
            if (id == IDC_FIGURES && call->message == WM_SETTEXT)
                self->texts.push_back(reinterpret_cast<const char*>(call->lParam));
            if (id == IDC_PROGRESSBAR && call->message == PBM_SETPOS)
                self->barPosition = static_cast<int>(call->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static FiguresWatch* current_;
    HHOOK hook_;
};
FiguresWatch* FiguresWatch::current_ = nullptr;

std::string ListCellText(HWND list, int row, int column) {
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// What the user sees of a run: the plan summed up above the list, the entries
// read and then the rows and bytes done in the progress window, ending at the
// plan's figures, and the failed row with its reason one command away.
TEST_F(Operations, FiguresFollowTheRowsFromThePlanToTheFailures) {
    WriteFileBytes(proc + "\\a.txt", "aaa");
    MakeFolder(proc + "\\表");
    WriteFileBytes(proc + "\\表\\ソ.txt", std::string(1000, 's'));
    WriteFileBytes(proc + "\\gone.txt", "1234567");
    WriteFileBytes(ref + "\\old.txt", "old");
    FILETIME time = UtcFileTime(2020, 5, 5, 5, 5, 5);
    for (const std::string& side : {proc, ref}) {
        WriteFileBytes(side + "\\keep.txt", "k");
        SetLastWriteTime(side + "\\keep.txt", time);
    }
    auto session = Start(2);
    JobSettings& job = session->App().currentJob;
    job.outputLog = 1;
    job.logFolder = dir.Path();
    COrvaneView& view = session->View();
    FiguresWatch watch;
    session->Command(ID_SEARCH_AGAIN);
    ASSERT_EQ(5, view.resultList.GetItemCount());
    ASSERT_FALSE(watch.texts.empty());
    EXPECT_EQ("読み込んだ項目：処理 5 件　参照 2 件", watch.texts.back());
    EXPECT_EQ("処→参: コピー 3 件（1010 バイト）、フォルダ作成 1 件、ファイル削除 1 件",
              view.summaryLabel.GetWindowText());
    EXPECT_EQ("処理件数:5", session->Frame().m_wndStatusBar.GetPaneText(1));
    EXPECT_FALSE(session->MenuItemEnabled(ID_VIEW_FAILURES)) << "no run yet";

    // Gone after the search: its copy fails, and counts as done all the same.
    ASSERT_TRUE(DeleteFileA((proc + "\\gone.txt").c_str()));
    watch.texts.clear();
    session->Command(ID_EXECUTE_SYNC);
    ASSERT_FALSE(watch.texts.empty());
    EXPECT_EQ("処理済み 0 / 5 件（0 バイト / 1010 バイト）", watch.texts.front());
    EXPECT_EQ("処理済み 5 / 5 件（1010 バイト / 1010 バイト）", watch.texts.back());
    EXPECT_EQ(kBarRange, watch.barPosition);
    EXPECT_EQ("同期処理が完了しました（失敗 1 件）",
              session->Frame().m_wndStatusBar.GetPaneText(0));

    const SyncOutcome& outcome = view.Run().LastSync();
    ASSERT_EQ(1u, outcome.failures.size());
    EXPECT_TRUE(session->MenuItemEnabled(ID_VIEW_FAILURES));
    std::string command, reason, logLine;
    bool canOpenLog = false;
    EXPECT_TRUE(session->CommandWithScript(
        ID_VIEW_FAILURES, {WhenWindow("前回の失敗", [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_FAILURELIST);
            EXPECT_EQ(1, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            command = ListCellText(list, 0, 0);
            reason = ListCellText(list, 0, 1);
            logLine = ControlText(dialog, IDC_LOGPATH);
            canOpenLog = IsWindowEnabled(GetDlgItem(dialog, IDC_OPENLOG));
            ClickButton(dialog, IDCANCEL);
        })}));
    EXPECT_EQ(outcome.failures[0].command, command);
    EXPECT_EQ(0u, command.find("COPY ")) << command;
    EXPECT_NE(std::string::npos, command.find("gone.txt")) << command;
    EXPECT_EQ(outcome.failures[0].reason, reason);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ("ログ：" + outcome.logPath, logLine);
    EXPECT_TRUE(canOpenLog);
}

TEST_F(Operations, DeclinedFileDeletionMakesItsFolderDeletionFail) {
    MakeFolder(ref + "\\old");
    WriteFileBytes(ref + "\\old\\keep.txt", "k");
    auto session = Start(2);
    JobSettings& job = session->App().currentJob;
    job.confirmDelete = 1;
    job.outputLog = 1;
    job.logFolder = dir.Path();
    session->Command(ID_SEARCH_AGAIN);
    ASSERT_EQ(2, session->View().resultList.GetItemCount());

    // Every entry of the reference folder would go: asked first, and "no" does nothing.
    std::string mass;
    EXPECT_TRUE(session->CommandWithScript(ID_EXECUTE_SYNC, {AnswerYesNo(IDNO, &mass)}));
    EXPECT_EQ(0u, mass.find("多数の削除が予定されています。\n参照フォルダ：2 件中 2 件を削除"))
        << mass;
    EXPECT_TRUE(PathExists(ref + "\\old\\keep.txt"));
    EXPECT_EQ("削除が多すぎるため、同期処理を行いませんでした",
              session->Frame().m_wndStatusBar.GetPaneText(0));

    std::string question;
    EXPECT_TRUE(session->CommandWithScript(ID_EXECUTE_SYNC, {AnswerYesNo(IDYES, &mass),
                                                             Answer("keep.txt", IDNO, &question),
                                                             Answer("フォルダを削除", IDYES)}));
    EXPECT_EQ("ファイルを削除してもよろしいですか？\r\n" + ref + "\\old\\keep.txt", question);
    EXPECT_TRUE(PathExists(ref + "\\old\\keep.txt"));
    EXPECT_TRUE(PathExists(ref + "\\old")) << "a folder with contents cannot go";
    EXPECT_EQ("同期処理が完了しました（失敗 2 件）",
              session->Frame().m_wndStatusBar.GetPaneText(0));
    EXPECT_EQ(2, session->View().resultList.GetItemCount()) << "the list stays as it was";

    // One log per run, named by its start time: the refused run's comes first.
    std::vector<std::string> logs;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir.Path() + "\\*.log").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do
        logs.push_back(ReadFileBytes(dir / found.cFileName));
    while (FindNextFileA(find, &found));
    FindClose(find);
    ASSERT_EQ(2u, logs.size());
    EXPECT_EQ("削除が多すぎるため、同期処理を行いませんでした：参照フォルダ：2 件中 2 件を削除"
              "（うちファイル 1 件中 1 件）\r\n",
              logs[0]);
    // Each failed row's line as designed, then why.
    std::string notEmpty = LastErrorText(ERROR_DIR_NOT_EMPTY);
    notEmpty.erase(notEmpty.find_last_not_of("\r\n") + 1);
    EXPECT_EQ("失敗:DEL " + ref + "\\old\\keep.txt\r\n　理由: 「" + ref +
                  "\\old\\keep.txt」は削除しないことが選ばれました\r\n失敗:RMDIR " + ref +
                  "\\old\r\n　理由: 「" + ref + "\\old」を削除できません: " + notEmpty + "\r\n",
              logs[1]);
}

TEST_F(Operations, DeleteAllAsksNoMoreInThatRun) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        WriteFileBytes(ref + "\\" + name, "x");
    auto session = Start(2);
    session->App().currentJob.confirmDelete = 1;
    session->Command(ID_SEARCH_AGAIN);
    ASSERT_EQ(3, session->View().resultList.GetItemCount());
    // Rows go from the bottom of the alphabet: c.txt is asked about first.
    std::string mass;
    EXPECT_TRUE(session->CommandWithScript(
        ID_EXECUTE_SYNC, {AnswerYesNo(IDYES, &mass), Answer("c.txt", IDC_DELETEALL)}));
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_FALSE(PathExists(ref + "\\" + name)) << name;
}

TEST_F(Operations, BatchExportAsksOncePerNetworkRow) {
    auto session = Start(2);
    COrvaneView& view = session->View();
    view.SetupColumns();
    const char* names[] = {"one.txt", "two & three.txt", "100%.txt"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new SyncItem;
        item->operation = Copy;
        item->reason = Existence;
        item->direction = ProcessingToReference;
        item->subject.rootFolder = "\\\\server\\share";
        item->subject.relativeFolder.assign(1, '\\');
        item->subject.name = names[i];
        item->counterpart.rootFolder = "C:\\backup";
        view.InsertRow(item, i);
    }
    std::string batch = dir / "sync.bat";
    EXPECT_TRUE(session->CommandWithScript(
        ID_EXPORT_BATCH, {ChooseFile("名前を付けて保存", batch), Answer("one.txt", IDC_SKIPTHIS),
                          Answer("three", IDIGNORE), Answer("100", IDIGNORE)}));
    EXPECT_EQ(std::string(kBatchFirstLines) +
                  "COPY \"\\\\server\\share\\two & three.txt\" \"C:\\backup\\two & three.txt\"\r\n"
                  "COPY \\\\server\\share\\100%%.txt C:\\backup\\100%%.txt\r\n" +
                  kBatchLastLines,
              ReadFileBytes(batch));
    EXPECT_EQ("バッチファイル出力が完了しました", session->Frame().m_wndStatusBar.GetPaneText(0));
}

} // namespace

// A conflict is listed, never carried out by itself, and the command of either
// side turns it into that side's copy, enabled only while a conflict is selected.
TEST_F(Operations, AConflictIsSettledByTheSideTheUserPicks) {
    const FILETIME time = UtcFileTime(2025, 4, 1, 0, 0, 0);
    ASSERT_TRUE(WriteFileBytes(proc + "\\表.txt", "processing") &&
                SetLastWriteTime(proc + "\\表.txt", time));
    ASSERT_TRUE(WriteFileBytes(ref + "\\表.txt", "reference side") &&
                SetLastWriteTime(ref + "\\表.txt", time));
    auto session = Start(0); // no memory: one time, two sizes, neither side newer
    session->Command(ID_SEARCH_AGAIN);
    CListCtrl& list = session->View().resultList;
    ASSERT_EQ(1, list.GetItemCount());
    EXPECT_EQ("衝突", list.GetItemText(0, 1));
    EXPECT_FALSE(session->MenuItemEnabled(ID_RESOLVE_REFERENCE)) << "nothing selected";
    EXPECT_FALSE(session->ToolbarButtonEnabled(ID_RESOLVE_PROCESSING)) << "nothing selected";
    session->Command(ID_EXECUTE_SYNC);
    EXPECT_EQ("processing", ReadFileBytes(proc + "\\表.txt"));
    EXPECT_EQ("reference side", ReadFileBytes(ref + "\\表.txt"));

    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(session->ToolbarButtonEnabled(ID_RESOLVE_PROCESSING));
    EXPECT_TRUE(session->MenuItemEnabled(ID_RESOLVE_PROCESSING));
    EXPECT_TRUE(session->MenuItemEnabled(ID_RESOLVE_REFERENCE));
    session->Command(ID_RESOLVE_REFERENCE);
    ASSERT_EQ(1, list.GetItemCount());
    EXPECT_EQ("コピー", list.GetItemText(0, 1));
    EXPECT_EQ("参→処", list.GetItemText(0, 3));
    session->Command(ID_EXECUTE_SYNC);
    EXPECT_EQ("reference side", ReadFileBytes(proc + "\\表.txt"));
}

// A run in the wrong direction, undone from 実行履歴: the dialog lists it, its
// 元に戻す puts the undo's plan in the list, and carrying it out gives the
// reference folder back as it was, the files the run deleted and replaced
// among them.
TEST_F(Operations, AWrongRunIsUndoneFromTheHistory) {
    const FILETIME old = UtcFileTime(2020, 1, 1, 0, 0, 0), newer = UtcFileTime(2024, 1, 1, 0, 0, 0);
    ASSERT_TRUE(WriteFileBytes(proc + "\\表.txt", "stale") &&
                SetLastWriteTime(proc + "\\表.txt", newer));
    ASSERT_TRUE(WriteFileBytes(ref + "\\表.txt", "the work") &&
                SetLastWriteTime(ref + "\\表.txt", old));
    ASSERT_TRUE(WriteFileBytes(ref + "\\only here.txt", "mine"));
    auto session = Start(UpdateReference);
    session->App().currentJob.keepVersions = 1;
    session->App().currentJob.allowMassDeletion = 1;
    session->Command(ID_SEARCH_AGAIN);
    session->Command(ID_EXECUTE_SYNC);
    ASSERT_EQ("stale", ReadFileBytes(ref + "\\表.txt"));
    ASSERT_FALSE(PathExists(ref + "\\only here.txt"));

    std::string first;
    ASSERT_TRUE(
        session->CommandWithScript(ID_VIEW_HISTORY, {WhenWindow("実行履歴", [&](HWND dialog) {
                                       HWND list = GetDlgItem(dialog, IDC_HISTORYLIST);
                                       char text[64] = {};
                                       ListView_GetItemText(list, 0, 7, text, sizeof text);
                                       first = text;
                                       ClickButton(dialog, IDC_UNDO);
                                   })}));
    EXPECT_EQ("すべて元に戻せます", first);
    CListCtrl& list = session->View().resultList;
    ASSERT_EQ(2, list.GetItemCount());
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ("元に戻す", list.GetItemText(row, 2)) << row;
    session->Command(ID_EXECUTE_SYNC);
    EXPECT_EQ("the work", ReadFileBytes(ref + "\\表.txt"));
    EXPECT_EQ("mine", ReadFileBytes(ref + "\\only here.txt"));
    const FILETIME restored = GetLastWriteTime(ref + "\\表.txt");
    EXPECT_EQ(0, CompareFileTime(&old, &restored));
}
