#pragma once
// Dialog data exchange: one function per kind of control moves a value between
// a member and its control, in the direction the exchange was started with.
#include <string>

#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    HWND PrepareCtrl(int id) const { return m_pDlgWnd->GetDlgItem(id); }
    // A value failed its check: the exchange reports failure and the focus goes
    // to the control that failed.
    void Fail(HWND control);

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    bool m_bFailed = false;
    HWND m_lastControl = nullptr;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Text of an edit, static, combo box or extended combo box (its edit field).
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// Index of the selected entry of a (drop-down list) combo box, -1 for none.
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
// Limits typing in the last exchanged edit and checks the length on saving.
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);
