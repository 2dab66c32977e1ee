// The view's long operations: the search, the synchronisation and the batch export.
#include "ui/OrvaneView.h"

#include "engine/PriorityRows.h"
#include "engine/SearchCore.h"
#include "engine/ThrottledProgress.h"
#include "engine/SyncItem.h"
#include "exec/BatchWriter.h"
#include "exec/DlgConfirm.h"
#include "exec/SyncExecutor.h"
#include "exec/SyncStatus.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "ui/CommonDialogs.h"
#include "ui/PathText.h"

namespace {

class DeleteQuestion : public IDeleteQuestion {
public:
    int AskDelete(const std::string& question) override {
        CDlgDelWarn dialog;
        dialog.m_strMessage = question;
        return static_cast<int>(dialog.DoModal());
    }
    bool AskMassDeletion(const std::string& question) override {
        return AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) ==
               IDYES;
    }
};

class NetworkQuestion : public INetworkQuestion {
public:
    int AskNetworkLine(const std::string& command) override {
        CDlgWarn dialog;
        dialog.m_strMessage = command;
        return static_cast<int>(dialog.DoModal());
    }
};

} // namespace

std::string LeftOutText(int count) {
    return "対象外の項目が" + std::to_string(count) + "件あります（処理しません）";
}

std::string WindowTitleFor(const std::string& jobPath) {
    if (jobPath.empty())
        return "Orvane";
    PathParts parts = SplitPath(jobPath);
    return "Orvane - " + parts.name + parts.extension;
}

void COrvaneView::RunSearch() {
    const JobSettings& job = jobs_.currentJob;
    lastMessage.clear();
    if (CFrameWnd* frame = ParentFrame())
        frame->SetWindowText(WindowTitleFor(jobs_.currentJobPath));
    SetLabels("処理フォルダ：" + job.processingFolder, "参照フォルダ：" + job.referenceFolder);
    resultList.SetRedraw(FALSE);
    BeginLongOperation("処理の準備をしています");
    SetupColumns();
    DeleteAllRows();

    searchRan = true;
    searchStopped = false;
    PriorityRows rows;
    ThrottledProgress progress(progressDialog);
    searchCounts = SearchCounts();
    bool completed =
        SearchAndCompare(job, includeExtensionList, excludeExtensionList, progress, rows,
                         lastMessage, SystemFileFinder(), &searchCounts, &leftOutPaths);
    leftOutCount = static_cast<int>(leftOutPaths.size());
    if (completed) {
        progressDialog.SetLine1("処理優先順にソート中");
        progressDialog.SetLine2("（中断するのに時間がかかる場合があります）");
        progressDialog.Refresh();
        rows.HandOver(*this);
        SortRows();
        EndLongOperation();
        resultList.SetRedraw(TRUE);
        if (leftOutCount > 0) {
            lastMessage = LeftOutText(leftOutCount);
            SetStatusText(lastMessage);
        }
    } else {
        leftOutPaths.clear();
        leftOutCount = 0;
        DeleteAllRows();
        EndLongOperation();
        resultList.SetRedraw(TRUE);
        // A failure always says why; only a stop leaves the text empty.
        searchStopped = lastMessage.empty();
        if (searchStopped)
            lastMessage = "処理を中断しました";
        Tell(lastMessage);
    }
    searchCompleted = completed;
    ShowItemCount();
}

void COrvaneView::ExecuteSync() {
    SyncOptions options = MakeSyncOptions(jobs_.currentJob, unattended != 0, lastMessage, m_hWnd);
    options.countsKnown = searchCounts.complete;
    options.processingFound = searchCounts.processing;
    options.referenceFound = searchCounts.reference;
    OperationLog log;
    lastSyncOutcome = SyncOutcome();
    if (options.outputLog && !log.Open(options.logFolder, lastMessage)) {
        lastSyncOutcome.end = SyncEnd::LogNotOpened;
        lastSyncOutcome.rows = RowCount();
        // Unattended, the path tells where the log was looked for.
        Tell(unattended ? "ログファイルが開けません\r\n" + log.Path() : "ログファイルが開けません");
        return;
    }
    for (const std::string& path : leftOutPaths)
        log.WriteLeftOut(path);
    BeginLongOperation("ファイル処理中です");
    DeleteQuestion question;
    lastSyncOutcome =
        RunSyncRows(*this, options, options.outputLog ? &log : nullptr, progressDialog, question);
    EndLongOperation();
    log.Close();
    lastSyncOutcome.logComplete = log.Complete();
    SetStatusText(SyncStatusText(lastSyncOutcome));
    if (!lastSyncOutcome.logComplete)
        Tell(kLogIncompleteText);
}

void COrvaneView::ExportBatch() {
    std::string path = "Orvane";
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter = std::string("batファイル(*.bat)") + '\0' + "*.bat" + '\0';
    request.title = "名前を付けて保存";
    request.defaultExtension = "bat";
    // Beside the job the batch file belongs to, not in whatever folder is current.
    const std::string& jobPath =
        jobs_.currentJobPath.empty() ? JobContext::DefaultJobPath() : jobs_.currentJobPath;
    PathParts jobParts = SplitPath(jobPath);
    request.initialFolder = jobParts.drive + jobParts.folder;
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!AskFileName(FileDialogKind::Save, request, path))
        return;

    OutputFile file;
    if (file.Create(path)) {
        BeginLongOperation("バッチファイルを出力中です");
        NetworkQuestion question;
        BatchOutcome outcome = WriteBatchLines(file, *this, progressDialog, question);
        bool closed = file.Close();
        EndLongOperation();
        SetStatusText("バッチファイル出力が完了しました");
        if (outcome.end == BatchEnd::WriteFailed || !closed)
            AfxMessageBox(kBatchIncompleteText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetStatusText("バッチファイル出力が完了しました");
}
