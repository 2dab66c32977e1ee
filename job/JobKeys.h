#pragma once
// The keys of a job file's section "Settings", one row each: the field a key
// holds, the kind of value, its limits and what a missing key reads as.
// Reading and writing the file and the checks of an unattended run all go by
// this one table.
#include <span>
#include <string>

#include "job/JobLists.h"
#include "job/JobSettings.h"

// The section of the job file that holds the keys.
constexpr char kJobSection[] = "Settings";

enum class JobValueKind {
    Switch, // 0 or 1
    Number, // 0 up to the row's highest value
    Text,
};

struct JobKey {
    const char* name;
    JobValueKind kind;
    int JobSettings::*number;       // a switch or a number; null for a text
    std::string JobSettings::*text; // a text; null otherwise
    int highest;                    // a switch's or number's highest value
    int maxLength;                  // the characters the settings dialog takes; 0: no limit there
    int readDefault;                // what a switch or number reads as when its key is missing
    JobListKind list = JobListKind::None; // a comma list, read in its normal form
    const char* label = nullptr;          // a list's name in the settings dialog
};

// In the order the keys are written and read, and so the order of the keys in
// a new file.
std::span<const JobKey> JobKeys();

// The characters the settings dialog takes for a text field (0: no limit).
int JobTextMaxLength(std::string JobSettings::*field);
