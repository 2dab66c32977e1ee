// The commands of the menu, the toolbar and the shortcuts.
#include "ui/OrvaneView.h"

#include <shellapi.h>

#include "framework/FrameWnd.h"
#include "framework/ProgramFile.h"
#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "res/resource.h"
#include "ui/CommonDialogs.h"
#include "ui/DlgFailures.h"
#include "ui/DlgHistory.h"
#include "base/PathText.h"

namespace {

const char kJobFilter[] = "orvaneファイル(*.orvane)\0*.orvane\0";

} // namespace

void COrvaneView::OnOptions() {
    run_.EditAndSearch(jobs_.currentJobPath);
}

void COrvaneView::OnFileOpen() {
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter.assign(kJobFilter, sizeof kJobFilter - 1);
    request.title = "ファイルを開く";
    request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    std::string path;
    if (AskFileName(FileDialogKind::Open, request, path))
        run_.EditAndSearch(path);
}

void COrvaneView::OnFileSave() {
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter.assign(kJobFilter, sizeof kJobFilter - 1);
    request.title = "名前を付けて保存";
    request.defaultExtension = "orvane";
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    std::string path = "処理定義ファイル";
    if (!AskFileName(FileDialogKind::Save, request, path))
        return;
    std::string refusal = jobs_.SaveJob(jobs_.currentJob, path);
    if (!refusal.empty())
        AfxMessageBox(refusal.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void COrvaneView::OnRecentJob(UINT id) {
    int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index >= jobs_.recentJobs.GetSize())
        return;
    std::string path = jobs_.recentJobs[index];
    if (!path.empty())
        run_.EditAndSearch(path);
}

void COrvaneView::OnHelp() {
    std::string program = ProgramFilePath();
    if (program.empty()) {
        // Named through a look-alike folder, another folder's file would open.
        AfxMessageBox("プログラムのフォルダの名前にこのプログラムで扱えない文字が含まれているため、"
                      "ヘルプを開けません",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    PathParts parts = SplitPath(program);
    std::string helpFile = parts.drive + parts.folder + "Orvane.chm";
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_DOENVSUBST;
    request.hwnd = m_hWnd;
    request.lpFile = helpFile.c_str();
    request.lpParameters = "";
    request.lpDirectory = "";
    request.nShow = SW_SHOW;
    ShellExecuteExA(&request); // a missing file or viewer is the shell's to report
}

void COrvaneView::OnExportBatch() {
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
    if (AskFileName(FileDialogKind::Save, request, path))
        run_.ExportBatch(path);
}

void COrvaneView::OnShowFailures() {
    // A shortcut reaches the command whatever its update rule says.
    if (run_.LastSync().failures.empty())
        return;
    CDlgFailures dialog(run_.LastSync());
    dialog.DoModal();
}

void COrvaneView::OnShowHistory() {
    std::vector<RunSummary> history = run_.History();
    CDlgHistory dialog(history);
    // The plan that undoes the chosen run takes the list's place, for review.
    if (dialog.DoModal() == IDOK)
        run_.PlanUndo(dialog.Chosen());
}

void COrvaneView::UpdateFailuresCommand(CCmdUI* cmdUI) {
    cmdUI->Enable(!run_.LastSync().failures.empty());
}
