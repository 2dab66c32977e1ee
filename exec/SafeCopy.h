#pragma once
// Copies a file so that no version is ever lost: the copy is written under a
// temporary name in the target's folder and only a complete copy takes the
// target's name. A target that is replaced first moves aside under a backup
// name in its own folder, the copy is renamed into its place, and only then
// does the old version go to its net (the Recycle Bin, the versions folder, or
// nowhere when the job keeps nothing); when any step fails the old version is
// put back. So at every moment the target's path holds the old version or the
// complete new one. A copy that fails, is stopped or is killed part-way leaves
// the old target exactly as it was; a failed or stopped copy also removes its
// temporary file. The run's journal learns each temporary and backup name
// before it is made, so a killed run's leftovers are known as the program's.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/PathText.h" // FolderOf: the folder a copy's temporary file goes in
#include "exec/ActionError.h"
#include "exec/OutputFile.h"
#include "exec/RunJournal.h"
#include "exec/Versions.h"

struct SafeCopyRequest {
    std::string from;
    std::string to;
    bool replace = false;   // the target exists and is replaced; otherwise it must not exist
    bool shellCopy = false; // the shell's copy instead of the program's own
    // Where the replaced old version goes; without it, it is deleted for good.
    // `root` and `relativePath` place the target in its side; *note, when
    // given, says where the old version went.
    OldVersions* oldVersions = nullptr;
    std::string root;
    std::string relativePath;
    std::string* note = nullptr;
    // Learns each temporary and backup name before it is made; may be null.
    IRunJournal* journal = nullptr;
};

// The platform's rename, a parameter so tests can make one step of a
// replacement fail.
using RenameCall = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// What the program's own copy calls between its blocks, so tests can make a
// write fail part-way (a full disk) or ask to stop.
struct CopyHooks {
    WriteCall write = ::WriteFile;
    RenameCall rename = ::MoveFileExA;
    std::function<bool()> stopRequested; // polled after each block but the last
};

enum class CopyEnd { Copied, Failed, Stopped };

// With the program's own copy the target gets the source's last-write time and
// attributes. A read-only target is not replaced by it (as the platform's plain
// copy refuses one); the shell's copy replaces one, as the shell does.
// *error says why when the copy fails.
CopyEnd SafeCopyFile(const SafeCopyRequest& request, const CopyHooks& hooks, ActionError* error);
