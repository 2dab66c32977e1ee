#include "ui/DlgConfirm.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

CDlgDelWarn::CDlgDelWarn() : CDialog(IDD_DELWARN) {}

BEGIN_MESSAGE_MAP(CDlgDelWarn, CDialog)
ON_BN_CLICKED(IDYES, OnYes)
ON_BN_CLICKED(IDNO, OnNo)
ON_BN_CLICKED(IDC_DELETEALL, OnDeleteAll)
END_MESSAGE_MAP()

void CDlgDelWarn::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_MESSAGE, m_strMessage);
}

BOOL CDlgDelWarn::OnInitDialog() {
    // A deletion is asked with the warning sign of the system's message boxes.
    HICON warning = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
    ::SendDlgItemMessageA(m_hWnd, IDC_WARNICON, STM_SETICON, reinterpret_cast<WPARAM>(warning), 0);
    CDialog::OnInitDialog();
    // The text field breaks lines at CR LF only ('\n' is never a second byte).
    std::string shown;
    for (char c : m_strMessage)
        shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
    SetDlgItemText(IDC_MESSAGE, shown);
    // The text is read, not edited: the focus starts on the default answer.
    ::SetFocus(GetDlgItem(IDYES));
    return FALSE;
}

CDlgWarn::CDlgWarn() : CDialog(IDD_WARN) {}

BEGIN_MESSAGE_MAP(CDlgWarn, CDialog)
ON_BN_CLICKED(IDIGNORE, OnWriteThis)
ON_BN_CLICKED(IDC_SKIPTHIS, OnSkipThis)
END_MESSAGE_MAP()

void CDlgWarn::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_MESSAGE, m_strMessage);
}
