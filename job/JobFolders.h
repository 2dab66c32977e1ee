#pragma once
// The one form a job's folders take before a search uses them.
#include "job/JobSettings.h"

// Makes the job's folders absolute, in the form the path functions give ("."
// and ".." resolved, "/" read as "\", a relative folder joined to the current
// one). The processing and reference folders lose one trailing backslash (a
// drive root "X:\" keeps it); the log folder is made absolute only when a log
// is asked for, and keeps its trailing backslash. A folder the path functions
// cannot resolve, or an empty one, stays as it is.
void NormaliseJobFolders(JobSettings& job);
