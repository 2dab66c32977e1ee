#include "ui/DlgHistory.h"

#include "base/PathText.h"
#include "base/TextEscape.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

namespace {

// "2026/12/08 09:30:15" for "20261208-093015" (a "-2" after it stays).
std::string StartText(const std::string& start) {
    if (start.size() < 15)
        return start;
    return start.substr(0, 4) + "/" + start.substr(4, 2) + "/" + start.substr(6, 2) + " " +
           start.substr(9, 2) + ":" + start.substr(11, 2) + ":" + start.substr(13, 2) +
           start.substr(15);
}

std::string FileNameOf(const std::string& path) {
    size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace

std::string HistoryCellText(const RunSummary& run, int column) {
    switch (column) {
    case 0:
        return StartText(run.record.header.start) +
               (run.record.header.undoes.empty() ? "" : "（元に戻す）");
    case 1:
        return EscapeForText(FileNameOf(run.record.header.jobPath));
    case 2:
        return std::to_string(run.copied);
    case 3:
        return std::to_string(run.deleted);
    case 4:
        return std::to_string(run.foldersMade);
    case 5:
        return std::to_string(run.foldersRemoved);
    case 6:
        return std::to_string(run.moved);
    case 7:
        return UndoText(run.undo, run.undone);
    default:
        return std::string();
    }
}

CDlgHistory::CDlgHistory(const std::vector<RunSummary>& history)
    : CDialog(IDD_HISTORY), history_(history) {}

BEGIN_MESSAGE_MAP(CDlgHistory, CDialog)
ON_NOTIFY(LVN_GETDISPINFOA, IDC_HISTORYLIST, OnGetDispInfo)
ON_NOTIFY(LVN_GETDISPINFOW, IDC_HISTORYLIST, OnGetDispInfo)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_HISTORYLIST, OnItemChanged)
ON_BN_CLICKED(IDC_UNDO, OnUndo)
END_MESSAGE_MAP()

void CDlgHistory::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_HISTORYLIST, list_);
}

BOOL CDlgHistory::OnInitDialog() {
    CDialog::OnInitDialog();
    list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    // Texts in UTF-16, so a name the ANSI code page cannot hold shows as it is.
    ::SendMessageA(list_.m_hWnd, LVM_SETUNICODEFORMAT, TRUE, 0);
    RECT client = {};
    list_.GetClientRect(&client);
    const int unit = client.right / 40;
    const struct {
        const char* title;
        int width;
    } columns[] = {{"開始日時", 9},     {"処理定義ファイル", 8}, {"コピー", 3},      {"削除", 3},
                   {"フォルダ作成", 4}, {"フォルダ削除", 4},     {"元に戻せるか", 9}};
    int column = 0;
    for (const auto& [title, width] : columns)
        list_.InsertColumn(column++, title, LVCFMT_LEFT, unit * width);
    list_.SetItemCountEx(static_cast<int>(history_.size()), 0);
    if (!history_.empty())
        list_.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ShowDetail(history_.empty() ? -1 : 0);
    ::SetFocus(list_.m_hWnd);
    return FALSE;
}

void CDlgHistory::OnGetDispInfo(NMHDR* header, LRESULT* result) {
    *result = 0;
    AnswerCellText(header, [this](int row, int column) {
        if (row < 0 || row >= static_cast<int>(history_.size()))
            return std::string();
        return HistoryCellText(history_[static_cast<size_t>(row)], column);
    });
}

void CDlgHistory::OnItemChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
        !(change->uOldState & LVIS_SELECTED))
        ShowDetail(change->iItem);
}

void CDlgHistory::ShowDetail(int row) {
    selected_ = row >= 0 && row < static_cast<int>(history_.size()) ? row : -1;
    if (selected_ < 0) {
        SetDlgItemText(IDC_HISTORYDETAIL, history_.empty()
                                              ? "このジョブのフォルダで行った同期処理の記録は"
                                                "ありません（保存期間を過ぎた記録は削除されます）"
                                              : "");
        ::EnableWindow(GetDlgItem(IDC_UNDO), FALSE);
        return;
    }
    const RunSummary& run = history_[static_cast<size_t>(selected_)];
    const RunRecordHeader& record = run.record.header;
    std::string detail = "処理フォルダ: " + EscapeForText(record.processingFolder) +
                         "\r\n参照フォルダ: " + EscapeForText(record.referenceFolder) +
                         "\r\n元のファイル: " + EscapeForText(OldVersionsText(run)) + "\r\n" +
                         UndoText(run.undo, run.undone);
    if (run.undo == RunSummary::Undo::InPart)
        detail += "（ごみ箱に移したものは一覧に示すので手で戻してください。完全に削除したものは戻"
                  "せません）";
    SetDlgItemText(IDC_HISTORYDETAIL, detail);
    ::EnableWindow(GetDlgItem(IDC_UNDO), run.undo != RunSummary::Undo::Not);
}

void CDlgHistory::OnUndo() {
    if (selected_ < 0)
        return;
    chosen_ = history_[static_cast<size_t>(selected_)].record.header.start;
    EndDialog(IDOK);
}
