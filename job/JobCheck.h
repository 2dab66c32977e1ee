#pragma once
// The values an unattended run insists on before it touches anything: nobody is
// there to notice that a job file holds a value that merely reads as something.
#include <string>
#include <vector>

#include "job/JobSettings.h"

struct JobProblem {
    std::string key;  // the job file's key, or "--proc"/"--ref"
    std::string text; // the reason, naming the key and the value
};

// "Mode" must be 0, 1 or 2 and each switch 0 or 1, written in decimal digits (a
// missing key keeps its read default); a folder that is given must be absolute,
// and so must the log folder when a log is asked for. The folders are the job's
// as it will run, with the command line's folders when those were given.
std::vector<JobProblem> CheckUnattendedJob(const std::string& jobPath, const JobSettings& job,
                                           bool processingFromCommandLine,
                                           bool referenceFromCommandLine);
