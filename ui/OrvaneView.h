#pragma once
// The main window's client: two label lines and the result list, one row per
// planned action. The view holds the rows' SyncItems in list order; the list
// control holds only their count and selection (a virtual list) and asks for
// each cell's text when it draws it. The view also runs the long operations (search,
// synchronisation, batch export) and the job commands of the menu.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/EngineCallbacks.h"
#include "engine/SearchCore.h"
#include "engine/SyncItem.h"
#include "exec/DlgBusy.h"
#include "exec/ExecCallbacks.h"
#include "exec/SyncExecutor.h"
#include "framework/Controls.h"
#include "framework/View.h"

class CFrameWnd;
class CStatusBar;
class JobContext;

// What the view takes from the command line for the first job.
struct StartArguments {
    bool unattended = false;
    std::string jobPath;
    std::string processingFolder;
    std::string referenceFolder;
};

class COrvaneView : public CFormView, public IRowSink, public IRowSource {
public:
    // Edits a job in the settings dialog (the application's EditJob); true when
    // the user confirmed.
    using EditJobFunction =
        std::function<bool(const std::string& path, const std::string& processingFolder,
                           const std::string& referenceFolder)>;

    // Without an EditJob of the application's, the view runs the dialog itself.
    // The start arguments are the application's, taken once at start-up.
    explicit COrvaneView(JobContext& jobs, EditJobFunction editJob = nullptr,
                         StartArguments start = StartArguments());
    ~COrvaneView() override;

    std::string lastMessage;
    // What the last search found on each side, for the check of mass deletions.
    SearchCounts searchCounts;
    // How the last synchronisation ended, with its counts of failed and undone rows.
    SyncOutcome lastSyncOutcome;
    std::vector<std::string> includeExtensionList;
    std::vector<std::string> excludeExtensionList;
    CDlgBusy progressDialog;
    int unattended = 0;
    // Entries the last search left out (links, names the path functions would
    // misread, case-only twins), by full path; none of them is planned.
    std::vector<std::string> leftOutPaths;
    int leftOutCount = 0;
    // What the unattended run came to, for its exit code.
    bool jobRefused = false;
    bool searchStopped = false;
    bool searchCompleted = false;
    bool searchRan = false;
    CListCtrl resultList;
    CStatic processingLabel;
    CStatic referenceLabel;

    void OnInitialUpdate() override;

    // Adds a row owning the item at `position` (at the end when out of range);
    // the row index.
    int InsertRow(SyncItem* item, int position) override;
    // Puts the rows in processing priority (ComparePriority), keeping the order
    // of equal rows.
    void SortRows();
    void SetupColumns();
    void DeleteAllRows();
    void RemoveSelectedRows();
    void SelectAllRows();
    void ShowItemCount();
    void LayoutControls(int cx, int cy);

    void RunSearch();
    void ExecuteSync();
    void ExportBatch();

    // Rows as the executor and the batch writer read them.
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    const SyncItem& Row(int index) const override;

    // The pane texts of the main window's status bar (for tests and the frame).
    CStatusBar* StatusBar() const;
    void SetStatusText(const std::string& text);

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
    void OnSelectAll() { SelectAllRows(); }
    void OnSearchAgain() { RunSearch(); }
    void OnExecuteSync() { ExecuteSync(); }
    void OnExportBatch() { ExportBatch(); }
    void OnOptions();
    void OnFileOpen();
    void OnFileSave();
    void OnRecentJob(UINT id);
    void OnHelp();

    // The first job after start-up: the unattended run or the settings dialog.
    void StartFirstJob(const StartArguments& arguments);
    // Runs the settings dialog; true when the user confirmed.
    bool EditJob(const std::string& path, const std::string& processingFolder,
                 const std::string& referenceFolder);
    void SetLabels(const std::string& processing, const std::string& reference);
    // A message box, or in an unattended run a report (standard error).
    void Tell(const std::string& text);
    // Refuses an unattended job whose values nobody can mean; true when refused.
    bool RefuseJob(const StartArguments& arguments);
    // Disables the frame and the view and shows the progress window, or the reverse.
    void BeginLongOperation(const char* firstLine);
    void EndLongOperation();

    CFrameWnd* ParentFrame() const;
    // After rows were inserted, removed or moved: clears the list's marks, tells
    // it the row count and redraws it.
    void ShowChangedRows();
    // The row from `start` (going round to the top when `wrap`) whose first
    // cell matches `typed`; -1 when none does.
    int FindRow(const std::string& typed, int start, bool wrap, bool whole) const;
    // The row the list asks about, or null for a row number it should not have.
    const SyncItem* RowOrNull(int index) const {
        return index >= 0 && index < RowCount() ? rows_[static_cast<size_t>(index)].get() : nullptr;
    }

    JobContext& jobs_;
    EditJobFunction editJob_;
    StartArguments start_;
    std::vector<std::unique_ptr<SyncItem>> rows_;
};

// Splits a command line into arguments: quotes switch quoting on and off and are
// dropped, runs of blanks outside quotes separate, empty arguments are dropped.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
// Takes the arguments: "-s" in any case, "--proc"/"--ref" with their folder
// attached, anything else the job file; the last of a kind counts.
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);
// The status text after a search that left entries out.
std::string LeftOutText(int count);
// A result column's width in pixels: the column's 96-DPI width scaled to `dpi`,
// widened when a text `textWidth` pixels wide would be cut.
int ResultColumnWidth(int baseWidth, int dpi, int textWidth);
// "Orvane - name.ext" for a job file, "Orvane" without one.
std::string WindowTitleFor(const std::string& jobPath);
