// The progress window and the two confirmation dialogs, driven as a user would:
// buttons, Enter, Escape and the close box.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "ModalScript.h"
#include "ui/DlgBusy.h"
#include "ui/DlgConfirm.h"
#include "ui/ProgressTexts.h"
#include "res/resource.h"

namespace {

// A plain top-level window to own the progress dialog, as the view does.
class OwnerWindow : public CWnd {
public:
    OwnerWindow() {
        CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                 nullptr);
    }
};

// The progress window's clock, moved by the tests.
ULONGLONG g_now = 0;
ULONGLONG FakeClock() {
    return g_now;
}

TEST(DlgBusy, ShowsItsLinesWithoutCloseBox) {
    OwnerWindow owner;
    CDlgBusy busy(&owner);
    busy.SetLine1("ファイル処理中です");
    busy.SetLine2("[0/3]");
    ASSERT_TRUE(busy.CreateBusy());
    EXPECT_EQ("進捗状況", WindowTextOf(busy.m_hWnd));
    EXPECT_EQ("ファイル処理中です", ControlText(busy.m_hWnd, IDC_LINE1));
    EXPECT_EQ("[0/3]", ControlText(busy.m_hWnd, IDC_LINE2));
    EXPECT_FALSE(GetWindowLongA(busy.m_hWnd, GWL_STYLE) & WS_SYSMENU);

    busy.SetLine2("[1/3]");
    EXPECT_EQ("[0/3]", ControlText(busy.m_hWnd, IDC_LINE2)) << "texts move only on refresh";
    busy.Refresh();
    EXPECT_EQ("[1/3]", ControlText(busy.m_hWnd, IDC_LINE2));

    busy.Destroy();
    EXPECT_EQ(nullptr, busy.m_hWnd);
}

TEST(DlgBusy, StopButtonIsSeenByExactlyOnePoll) {
    OwnerWindow owner;
    CDlgBusy busy(&owner, PollPacer(&FakeClock, 20));
    ASSERT_TRUE(busy.CreateBusy());
    EXPECT_FALSE(busy.PollStop());
    ClickButton(busy.m_hWnd, IDCANCEL);
    g_now += 20; // each poll one interval after the last
    EXPECT_TRUE(busy.PollStop());
    g_now += 20;
    EXPECT_FALSE(busy.PollStop());
    EXPECT_FALSE(IsWindowVisible(busy.m_hWnd)) << "hidden at once after a stop";
    EXPECT_TRUE(IsWindow(busy.m_hWnd)) << "the window stays until the operation destroys it";
    busy.Destroy();

    // The object serves the next operation with a fresh window.
    ASSERT_TRUE(busy.CreateBusy());
    EXPECT_TRUE(IsWindowVisible(busy.m_hWnd));
    EXPECT_FALSE(busy.PollStop());
    busy.Destroy();
}

TEST(DlgBusy, EscapeAndEnterOnTheStopButtonStop) {
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        OwnerWindow owner;
        CDlgBusy busy(&owner);
        ASSERT_TRUE(busy.CreateBusy());
        HWND stop = GetDlgItem(busy.m_hWnd, IDCANCEL);
        SendMessageA(busy.m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stop), TRUE);
        PressKey(stop, key);
        EXPECT_TRUE(busy.PollStop()) << "key " << key;
        EXPECT_FALSE(busy.PollStop());
        busy.Destroy();
    }
}

