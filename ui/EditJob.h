#pragma once
// Editing a job in the settings dialog and making it the current job.
#include <string>

class JobContext;

// Runs the settings dialog for the job file at `jobPath` (empty: the default job
// file). A non-empty override replaces the file's processing or reference
// folder in the dialog. On confirmation the dialog has validated and written the
// job; it becomes context.currentJob and the result is true. On cancel the
// result is false and currentJob is unchanged (currentJobPath is the file read).
bool EditJobInDialog(JobContext& context, const std::string& jobPath,
                     const std::string& processingOverride, const std::string& referenceOverride);
