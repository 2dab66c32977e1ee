#pragma once
// The main window's client: two label lines and the result list, one row per
// planned action. The rows are the run controller's plan; the list control holds
// only their count and selection (a virtual list) and asks for each cell's text
// when it draws it. The view is the run's host: it shows the progress window,
// asks the questions and tells the user, while the controller runs the job.
#include <string>

#include "framework/Controls.h"
#include "framework/View.h"
#include "run/RunController.h"
#include "run/RunHost.h"
#include "ui/DlgBusy.h"

class CFrameWnd;
class CStatusBar;
class JobContext;

class COrvaneView : public CFormView, public IRunHost {
public:
    // The start arguments are the application's, taken once at start-up.
    COrvaneView(JobContext& jobs, RunController& run, StartArguments start = StartArguments());
    ~COrvaneView() override;

    CDlgBusy progressDialog;
    CListCtrl resultList;
    CStatic processingLabel;
    CStatic referenceLabel;
    // The plan at a glance, below the two folder lines.
    CStatic summaryLabel;

    void OnInitialUpdate() override;

    // Adds a row owning the item at `position` (at the end when out of range);
    // the row index.
    int InsertRow(SyncItem* item, int position);
    // Puts the rows in processing priority (ComparePriority), keeping the order
    // of equal rows.
    void SortRows();
    void SetupColumns();
    void DeleteAllRows();
    void RemoveSelectedRows();
    // Settles the selected conflict rows for one side (PlanRows::ResolveConflicts).
    void ResolveSelectedConflicts(bool processingWins);
    // One flag per row: whether the list has it selected.
    std::vector<bool> SelectedRows();
    void SelectAllRows();
    // The row count in the status bar and the plan's summary above the list.
    void ShowItemCount();
    void LayoutControls(int cx, int cy);

    int RowCount() const { return run_.Plan().RowCount(); }
    RunController& Run() { return run_; }

    // The pane texts of the main window's status bar (for tests and the frame).
    CStatusBar* StatusBar() const;

    // The run's host.
    IProgress& BeginOperation(const std::string& firstLine) override;
    void EndOperation() override;
    int AskDelete(const std::string& question) override;
    bool AskMassDeletion(const std::string& question) override;
    int AskNetworkLine(const std::string& command) override;
    bool EditJob(const std::string& jobPath, const std::string& processingFolder,
                 const std::string& referenceFolder) override;
    void ShowSearchStart(const JobSettings& job, const std::string& jobPath) override;
    void ShowPlan() override;
    void Tell(const std::string& text) override;
    void ShowStatus(const std::string& text) override;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override;
    void OnSize(UINT type, int cx, int cy);
    void OnGetDispInfo(NMHDR* header, LRESULT* result);
    // Type-ahead in the list: the first row from the start row whose name
    // begins with the typed text.
    void OnFindItem(NMHDR* header, LRESULT* result);
    void UpdateListCommand(CCmdUI* cmdUI);

    void OnRemoveRows() { RemoveSelectedRows(); }
    void OnResolveProcessing() { ResolveSelectedConflicts(true); }
    void OnResolveReference() { ResolveSelectedConflicts(false); }
    void UpdateResolveCommand(CCmdUI* cmdUI);
    void OnSelectAll() { SelectAllRows(); }
    void OnSearchAgain() { run_.Search(); }
    void OnExecuteSync() { run_.Synchronise(); }
    void OnExportBatch();
    void OnOptions();
    void OnFileOpen();
    void OnFileSave();
    void OnRecentJob(UINT id);
    void OnHelp();
    // The failed rows of the last synchronisation, with why, and its log.
    void OnShowFailures();
    void UpdateFailuresCommand(CCmdUI* cmdUI);
    void OnShowHistory();

    void SetLabels(const std::string& processing, const std::string& reference);
    CFrameWnd* ParentFrame() const;
    // After rows were inserted, removed or moved: clears the list's marks, tells
    // it the row count and redraws it.
    void ShowChangedRows();
    // The row from `start` (going round to the top when `wrap`) whose first
    // cell matches `typed`; -1 when none does.
    int FindRow(const std::string& typed, int start, bool wrap, bool whole) const;

    JobContext& jobs_;
    RunController& run_;
    StartArguments start_;
};

// A result column's width in pixels: the column's 96-DPI width scaled to `dpi`,
// widened when a text `textWidth` pixels wide would be cut.
int ResultColumnWidth(int baseWidth, int dpi, int textWidth);
// "Orvane - name.ext" for a job file, "Orvane" without one.
std::string WindowTitleFor(const std::string& jobPath);
