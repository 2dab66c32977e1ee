#pragma once
// The names the program keeps for itself at the root of a job folder: the file
// that tells other runs the folder is in use (and lists what this run is making
// there), and the folder that keeps the old versions of what runs replace or
// delete. A search never lists them; anywhere else these names, and every name
// that merely looks like the program's, are ordinary files.
#include <string>

// The lock and journal of the run working in the folder.
inline constexpr const char* kRunLockName = "~orvane-run.lock";
// The default versions folder of the side.
inline constexpr const char* kVersionsFolderName = "~orvane-versions";

// One of the names above (ASCII letters in either case: the file system folds them).
bool IsReservedRootName(const std::string& name);

// `name` at the root of `root`, with one backslash between them, also for a
// drive root ("D:\").
std::string AtRoot(const std::string& root, const std::string& name);
