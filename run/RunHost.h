#pragma once
// What a run needs from the windows: the long operations' progress window, the
// questions before a deletion and before a network path in a batch file, the
// settings dialog, and the places the user reads: the list, the status bar and
// messages. The main program's view is the host; tests put a fake in its place.
#include <string>

#include "engine/EngineCallbacks.h"
#include "exec/ExecCallbacks.h"

struct JobSettings;

class IRunHost : public IOperationWindow, public IDeleteQuestion, public INetworkQuestion {
public:
    // Runs the settings dialog for the job file (empty: the default job file),
    // non-empty folders replacing the file's; true when the user confirmed, and
    // the job is then the current job.
    virtual bool EditJob(const std::string& jobPath, const std::string& processingFolder,
                         const std::string& referenceFolder) = 0;
    // A search of the job begins: the window's title, the two folder lines and
    // the list's columns follow it.
    virtual void ShowSearchStart(const JobSettings& job, const std::string& jobPath) = 0;
    // The plan's rows changed as a whole: cleared, or filled by a search.
    virtual void ShowPlan() = 0;
    // A message the user must read: a message box, or in an unattended run the
    // standard error.
    virtual void Tell(const std::string& text) = 0;
    // The status bar's message pane.
    virtual void ShowStatus(const std::string& text) = 0;
};
