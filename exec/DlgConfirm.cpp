#include "exec/DlgConfirm.h"

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

CDlgWarn::CDlgWarn() : CDialog(IDD_WARN) {}

BEGIN_MESSAGE_MAP(CDlgWarn, CDialog)
ON_BN_CLICKED(IDIGNORE, OnWriteThis)
ON_BN_CLICKED(IDC_SKIPTHIS, OnSkipThis)
END_MESSAGE_MAP()

void CDlgWarn::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_MESSAGE, m_strMessage);
}
