#include "framework/Dialog.h"

#include "framework/WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* wnd = reinterpret_cast<CWnd*>(lParam);
    wnd->SubclassWindow(hwnd);
    wnd->m_bOwnsWindow = true;
    auto* dialog = dynamic_cast<CDialog*>(wnd);
    if (dialog == nullptr)
        return FALSE;
    // Placed before a visible template shows itself at the top left corner.
    if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
        AfxCenterWindow(hwnd, GetWindow(hwnd, GW_OWNER));
    return dialog->OnInitDialog();
}

void AfxCenterWindow(HWND hwnd, HWND over) {
    RECT window = {};
    GetWindowRect(hwnd, &window);
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    HWND reference = over != nullptr && IsWindowVisible(over) && !IsIconic(over) ? over : nullptr;
    GetMonitorInfoA(
        MonitorFromWindow(reference != nullptr ? reference : hwnd, MONITOR_DEFAULTTOPRIMARY),
        &monitor);
    const RECT& work = monitor.rcWork;
    RECT centre = work;
    if (reference != nullptr)
        GetWindowRect(reference, &centre);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = (centre.left + centre.right - width) / 2;
    int y = (centre.top + centre.bottom - height) / 2;
    // Inside the work area, the caption first when the dialog is larger.
    x = x + width > work.right ? work.right - width : x;
    y = y + height > work.bottom ? work.bottom - height : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_bEndModal = false;
    HWND hwnd = CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(templateId),
                                   parent != nullptr ? parent->m_hWnd : nullptr, AfxDlgProc,
                                   reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    return hwnd != nullptr;
}

namespace {

HWND TopLevelOf(HWND hwnd) {
    while (hwnd != nullptr && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
        hwnd = ::GetParent(hwnd);
    return hwnd;
}

} // namespace

INT_PTR CDialog::DoModal() {
    // Nobody would answer: the caller gets the result of a dialog that could not
    // be shown.
    if (AfxIsUnattended())
        return -1;
    HWND owner = TopLevelOf(m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : GetActiveWindow());
    if (owner == nullptr) {
        // With no active window (another program has the focus) the main window
        // still owns the dialog, so that it cannot be used underneath.
        CWnd* main = AfxGetMainWnd();
        if (main != nullptr && main->m_hWnd != nullptr && main->IsWindowVisible())
            owner = main->m_hWnd;
    }

    m_bEndModal = false;
    m_nModalResult = -1;
    m_bInModalLoop = true;
    HWND hwnd = CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                   AfxDlgProc, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    if (hwnd == nullptr) {
        m_bInModalLoop = false;
        return -1;
    }
    bool disabledOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);
    if (!m_bEndModal && m_hWnd != nullptr) {
        // SetWindowPos rather than ShowWindow: the show state the program was
        // started with is the main window's, not the first dialog's.
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        MSG msg;
        while (!m_bEndModal) {
            BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got <= 0) {
                PostQuitMessage(static_cast<int>(msg.wParam)); // the outer loop ends too
                break;
            }
            if (!AfxPreTranslateTree(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            // The system's EndDialog hides the window and posts WM_NULL to wake
            // the loop; a destroyed window cannot answer at all.
            bool endedOutside = m_hWnd == nullptr || (msg.message == WM_NULL &&
                                                      msg.hwnd == m_hWnd && !IsWindowVisible());
            if (!m_bEndModal && endedOutside) {
                m_nModalResult = IDCANCEL;
                m_bEndModal = true;
            }
        }
    }
    m_bInModalLoop = false;
    // The owner is enabled and activated before the dialog hides, as the system's
    // dialog manager does: hidden first, the activation would go to no window.
    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    // A dialog destroyed from outside left no window active.
    HWND active = GetActiveWindow();
    if (owner != nullptr && (active == nullptr || (m_hWnd != nullptr && active == m_hWnd)))
        SetActiveWindow(owner);
    if (m_hWnd != nullptr) {
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        DestroyWindow();
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEndModal = true;
    // A modal dialog hides once its owner is enabled again (DoModal); a
    // modeless one hides at once and stays until it is destroyed.
    if (m_hWnd != nullptr && !m_bInModalLoop)
        ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return IsDialogMessageA(m_hWnd, msg);
}
