#pragma once
// Copies a file so that no version is ever lost: the copy is written under a
// temporary name in the target's folder and only a complete copy takes the
// target's name. A replaced target's old version goes to its net (the versions
// folder, the Recycle Bin, or nowhere when the job keeps nothing) only in an
// order that keeps, at every moment, the old version or the complete new one at
// the target's path; when any step fails the old version stays or is put back. A copy that fails,
// is stopped or is killed part-way leaves the old target exactly as it was; a failed or stopped
// copy also removes its temporary file. The run's journal learns each temporary and backup name
// before it is made, so a killed run's leftovers are known as the program's.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/PathText.h"
#include "base/WideFiles.h" // FolderOf: the folder a copy's temporary file goes in
#include "exec/ActionError.h"
#include "exec/OutputFile.h"
#include "exec/RunJournal.h"
#include "exec/Versions.h"

struct SafeCopyRequest {
    std::string from;
    std::string to;
    bool replace = false;   // the target exists and is replaced; otherwise it must not exist
    bool shellCopy = false; // the shell's copy instead of the program's own
    // The copy is read back from the disk and compared with the source before it
    // takes the target's name; a difference fails the copy.
    bool verify = false;
    // Where the replaced old version goes; without it, it is deleted for good.
    // `root` and `relativePath` place the target in its side; *place, when
    // given, learns where the old version went.
    OldVersions* oldVersions = nullptr;
    std::string root;
    std::string relativePath;
    OldVersions::Place* place = nullptr;
    // Learns each temporary and backup name before it is made; may be null.
    IRunJournal* journal = nullptr;
};

// The platform's rename and hard link, parameters so tests can make one step of
// a replacement fail, or a volume have no links.
using RenameCall = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
using LinkCall = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);

// What the program's own copy calls between its blocks, so tests can make a
// write fail part-way (a full disk) or ask to stop.
struct CopyHooks {
    WriteCall write = ::WriteFile;
    RenameCall rename = MovePath;
    LinkCall link = LinkPath;
    std::function<bool()> stopRequested; // polled after each block but the last
    // Told the size of each block written, for the progress window's figures.
    std::function<void(DWORD)> blockWritten;
};

enum class CopyEnd { Copied, Failed, Stopped };

// With the program's own copy the target gets the source's last-write time and
// attributes. A read-only target is replaced too: its attribute is cleared
// first (and put back when the replacement fails; the old version keeps it in
// the versions folder). *error says why when the copy fails.
CopyEnd SafeCopyFile(const SafeCopyRequest& request, const CopyHooks& hooks, ActionError* error);
