// The progress window and the two confirmation dialogs, driven as a user would:
// buttons, Enter, Escape and the close box.
#include <gtest/gtest.h>
#include <windows.h>

#include "ModalScript.h"
#include "ui/DlgBusy.h"
#include "ui/DlgConfirm.h"
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
    CDlgBusy busy(&owner);
    ASSERT_TRUE(busy.CreateBusy());
    EXPECT_FALSE(busy.PollStop());
    ClickButton(busy.m_hWnd, IDCANCEL);
    EXPECT_TRUE(busy.PollStop());
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
