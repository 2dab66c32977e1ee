#include "ui/EditJob.h"

#include "job/JobContext.h"
#include "ui/DlgSetting.h"

bool EditJobInDialog(JobContext& context, const std::string& jobPath,
                     const std::string& processingOverride, const std::string& referenceOverride) {
    CDlgSetting dialog(context, jobPath);
    dialog.job.processingFolder = processingOverride;
    dialog.job.referenceFolder = referenceOverride;
    if (dialog.DoModal() != IDOK)
        return false;
    context.currentJob = dialog.job;
    return true;
}
