#pragma once
// Copies a file so that no version is ever lost: the copy is written under a
// temporary name in the target's folder and only a complete copy takes the
// target's name, in one rename. A copy that fails, is stopped or is killed
// part-way leaves the old target exactly as it was; a failed or stopped copy
// also removes its temporary file.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/PathText.h" // FolderOf: the folder a copy's temporary file goes in
#include "exec/ActionError.h"
#include "exec/OutputFile.h"
#include "exec/RecycleBin.h"

struct SafeCopyRequest {
    std::string from;
    std::string to;
    bool replace = false;   // the target exists and is replaced; otherwise it must not exist
    bool shellCopy = false; // the shell's copy instead of the program's own
    // When set, the replaced old version goes to the Recycle Bin of its volume;
    // where the volume has none it is replaced for good and *replacedForGood set.
    RecycleBinVolumes* recycleBin = nullptr;
    bool* replacedForGood = nullptr;
};

// What the program's own copy calls between its blocks, so tests can make a
// write fail part-way (a full disk) or ask to stop.
struct CopyHooks {
    WriteCall write = ::WriteFile;
    std::function<bool()> stopRequested; // polled after each block but the last
    // Told the size of each block written, for the progress window's figures.
    std::function<void(DWORD)> blockWritten;
};

enum class CopyEnd { Copied, Failed, Stopped };

// With the program's own copy the target gets the source's last-write time and
// attributes. A read-only target is not replaced by it (as the platform's plain
// copy refuses one); the shell's copy replaces one, as the shell does.
// *error says why when the copy fails.
CopyEnd SafeCopyFile(const SafeCopyRequest& request, const CopyHooks& hooks, ActionError* error);

// Removes the temporary files a killed run left in a folder; returns their paths.
std::vector<std::string> RemoveLeftoverTemporaries(const std::string& folder);