// A click waits in the queue until the next pump; polls pump only once the
// interval has passed since the last pump, so a stop is seen within one
// interval, and a poll made at once (before a question, at a search's end)
// never waits.
TEST(DlgBusy, PollsPumpOncePerIntervalAndSeeAStopWithinIt) {
    OwnerWindow owner;
    CDlgBusy busy(&owner, PollPacer(&FakeClock, 20));
    struct Poll {
        ULONGLONG at;
        bool clickFirst; // 中止 clicked just before this poll
        bool atOnce;     // PollStopNow instead of PollStop
        bool stopSeen;
        const char* point;
    };
    const Poll polls[] = {
        {1000, true, false, true, "the first poll of an operation pumps at once"},
        {1000, true, false, false, "right after a pump the click waits in the queue"},
        {1019, false, false, false, "one millisecond before the interval is over"},
        {1020, false, false, true, "the interval is over: the waiting click is seen"},
        {1021, false, false, false, "and reported once"},
        {1025, true, true, true, "a poll at once does not wait for the interval"},
        {1030, true, false, false, "and starts the interval again"},
        {1044, false, false, false, "still within it"},
        {1045, false, false, true, "seen one interval after the poll at once"},
        {9000, true, false, true, "after a long unit of work the next poll pumps"},
    };
    g_now = 1000;
    ASSERT_TRUE(busy.CreateBusy());
    for (const Poll& poll : polls) {
        g_now = poll.at;
        if (poll.clickFirst)
            ClickButton(busy.m_hWnd, IDCANCEL);
        bool stop = poll.atOnce ? busy.PollStopNow() : busy.PollStop();
        EXPECT_EQ(poll.stopSeen, stop) << poll.at << ": " << poll.point;
    }
    // A click that no poll took before the end does not stop the next operation.
    ClickButton(busy.m_hWnd, IDCANCEL);
    busy.PumpMessages();
    busy.Destroy();
    ASSERT_TRUE(busy.CreateBusy());
    EXPECT_FALSE(busy.PollStop());
    busy.Destroy();
}

// The operation only counts; its figures reach the window when a poll pumps and
// a tenth of a second has passed since they last did, and once more when the
// operation lets go of them.
TEST(DlgBusy, FiguresMoveAtPumpsAtMostEveryTenthOfASecond) {
    OwnerWindow owner;
    CDlgBusy busy(&owner, PollPacer(&FakeClock, 20));
    g_now = 1000;
    ASSERT_TRUE(busy.CreateBusy());
    HWND bar = GetDlgItem(busy.m_hWnd, IDC_PROGRESSBAR);
    ProgressFigures search;
    busy.ShowFigures(&search);
    EXPECT_EQ("読み込んだ項目：処理 0 件　参照 0 件", ControlText(busy.m_hWnd, IDC_FIGURES));
    EXPECT_EQ("経過 0:00", ControlText(busy.m_hWnd, IDC_TIMES));
    EXPECT_FALSE(IsWindowVisible(bar)) << "how much a search has left is not known";
    struct Poll {
        ULONGLONG at;
        bool atOnce;
        int shownEntries;
        const char* point;
    };
    const Poll polls[] = {
        {1000, false, 0, "the first pump comes at once, the figures have just been shown"},
        {1099, false, 0, "a pump 99 ms after the figures"},
        {1100, false, 0, "100 ms, but no pump is due"},
        {1119, false, 1119, "the next pump"},
        {1150, false, 1119, "a pump 31 ms after the figures"},
        {1219, true, 1219, "a poll at once, 100 ms after the figures"},
    };
    for (const Poll& poll : polls) {
        g_now = poll.at;
        search.processingEntries = static_cast<int>(poll.at);
        poll.atOnce ? busy.PollStopNow() : busy.PollStop();
        EXPECT_EQ("読み込んだ項目：処理 " + GroupedNumber(poll.shownEntries) + " 件　参照 0 件",
                  ControlText(busy.m_hWnd, IDC_FIGURES))
            << poll.at << ": " << poll.point;
    }
    // The lines' refresh (already throttled) takes the figures along, so the two agree.
    g_now = 1230;
    search.processingEntries = 5000;
    busy.Refresh();
    EXPECT_EQ("読み込んだ項目：処理 5,000 件　参照 0 件", ControlText(busy.m_hWnd, IDC_FIGURES));

    ProgressFigures rows;
    rows.kind = ProgressFigures::Kind::RowsAndBytes;
    rows.rowsPlanned = 4;
    rows.currentFile = "\\表\\ソ.txt";
    busy.ShowFigures(&rows);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ("処理済み 0 / 4 件", ControlText(busy.m_hWnd, IDC_FIGURES));
    EXPECT_EQ("\\表\\ソ.txt", ControlText(busy.m_hWnd, IDC_CURRENTFILE));
    EXPECT_EQ(0, SendMessageA(bar, PBM_GETPOS, 0, 0));
    g_now = 5000;
    rows.rowsDone = 2;
    busy.ShowFigures(nullptr);
    EXPECT_EQ("処理済み 2 / 4 件", ControlText(busy.m_hWnd, IDC_FIGURES)) << "the last values";
    EXPECT_EQ("経過 0:04　残り 約 0:04", ControlText(busy.m_hWnd, IDC_TIMES));
    EXPECT_EQ(kBarRange / 2, SendMessageA(bar, PBM_GETPOS, 0, 0));
    rows.rowsDone = 3;
    g_now = 6000;
    busy.PollStopNow();
    EXPECT_EQ("処理済み 2 / 4 件", ControlText(busy.m_hWnd, IDC_FIGURES)) << "no longer read";
    busy.Destroy();
}

