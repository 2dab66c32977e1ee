#pragma once
// Why one action of a row failed: the step that failed, the path it acted on and
// the system's code, read right after the failing call. A step the program
// declines itself (an entry changed since the search, a deletion the user
// declined) carries no system code; its words are the program's own.
#include <windows.h>

#include <string>

enum class ActionStep {
    None,
    ReadSource,         // opening or reading the file to copy
    CreateTemporary,    // making the copy's temporary file beside the target
    WriteCopy,          // writing the copy
    ReplaceTarget,      // putting the complete copy in the target's place
    ShellCopy,          // the shell's copy
    CreateFolder,       // making a folder
    Delete,             // deleting a file or an empty folder
    MoveToRecycleBin,   // moving a file or an empty folder to the Recycle Bin
    ChangedSinceSearch, // the entry is no longer what the search saw
    Declined,           // the user answered no to the deletion
    MoveToVersions,     // moving an old version into the versions folder
    SetAside,           // moving the old version aside before the new one takes its name
    Journal,            // recording in the run's journal what is about to be made
    OutsideJob,         // the entry or a folder above it now lies elsewhere (a link)
    Move,               // renaming an entry on its side (a move or a rename)
    Verify,             // the copy read back from the disk is not the source's bytes
};

struct ActionError {
    ActionStep step = ActionStep::None;
    std::string path; // what the step acted on
    DWORD code = 0;   // the system's error code; 0 for the program's own reasons

    bool IsSet() const { return step != ActionStep::None; }
};

// A failed step with the thread's last error code: call it right after the
// failing call, before anything else can change that code.
ActionError StepFailed(ActionStep step, const std::string& path);
ActionError StepFailed(ActionStep step, const std::string& path, DWORD code);

// The reason in words, the path and the system's own text included:
// "「C:\r\a.txt」を削除できません: アクセスが拒否されました。"
std::string ActionErrorText(const ActionError& error);
