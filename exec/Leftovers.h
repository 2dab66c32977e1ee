#pragma once
// What a killed run left in a folder, dealt with by the next run that takes the
// folder, from the killed run's journal alone (RunLock.h): a file of the
// program's form that the journal does not name is a user's file and is left
// alone. A temporary file goes where the job sends deleted files; a replaced
// target's old version that waits under its backup name goes back to the
// target's name when the target is gone, and otherwise where the job keeps old
// versions, since the complete new version is in its place; one already moved
// into the versions folder returns only when the target is gone.
//
// A journal is input like any file in a shared folder: a record is acted on
// only when it names, relative to the folder, a name of the program's own form
// (a temporary file, a backup folder beside its target, a place in that
// folder's versions folder) that still lies in place and is what the program
// makes (a temporary file of one name, not a link). A record that fails is not
// acted on and is named in a note.
#include <string>
#include <vector>

#include "exec/RunLock.h"
#include "exec/Versions.h"

// The records that could not be dealt with (they stay in the journal); each
// step taken, and each record refused, adds a line for the log to *notes.
// `lockPath` names the journal in the notes.
std::vector<JournalRecord> ClearLeftovers(const std::string& root, const std::string& lockPath,
                                          const std::vector<JournalRecord>& records,
                                          OldVersions& oldVersions,
                                          std::vector<std::string>* notes);

// Whether the record names one of the program's own kinds of names below the
// folder; see above.
bool IsOwnRecord(const JournalRecord& record);

// Whether `relativePath` names a place below a folder by names alone ("\a\b"):
// no drive, share or absolute path, no "." or ".." step, no empty step, no
// character Windows forbids in names, also not in its escaped form, and no
// step or whole longer than a file system holds.
bool IsPlainRelativePath(const std::string& relativePath);

// The log line of a temporary file that a killed run left and this run removed,
// followed by its path and where it went.
inline constexpr const char* kLeftoverRemovedText =
    "中断されたコピーの一時ファイルを削除しました：";
// A replaced file's old version that a killed run left under its backup name.
inline constexpr const char* kBackupRestoredText = "中断された置き換えの元のファイルを戻しました：";
inline constexpr const char* kBackupKeptText = "中断された置き換えの上書き前のファイル：";
// A journal, or a record in one, that the run did not act on.
inline constexpr const char* kJournalUntrustedText = "使用中の印の記録を確かめられないため、";
inline constexpr const char* kRecordRefusedText = "使用中の印の記録のうち、";
