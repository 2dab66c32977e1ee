// Keys in a form view, offered as the message loop offers them: the form moves
// the focus as a dialog does and leaves every other key to the frame.
#include <gtest/gtest.h>
#include <windows.h>

#include "framework/View.h"

namespace {

constexpr UINT kForm = 200;
constexpr int kFirstRadio = 201;
constexpr int kSecondRadio = 202;
constexpr int kEdit = 203;

class Frame : public CWnd {
public:
    Frame() {
        CreateEx(0, nullptr, "form test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 400, 300,
                 nullptr, nullptr);
        SetForegroundWindow(m_hWnd);
        SetActiveWindow(m_hWnd);
    }
};

} // namespace

TEST(FormView, TabAndArrowsMoveTheFocusAsInADialogOtherKeysGoToTheFrame) {
    const struct {
        const char* what;
        int from;
        WPARAM key;
        bool taken; // false: left to the frame's accelerators
        int to;
    } rows[] = {
        {"Down within the group", kFirstRadio, VK_DOWN, true, kSecondRadio},
        {"Up within the group", kSecondRadio, VK_UP, true, kFirstRadio},
        {"Right within the group", kFirstRadio, VK_RIGHT, true, kSecondRadio},
        {"Tab to the next group", kFirstRadio, VK_TAB, true, kEdit},
        {"Down in an edit field stays there", kEdit, VK_DOWN, true, kEdit},
        {"Escape", kEdit, VK_ESCAPE, false, kEdit},
        {"Enter", kFirstRadio, VK_RETURN, false, kFirstRadio},
        {"a letter", kEdit, 'A', false, kEdit},
    };
    Frame frame;
    CFormView form(kForm);
    ASSERT_TRUE(form.Create(&frame, 1));
    for (const auto& row : rows) {
        // An arrow checks the radio button it moves to, and a checked button
        // changes where Tab goes: every row starts with none checked.
        CheckDlgButton(form.m_hWnd, kFirstRadio, BST_UNCHECKED);
        CheckDlgButton(form.m_hWnd, kSecondRadio, BST_UNCHECKED);
        HWND from = form.GetDlgItem(row.from);
        SetFocus(from);
        ASSERT_EQ(from, GetFocus()) << row.what;
        MSG msg = {from, WM_KEYDOWN, row.key, 1, 0, {}};
        EXPECT_EQ(row.taken, AfxPreTranslateTree(frame.m_hWnd, &msg) != FALSE) << row.what;
        EXPECT_EQ(form.GetDlgItem(row.to), GetFocus()) << row.what;
    }
}