// How the user answers a confirmation.
struct Answer {
    const char* name;
    std::function<void(HWND)> act;
    INT_PTR expected;
};

void Click(HWND dialog, int id) {
    ClickButton(dialog, id);
}
// Typed while the default button has the focus; the focus itself is not relied
// on, since a test process running beside others may not be the active one.
void Key(HWND dialog, WPARAM key) {
    LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    PressKey(GetDlgItem(dialog, LOWORD(defId)), key);
}
void CloseBox(HWND dialog) {
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

template <class Dialog>
INT_PTR Ask(Dialog& dialog, const std::function<void(HWND)>& act, std::string* shownText) {
    ModalScript script({WhenWindow("確認", [&](HWND hwnd) {
        *shownText = ControlText(hwnd, IDC_MESSAGE);
        act(hwnd);
    })});
    INT_PTR result = dialog.DoModal();
    EXPECT_FALSE(script.TimedOut());
    return result;
}

TEST(DlgDelWarn, EachAnswerGivesItsResult) {
    const Answer answers[] = {
        {"はい", [](HWND d) { Click(d, IDYES); }, 6},
        {"いいえ", [](HWND d) { Click(d, IDNO); }, 7},
        {"全て削除", [](HWND d) { Click(d, IDC_DELETEALL); }, 5},
        {"中断", [](HWND d) { Click(d, IDCANCEL); }, 2},
        {"Enter", [](HWND d) { Key(d, VK_RETURN); }, 6},
        {"Escape", [](HWND d) { Key(d, VK_ESCAPE); }, 2},
        {"close box", CloseBox, 2},
    };
    for (const Answer& answer : answers) {
        CDlgDelWarn dialog;
        dialog.m_strMessage = "ファイルを削除してもよろしいですか？\nC:\\表\\a.txt";
        std::string shown;
        EXPECT_EQ(answer.expected, Ask(dialog, answer.act, &shown)) << answer.name;
        // Shown on two lines, the path whole.
        EXPECT_EQ("ファイルを削除してもよろしいですか？\r\nC:\\表\\a.txt", shown);
    }
}

TEST(DlgWarn, EachAnswerGivesItsResult) {
    const Answer answers[] = {
        {"全て出力", [](HWND d) { Click(d, IDOK); }, 1},
        {"この処理を出力", [](HWND d) { Click(d, IDIGNORE); }, 5},
        {"この処理は出力しない", [](HWND d) { Click(d, IDC_SKIPTHIS); }, 4},
        {"中断", [](HWND d) { Click(d, IDCANCEL); }, 2},
        {"Enter", [](HWND d) { Key(d, VK_RETURN); }, 1},
        {"Escape", [](HWND d) { Key(d, VK_ESCAPE); }, 2},
        {"close box", CloseBox, 2},
    };
    for (const Answer& answer : answers) {
        CDlgWarn dialog;
        dialog.m_strMessage = "COPY \\\\server\\share\\a.txt C:\\b\\a.txt";
        std::string shown;
        EXPECT_EQ(answer.expected, Ask(dialog, answer.act, &shown)) << answer.name;
        EXPECT_EQ(dialog.m_strMessage, shown);
    }
}

} // namespace
