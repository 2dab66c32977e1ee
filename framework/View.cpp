#include "framework/View.h"

#include "base/FileHandle.h"
#include "base/TextEscape.h"
#include "framework/WinApp.h"

BOOL CDocument::OnOpenDocument(const char* path) {
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        std::string message = EscapeForText(path) + " を開けません。";
        AfxMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

BEGIN_MESSAGE_MAP(CFormView, CView)
ON_WM_SIZE()
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CFormView::Create(CWnd* parent, UINT id) {
    HWND hwnd =
        CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent->m_hWnd,
                           AfxDlgProc, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    if (hwnd == nullptr)
        return FALSE;
    SetWindowLongPtrA(hwnd, GWLP_ID, static_cast<LONG_PTR>(id));
    ::ShowWindow(hwnd, SW_SHOW); // the template is a hidden child; the view shows itself
    return TRUE;
}

BOOL CFormView::PreTranslateMessage(MSG* msg) {
    // As in a dialog, Tab moves between the form's controls and the arrow keys
    // within a group; a control that takes the arrows itself (a list, an edit)
    // still gets them. Every other key is left to the frame's accelerators
    // (Escape and Enter would otherwise become the form's Cancel and OK).
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    switch (msg->wParam) {
    case VK_TAB:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return IsDialogMessageA(m_hWnd, msg);
    default:
        return FALSE;
    }
}

void CFormView::OnSize(UINT, int, int) {
    Default();
}

void CFormView::OnSetFocus(HWND) {
    HWND first = GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (first != nullptr && first != m_hWnd)
        ::SetFocus(first);
}
