#pragma once
// The checks a job passes before the settings dialog saves it.
#include "job/JobSettings.h"

// The message for the first problem of the job, in the order the user is told
// about them, or nullptr when there is none. Every folder must be absolute.
// Once the three folders have passed they are made absolute, and the
// processing and reference folders lose one trailing backslash (a drive root
// keeps it), so a job that passes is in the form it is saved in. Folders that
// are the same, lie one inside the other, or a log folder that is one of them
// are refused by what they are, whatever their spelling.
const char* FindJobProblem(JobSettings& job);
