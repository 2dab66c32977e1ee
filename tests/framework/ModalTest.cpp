// Every way a modal dialog can end gives the input back to its owner: the owner
// is enabled, active and has the focus, and DoModal returns even when the dialog
// was ended or destroyed by someone else than itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "ModalScript.h"
#include "framework/Dialog.h"

namespace {

constexpr UINT kTemplate = 100;

class OwnerWindow : public CWnd {
public:
    OwnerWindow() {
        CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 640, 420, nullptr,
                 nullptr);
        SetForegroundWindow(m_hWnd);
        SetActiveWindow(m_hWnd);
    }
};

POINT CentreOf(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace

TEST(ModalDialog, EveryEndReturnsAndGivesTheOwnerBackItsInput) {
    struct Row {
        const char* how;
        std::function<void(HWND dialog, HWND owner)> end;
        INT_PTR result;
    };
    const Row rows[] = {
        {"its own OK button", [](HWND d, HWND) { ClickButton(d, IDOK); }, IDOK},
        {"Escape", [](HWND d, HWND) { PressKey(GetDlgItem(d, IDOK), VK_ESCAPE); }, IDCANCEL},
        {"EndDialog from outside", [](HWND d, HWND) { ::EndDialog(d, 77); }, IDCANCEL},
        {"WM_CLOSE from outside", [](HWND d, HWND) { PostMessageA(d, WM_CLOSE, 0, 0); }, IDCANCEL},
        {"destroyed from outside", [](HWND d, HWND) { ::DestroyWindow(d); }, IDCANCEL},
    };
    OwnerWindow owner;
    ASSERT_NE(nullptr, owner.m_hWnd);
    for (const Row& row : rows) {
        HWND dialog = nullptr;
        POINT centre = {};
        bool ownerEnabledInside = true;
        ModalScript script({WhenWindow("modal test", [&](HWND found) {
            dialog = found;
            centre = CentreOf(found);
            ownerEnabledInside = IsWindowEnabled(owner.m_hWnd);
            row.end(found, owner.m_hWnd);
        })});
        CDialog modal(kTemplate, &owner);
        INT_PTR result = modal.DoModal();
        EXPECT_FALSE(script.TimedOut()) << row.how;
        EXPECT_EQ(row.result, result) << row.how;
        ASSERT_NE(nullptr, dialog) << row.how;
        EXPECT_FALSE(ownerEnabledInside) << row.how;
        POINT ownerCentre = CentreOf(owner.m_hWnd);
        EXPECT_LE(std::abs(centre.x - ownerCentre.x), 1) << row.how;
        EXPECT_LE(std::abs(centre.y - ownerCentre.y), 1) << row.how;

        EXPECT_FALSE(IsWindow(dialog)) << row.how;
        EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd)) << row.how;
        EXPECT_EQ(owner.m_hWnd, GetActiveWindow()) << row.how;
        EXPECT_EQ(owner.m_hWnd, GetFocus()) << row.how;
    }
}

TEST(ModalDialog, WithoutAnOwnerOpensInTheMiddleOfTheWorkArea) {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    POINT centre = {};
    ModalScript script({WhenWindow("modal test", [&](HWND found) {
        centre = CentreOf(found);
        ClickButton(found, IDCANCEL);
    })});
    CDialog modal(kTemplate);
    EXPECT_EQ(IDCANCEL, modal.DoModal());
    EXPECT_FALSE(script.TimedOut());
    EXPECT_LE(std::abs(centre.x - (work.left + work.right) / 2), 1);
    EXPECT_LE(std::abs(centre.y - (work.top + work.bottom) / 2), 1);
}
