#pragma once
// The rows the last synchronisation could not carry out, each with why, and a
// button that opens that run's log: what 前回の失敗 on the 表示 menu shows.
#include <string>
#include <vector>

#include "exec/SyncExecutor.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CDlgFailures : public CDialog {
public:
    // The outcome must outlive the dialog.
    explicit CDlgFailures(const SyncOutcome& outcome);

    // The log the button opens; empty when the run wrote none.
    static std::string LogToOpen(const SyncOutcome& outcome);

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnGetDispInfo(NMHDR* header, LRESULT* result);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnOpenLog();

private:
    // The chosen row's command and reason in full, below the list.
    void ShowDetail(int row);

    const SyncOutcome& outcome_;
    std::string log_;
    CListCtrl list_; // a virtual list: the rows' texts stay here
    // Each row's texts in the escape form of every text that shows a name.
    std::vector<std::string> commands_;
    std::vector<std::string> reasons_;
};
