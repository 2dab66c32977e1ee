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
    return dialog != nullptr ? dialog->OnInitDialog() : FALSE;
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

INT_PTR CDialog::DoModal() {
    // Nobody would answer: the caller gets the result of a dialog that could not
    // be shown.
    if (AfxIsUnattended())
        return -1;
    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : GetActiveWindow();
    while (owner != nullptr && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);

    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hwnd = CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                   AfxDlgProc, reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    if (hwnd == nullptr) {
        return -1;
    }
    bool disabledOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);
    if (!m_bEndModal) {
        ShowWindow(SW_SHOWNORMAL);
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
        }
    }
    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && GetActiveWindow() == m_hWnd)
        SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEndModal = true;
    if (m_hWnd != nullptr)
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
