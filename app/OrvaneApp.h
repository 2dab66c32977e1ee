#pragma once
// The application object: starts the program in its fixed order and owns the
// job in use, its file and the recent job list.
#include <string>

#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "ui/OrvaneView.h"

class COrvaneApp : public CWinApp, public JobContext {
public:
    COrvaneApp();

    BOOL InitInstance() override;
    // Unattended, the run's exit code (ExitCodeFor); otherwise the quit code.
    int ExitInstance() override;
    // Unattended, reports go to the standard error handle.
    void ReportUnattended(const std::string& text) override;
    // Edits a job in the settings dialog; on confirmation the job file is written
    // and the job becomes the current one.
    bool EditJob(const std::string& path, const std::string& processingFolder,
                 const std::string& referenceFolder);

protected:
    DECLARE_MESSAGE_MAP()
    void OnAppAbout();
    void OnUpdateRecentFileMenu(CCmdUI* cmdUI);

    COrvaneView* view_ = nullptr;
    // Taken from the command line once, the job file made absolute: the
    // readability check, loading, saving, the title and the recent list all
    // use this one file.
    StartArguments start_;
};
