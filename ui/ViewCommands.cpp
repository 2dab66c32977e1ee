// The first job after start-up and the job commands of the menu.
#include "ui/OrvaneView.h"

#include <shellapi.h>

#include "framework/FrameWnd.h"
#include "framework/ProgramFile.h"
#include "framework/WinApp.h"
#include "exec/OperationLog.h"
#include "job/AbsolutePath.h"
#include "job/JobCheck.h"
#include "job/JobContext.h"
#include "res/resource.h"
#include "ui/CommonDialogs.h"
#include "ui/EditJob.h"
#include "ui/PathText.h"

namespace {

const char kJobFilter[] = "orvaneファイル(*.orvane)\0*.orvane\0";

} // namespace

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments start;
    for (const std::string& argument : arguments) {
        if (lstrcmpiA(argument.c_str(), "-s") == 0)
            start.unattended = true;
        else if (argument.compare(0, 6, "--proc") == 0)
            start.processingFolder = argument.substr(6);
        else if (argument.compare(0, 5, "--ref") == 0)
            start.referenceFolder = argument.substr(5);
        else
            start.jobPath = argument;
    }
    return start;
}

bool COrvaneView::EditJob(const std::string& path, const std::string& processingFolder,
                          const std::string& referenceFolder) {
    if (editJob_)
        return editJob_(path, processingFolder, referenceFolder);
    return EditJobInDialog(jobs_, path, processingFolder, referenceFolder);
}

void COrvaneView::StartFirstJob(const StartArguments& arguments) {
    bool confirmed = false;
    if (arguments.unattended) {
        unattended = 1;
        jobs_.LoadJob(jobs_.currentJob, arguments.jobPath);
        // The command line's folders are used as given: not checked, not saved.
        if (!arguments.processingFolder.empty())
            jobs_.currentJob.processingFolder = arguments.processingFolder;
        if (!arguments.referenceFolder.empty())
            jobs_.currentJob.referenceFolder = arguments.referenceFolder;
        if (!RefuseJob(arguments)) {
            // Made absolute once, here, as the settings dialog does: every later
            // use of the folders (search, log, messages) sees the same text.
            JobSettings& job = jobs_.currentJob;
            job.processingFolder = MakeAbsolute(job.processingFolder);
            job.referenceFolder = MakeAbsolute(job.referenceFolder);
            if (job.outputLog != 0)
                job.logFolder = MakeAbsolute(job.logFolder);
            RunSearch();
            ExecuteSync();
        }
        // Handled once the message loop runs, so the frame closes the normal way.
        if (CFrameWnd* frame = ParentFrame())
            frame->PostMessage(WM_CLOSE);
        return;
    }
    confirmed = EditJob(arguments.jobPath, arguments.processingFolder, arguments.referenceFolder);
    if (!confirmed)
        jobs_.currentJobPath.clear();
    SetLabels("処理フォルダ：指定なし", "参照フォルダ：指定なし");
    if (confirmed)
        RunSearch();
}

bool COrvaneView::RefuseJob(const StartArguments& arguments) {
    const JobSettings& job = jobs_.currentJob;
    SetLabels("処理フォルダ：" + job.processingFolder, "参照フォルダ：" + job.referenceFolder);
    std::vector<JobProblem> problems =
        CheckUnattendedJob(jobs_.currentJobPath, job, !arguments.processingFolder.empty(),
                           !arguments.referenceFolder.empty());
    if (problems.empty())
        return false;
    jobRefused = true;
    std::string reasons;
    bool logTrusted = true; // a log asked for by values that were refused goes nowhere
    for (const JobProblem& problem : problems) {
        reasons += (reasons.empty() ? "" : "\r\n") + problem.text;
        if (problem.key == "OutputLog" || problem.key == "LogDir")
            logTrusted = false;
    }
    lastMessage = "処理定義ファイルの値が正しくないため、処理を行いませんでした\r\n" + reasons;
    Tell(lastMessage);
    if (job.outputLog != 0 && logTrusted) {
        OperationLog log;
        if (!log.Open(job.logFolder, lastMessage))
            Tell(std::string("ログファイルが開けません\r\n") + log.Path());
    }
    return true;
}

void COrvaneView::Tell(const std::string& text) {
    if (unattended)
        AfxGetApp()->ReportUnattended(text);
    else
        AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void COrvaneView::OnOptions() {
    if (EditJob(jobs_.currentJobPath, "", ""))
        RunSearch();
}

void COrvaneView::OnFileOpen() {
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter.assign(kJobFilter, sizeof kJobFilter - 1);
    request.title = "ファイルを開く";
    request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    std::string path;
    if (AskFileName(FileDialogKind::Open, request, path) && EditJob(path, "", ""))
        RunSearch();
}

void COrvaneView::OnFileSave() {
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter.assign(kJobFilter, sizeof kJobFilter - 1);
    request.title = "名前を付けて保存";
    request.defaultExtension = "orvane";
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    std::string path = "処理定義ファイル";
    if (AskFileName(FileDialogKind::Save, request, path))
        jobs_.SaveJob(jobs_.currentJob, path);
}

void COrvaneView::OnRecentJob(UINT id) {
    int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index >= jobs_.recentJobs.GetSize())
        return;
    std::string path = jobs_.recentJobs[index];
    if (!path.empty() && EditJob(path, "", ""))
        RunSearch();
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
