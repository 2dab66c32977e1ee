#include "app/OrvaneApp.h"

#include <commctrl.h>
#include <ole2.h>

#include "app/MainFrame.h"
#include "app/OrvaneDoc.h"
#include "res/resource.h"
#include "ui/EditJob.h"
#include "ui/OrvaneView.h"

COrvaneApp::COrvaneApp() : CWinApp("Orvane"), JobContext(m_profile) {}

BEGIN_MESSAGE_MAP(COrvaneApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

BOOL COrvaneApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxA(nullptr,
                    "OLE の初期化に失敗しました。 OLE ライブラリのバージョンが正しいことを確認し"
                    "てください。",
                    "Orvane", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetRegistryKey("Quorlin");
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<COrvaneDoc>(); },
        [] { return std::make_unique<CMainFrame>(); },
        [this] {
            return std::make_unique<COrvaneView>(*this, [this](const std::string& path,
                                                               const std::string& processing,
                                                               const std::string& reference) {
                return EditJob(path, processing, reference);
            });
        }));
    // Before anything below can add to the list, so a job confirmed at start-up
    // joins the stored entries.
    LoadRecentJobs();

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    m_pMainWnd->SetWindowText(WindowTitleFor(currentJobPath));
    m_pMainWnd->ShowWindow(m_nCmdShow);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int COrvaneApp::ExitInstance() {
    OleUninitialize();
    return CWinApp::ExitInstance();
}

bool COrvaneApp::EditJob(const std::string& path, const std::string& processingFolder,
                         const std::string& referenceFolder) {
    return EditJobInDialog(*this, path, processingFolder, referenceFolder);
}

void COrvaneApp::OnAppAbout() {
    CDialog about(IDD_ABOUTBOX);
    about.DoModal();
}

void COrvaneApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI) {
    if (cmdUI->m_pMenu != nullptr)
        recentJobs.UpdateMenu(cmdUI->m_pMenu, ID_FILE_MRU_FILE1);
}
