#include "ui/DlgFailures.h"

#include <shellapi.h>

#include "base/TextEscape.h"
#include "exec/StatusText.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

CDlgFailures::CDlgFailures(const SyncOutcome& outcome)
    : CDialog(IDD_FAILURES), outcome_(outcome), log_(LogToOpen(outcome)) {}

BEGIN_MESSAGE_MAP(CDlgFailures, CDialog)
ON_NOTIFY(LVN_GETDISPINFOA, IDC_FAILURELIST, OnGetDispInfo)
ON_NOTIFY(LVN_GETDISPINFOW, IDC_FAILURELIST, OnGetDispInfo)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_FAILURELIST, OnItemChanged)
ON_BN_CLICKED(IDC_OPENLOG, OnOpenLog)
END_MESSAGE_MAP()

std::string CDlgFailures::LogToOpen(const SyncOutcome& outcome) {
    if (outcome.end == SyncEnd::LogNotOpened || outcome.logPath.empty())
        return std::string();
    DWORD attributes = GetFileAttributesA(outcome.logPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::string(); // moved or deleted since
    return outcome.logPath;
}

void CDlgFailures::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_FAILURELIST, list_);
}

BOOL CDlgFailures::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const RowFailure& failure : outcome_.failures) {
        commands_.push_back(EscapeForText(failure.command));
        reasons_.push_back(EscapeForText(failure.reason));
    }
    SetDlgItemText(IDC_FAILURESTATUS, SyncStatusText(outcome_));
    SetDlgItemText(IDC_LOGPATH, log_.empty() ? std::string("この同期処理のログはありません")
                                             : "ログ：" + EscapeForText(log_));
    ::EnableWindow(GetDlgItem(IDC_OPENLOG), !log_.empty());

    list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    // Texts in UTF-16, so a name the ANSI code page cannot hold shows as it is.
    ::SendMessageA(list_.m_hWnd, LVM_SETUNICODEFORMAT, TRUE, 0);
    RECT client = {};
    list_.GetClientRect(&client);
    int commandWidth = client.right * 9 / 20;
    list_.InsertColumn(0, "処理", LVCFMT_LEFT, commandWidth);
    list_.InsertColumn(1, "理由", LVCFMT_LEFT, client.right - commandWidth);
    list_.SetItemCountEx(static_cast<int>(commands_.size()), 0);
    if (!commands_.empty())
        list_.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ShowDetail(0);
    ::SetFocus(list_.m_hWnd);
    return FALSE;
}

void CDlgFailures::OnGetDispInfo(NMHDR* header, LRESULT* result) {
    *result = 0;
    AnswerCellText(header, [this](int row, int column) {
        if (row < 0 || row >= static_cast<int>(commands_.size()))
            return std::string();
        return (column == 0 ? commands_ : reasons_)[static_cast<size_t>(row)];
    });
}

void CDlgFailures::OnItemChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
        !(change->uOldState & LVIS_SELECTED))
        ShowDetail(change->iItem);
}

void CDlgFailures::ShowDetail(int row) {
    if (row < 0 || row >= static_cast<int>(commands_.size()))
        return;
    size_t index = static_cast<size_t>(row);
    SetDlgItemText(IDC_FAILUREDETAIL, commands_[index] + "\r\n理由: " + reasons_[index]);
}

void CDlgFailures::OnOpenLog() {
    if (log_.empty())
        return;
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.hwnd = m_hWnd;
    request.lpVerb = "open";
    request.lpFile = log_.c_str();
    request.nShow = SW_SHOW;
    ShellExecuteExA(&request); // a missing viewer is the shell's to report
}
