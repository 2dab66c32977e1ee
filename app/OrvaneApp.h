#pragma once
// The application object: starts the program in its fixed order and owns the
// job in use, its file, the recent job list and the run controller, whose facts
// give an unattended run its exit code.
#include <string>

#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "run/RunController.h"
#include "run/StartArguments.h"

class COrvaneApp : public CWinApp, public JobContext {
public:
    COrvaneApp();

    BOOL InitInstance() override;
    // Unattended, the run's exit code (ExitCodeFor); otherwise the quit code.
    int ExitInstance() override;
    bool IsUnattended() const override { return run_.IsUnattended(); }
    // Unattended, reports go to the standard error handle.
    void ReportUnattended(const std::string& text) override;

protected:
    DECLARE_MESSAGE_MAP()
    void OnAppAbout();
    void OnUpdateRecentFileMenu(CCmdUI* cmdUI);

    RunController run_;
    // Taken from the command line once, the job file made absolute: the
    // readability check, loading, saving, the title and the recent list all
    // use this one file.
    StartArguments start_;
};
