#pragma once
// The runs over the current job's two folders, newest first, and 元に戻す for
// the one chosen: what 実行履歴 on the 表示 menu shows. The dialog only
// chooses; the controller builds the plan that undoes the run.
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "run/RunHistory.h"

class CDlgHistory : public CDialog {
public:
    // The history must outlive the dialog.
    explicit CDlgHistory(const std::vector<RunSummary>& history);

    // The start of the run to undo ("20261208-093015") once the dialog ended
    // with IDOK.
    const std::string& Chosen() const { return chosen_; }

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnGetDispInfo(NMHDR* header, LRESULT* result);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnUndo();

private:
    // The chosen run in full below the list; 元に戻す only for one that can be undone.
    void ShowDetail(int row);

    const std::vector<RunSummary>& history_;
    CListCtrl list_;
    std::string chosen_;
    int selected_ = -1;
};

// The history list's texts for one run and column: 開始日時, 処理定義ファイル,
// コピー, 削除, フォルダ作成, フォルダ削除, 移動, 元に戻せるか. Exposed for tests.
std::string HistoryCellText(const RunSummary& run, int column);
