#include "framework/DataExchange.h"

#include "base/WindowText.h"
#include "framework/WinApp.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

// An extended combo box keeps its text in its inner edit field.
HWND TextWindowOf(HWND control) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    if (_stricmp(className, WC_COMBOBOXEXA) == 0) {
        HWND edit = reinterpret_cast<HWND>(SendMessageA(control, CBEM_GETEDITCONTROL, 0, 0));
        if (edit != nullptr)
            return edit;
    }
    return control;
}

} // namespace

void CDataExchange::Fail(HWND control) {
    m_bFailed = true;
    if (control != nullptr)
        SetFocus(control);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd == nullptr)
        control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    HWND control = TextWindowOf(dx->PrepareCtrl(id));
    dx->m_lastControl = control;
    if (dx->m_bSaveAndValidate)
        value = WindowText(control);
    else
        SetWindowTextA(control, value.c_str());
}

namespace {

// A number that a control reads with one message and shows with another.
void ExchangeNumber(CDataExchange* dx, int id, int& value, UINT getMessage, UINT setMessage,
                    WPARAM shown) {
    HWND control = dx->PrepareCtrl(id);
    dx->m_lastControl = control;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(control, getMessage, 0, 0));
    else
        SendMessageA(control, setMessage, shown, 0);
}

} // namespace

void DDX_Check(CDataExchange* dx, int id, int& value) {
    ExchangeNumber(dx, id, value, BM_GETCHECK, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value) {
    ExchangeNumber(dx, id, value, CB_GETCURSEL, CB_SETCURSEL, static_cast<WPARAM>(value));
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars) {
    if (dx->m_bFailed)
        return;
    if (!dx->m_bSaveAndValidate) {
        SendMessageA(dx->m_lastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    // A greyed field cannot be corrected by the user, so it is not refused.
    if (static_cast<int>(value.size()) > maxChars && IsWindowEnabled(dx->m_lastControl)) {
        char message[128];
        wsprintfA(message, "%d 文字以内で入力してください。", maxChars);
        AfxMessageBoxOwned(dx->m_pDlgWnd->m_hWnd, message, MB_OK | MB_ICONEXCLAMATION);
        dx->Fail(dx->m_lastControl);
    }
}
