#include "job/JobFolders.h"

#include "base/AbsolutePath.h"
#include "base/PathText.h"

void NormaliseJobFolders(JobSettings& job) {
    job.processingFolder = WithoutTrailingBackslash(MakeAbsolute(job.processingFolder));
    job.referenceFolder = WithoutTrailingBackslash(MakeAbsolute(job.referenceFolder));
    if (job.outputLog != 0)
        job.logFolder = MakeAbsolute(job.logFolder);
}
