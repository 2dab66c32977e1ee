// The view's long operations: the search, the synchronisation and the batch export.
#include "ui/OrvaneView.h"

#include "engine/SearchCore.h"
#include "engine/SyncItem.h"
#include "exec/BatchWriter.h"
#include "exec/DlgConfirm.h"
#include "exec/SyncExecutor.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "ui/CommonDialogs.h"
#include "ui/PathText.h"

namespace {

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM) {
    return ComparePriority(reinterpret_cast<const SyncItem*>(a),
                           reinterpret_cast<const SyncItem*>(b));
}

class DeleteQuestion : public IDeleteQuestion {
public:
    int AskDelete(const std::string& question) override {
        CDlgDelWarn dialog;
        dialog.m_strMessage = question;
        return static_cast<int>(dialog.DoModal());
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
    bool completed = SearchAndCompare(job, includeExtensionList, excludeExtensionList,
                                      progressDialog, *this, lastMessage);
    if (completed) {
        progressDialog.SetLine1("処理優先順にソート中");
        progressDialog.SetLine2("（中断するのに時間がかかる場合があります）");
        progressDialog.Refresh();
        resultList.SortItems(CompareRows, 0);
        EndLongOperation();
        resultList.SetRedraw(TRUE);
    } else {
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
    OperationLog log;
    rowsAtSync = RowCount();
    lastSync = SyncOutcome();
    if (options.outputLog && !log.Open(options.logFolder, lastMessage)) {
        lastSync.end = SyncEnd::LogNotOpened;
        // Unattended, the path tells where the log was looked for.
        Tell(unattended ? "ログファイルが開けません\r\n" + log.Path() : "ログファイルが開けません");
        return;
    }
    BeginLongOperation("ファイル処理中です");
    DeleteQuestion question;
    lastSync =
        RunSyncRows(*this, options, options.outputLog ? &log : nullptr, progressDialog, question);
    EndLongOperation();
    log.Close();
    lastSync.logComplete = log.Complete();
    SetStatusText("同期処理が完了しました");
    if (!lastSync.logComplete)
        Tell(kLogIncompleteText);
}

void COrvaneView::ExportBatch() {
    std::string path = "Orvane";
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter = std::string("batファイル(*.bat)") + '\0' + "*.bat" + '\0';
    request.title = "名前を付けて保存";
    request.defaultExtension = "bat";
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
