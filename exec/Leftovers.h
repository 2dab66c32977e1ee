#pragma once
// What a killed run left in a folder, dealt with by the next run that takes the
// folder, from the killed run's journal alone (RunLock.h): a file of the
// program's form that the journal does not name is a user's file and is left
// alone. A temporary file goes where the job sends deleted files; a replaced
// target's old version that waits under its backup name goes back to the
// target's name when the target is gone, and otherwise where the job keeps old
// versions, since the complete new version is in its place; one already moved
// into the versions folder returns only when the target is gone.
#include <string>
#include <vector>

#include "exec/RunLock.h"
#include "exec/Versions.h"

// The records that could not be dealt with (they stay in the journal); each
// step taken adds a line for the log to *notes.
std::vector<JournalRecord> ClearLeftovers(const std::string& root,
                                          const std::vector<JournalRecord>& records,
                                          OldVersions& oldVersions,
                                          std::vector<std::string>* notes);

// The log line of a temporary file that a killed run left and this run removed,
// followed by its path and where it went.
inline constexpr const char* kLeftoverRemovedText =
    "中断されたコピーの一時ファイルを削除しました：";
// A replaced file's old version that a killed run left under its backup name.
inline constexpr const char* kBackupRestoredText = "中断された置き換えの元のファイルを戻しました：";
inline constexpr const char* kBackupKeptText = "中断された置き換えの上書き前のファイル：";
