// The view as the run's host: the progress window of long operations, the
// questions, the settings dialog, and what the user reads of a run.
#include "ui/OrvaneView.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "job/JobSettings.h"
#include "ui/DlgConfirm.h"
#include "ui/EditJob.h"
#include "base/PathText.h"

std::string WindowTitleFor(const std::string& jobPath) {
    if (jobPath.empty())
        return "Orvane";
    PathParts parts = SplitPath(jobPath);
    return "Orvane - " + parts.name + parts.extension;
}

IProgress& COrvaneView::BeginOperation(const std::string& firstLine) {
    progressDialog.SetLine1(firstLine);
    progressDialog.SetLine2("");
    if (CFrameWnd* frame = ParentFrame())
        frame->EnableWindow(FALSE);
    EnableWindow(FALSE);
    progressDialog.CreateBusy();
    return progressDialog;
}

void COrvaneView::EndOperation() {
    // Input that came since the operation's last paced poll is handled as during
    // the operation, while the main windows still take none: a shortcut typed
    // then does not start a command once they are enabled.
    progressDialog.PumpMessages();
    CFrameWnd* frame = ParentFrame();
    if (frame != nullptr)
        frame->EnableWindow(TRUE);
    EnableWindow(TRUE);
    progressDialog.Destroy();
    // Disabling the view took the focus from the list; the frame hands it back.
    if (frame != nullptr && GetActiveWindow() == frame->m_hWnd)
        ::SetFocus(frame->m_hWnd);
}

int COrvaneView::AskDelete(const std::string& question) {
    CDlgDelWarn dialog;
    dialog.m_strMessage = question;
    return static_cast<int>(dialog.DoModal());
}

bool COrvaneView::AskMassDeletion(const std::string& question) {
    return AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

int COrvaneView::AskNetworkLine(const std::string& command) {
    CDlgWarn dialog;
    dialog.m_strMessage = command;
    return static_cast<int>(dialog.DoModal());
}

bool COrvaneView::EditJob(const std::string& jobPath, const std::string& processingFolder,
                          const std::string& referenceFolder) {
    return EditJobInDialog(jobs_, jobPath, processingFolder, referenceFolder);
}

void COrvaneView::ShowSearchStart(const JobSettings& job, const std::string& jobPath) {
    if (CFrameWnd* frame = ParentFrame())
        frame->SetWindowText(WindowTitleFor(jobPath));
    SetLabels("処理フォルダ：" + job.processingFolder, "参照フォルダ：" + job.referenceFolder);
    SetupColumns();
}

void COrvaneView::ShowPlan() {
    ShowChangedRows();
    ShowItemCount();
}

void COrvaneView::Tell(const std::string& text) {
    // In an unattended run the framework reports the text instead of showing it.
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void COrvaneView::ShowStatus(const std::string& text) {
    if (CFrameWnd* frame = ParentFrame())
        frame->SetStatusText(text);
}
