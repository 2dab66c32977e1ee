#pragma once
// What the command line asks of a start: an unattended run ("-s"), the job file,
// and folders that replace the job's for this run only.
#include <string>
#include <vector>

struct StartArguments {
    bool unattended = false;
    bool undo = false; // with "-s": undo the job's last run that is not undone yet
    std::string jobPath;
    std::string processingFolder;
    std::string referenceFolder;
};

// Takes the arguments: "-s" and "-u" in any case, "--proc"/"--ref" with their
// folder attached, anything else the job file; the last of a kind counts.
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);
