#include "app/OrvaneApp.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "app/MainFrame.h"
#include "app/OrvaneDoc.h"
#include "base/AbsolutePath.h"
#include "base/CommandLine.h"
#include "base/AnsiText.h"
#include "framework/ErrorOutput.h"
#include "res/resource.h"
#include "run/RunFacts.h"
#include "ui/OrvaneView.h"
#include "ui/SystemPath.h"

namespace {

// False, with the argument written as far as it can be, when an argument of the
// command line has no exact ANSI form.
bool ArgumentsHaveExactAnsiForm(std::string& unusable) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return true; // nothing to tell; the ANSI line is all there is
    bool exact = true;
    for (int i = 1; i < count && exact; ++i)
        exact = ToExactAnsi(std::wstring(arguments[i]), unusable);
    LocalFree(arguments);
    return exact;
}

} // namespace

COrvaneApp::COrvaneApp() : CWinApp("Orvane"), JobContext(m_profile), run_(*this) {}

BEGIN_MESSAGE_MAP(COrvaneApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

BOOL COrvaneApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    start_ = ParseStartArguments(SplitCommandLine(m_lpCmdLine));
    // Relative to the folder the program starts in, now: the profile functions
    // would otherwise read and write a relative job file in the Windows folder.
    start_.jobPath = MakeAbsolute(start_.jobPath);
    // Known before anything can show a message box that nobody would answer.
    run_.SetUnattended(start_.unattended);
    std::string unusable;
    if (!ArgumentsHaveExactAnsiForm(unusable)) {
        // The ANSI command line would name a look-alike file (café as cafe).
        AfxMessageBox(UnusablePathMessage(unusable).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    if (FAILED(OleInitialize(nullptr))) {
        AfxMessageBox("OLE の初期化に失敗しました。 OLE ライブラリのバージョンが正しいことを確認し"
                      "てください。",
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetRegistryKey("Quorlin");
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<COrvaneDoc>(); },
        [] { return std::make_unique<CMainFrame>(); },
        [this] { return std::make_unique<COrvaneView>(*this, run_, start_); }));
    // Before anything below can add to the list, so a job confirmed at start-up
    // joins the stored entries.
    LoadRecentJobs();

    CCommandLineInfo commandLine;
    if (!start_.jobPath.empty()) {
        commandLine.m_strFileName = start_.jobPath;
        commandLine.m_nShellCommand = CCommandLineInfo::FileOpen;
    }
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    m_pMainWnd->SetWindowText(WindowTitleFor(currentJobPath));
    // The unattended run is over by now and its close request queued: the window
    // would only flash up.
    if (!IsUnattended()) {
        m_pMainWnd->ShowWindow(m_nCmdShow);
        m_pMainWnd->UpdateWindow();
    }
    return TRUE;
}

int COrvaneApp::ExitInstance() {
    OleUninitialize();
    int quitCode = CWinApp::ExitInstance();
    if (!IsUnattended() || quitCode != 0)
        return quitCode; // a quit with a code of its own keeps it
    // A job file the framework could not open leaves the run unsearched: exit 2.
    return ExitCodeFor(run_.Facts());
}

void COrvaneApp::ReportUnattended(const std::string& text) {
    WriteStandardError(text);
}

void COrvaneApp::OnAppAbout() {
    CDialog about(IDD_ABOUTBOX);
    about.DoModal();
}

void COrvaneApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI) {
    if (cmdUI->m_pMenu != nullptr)
        recentJobs.UpdateMenu(cmdUI->m_pMenu, ID_FILE_MRU_FILE1);
}
