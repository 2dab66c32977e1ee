#pragma once
// The memory of a pair of folders on disk: one file per pair in the user's
// local application data (%LOCALAPPDATA%\Orvane\state), named after the two
// folders' identities, so that renaming or moving a job file keeps it and
// another pair never reads it. Nothing of it goes into the folders themselves:
// it would be synchronised, a read-only folder could not hold it, and two users
// of one share keep their own.
//
// An identity is not proof: a folder deleted and made anew may get the same
// one (a Unix file system reuses the number, every folder of a volume under
// Wine has one serial, and without a file index the path stands in), and then
// the memory would make the new folder's missing entries deletions. So the file
// also keeps, for each side, the folder's path and its creation time, and a
// few witnesses: files of the side with their own identity, size and time. The
// memory fits a side only while the creation time is the one recorded (where
// the file system keeps creation times apart from write times) and at least
// one witness is still there unchanged. A memory that does not fit is no
// memory, and its file is removed so that it cannot wait for a later folder.
//
// The file: a signature and version, each side's identity key, path,
// creation time and witnesses, the records (relative path in UTF-16, kind,
// size, both sides' last-write times), and a checksum over all of it. Written
// to a new file and renamed into place.
#include <string>

#include "engine/FolderIdentity.h"
#include "engine/PairMemory.h"

// The state file of a pair under `stateFolder` (empty: the user's own
// %LOCALAPPDATA%\Orvane\state); empty when either identity cannot be read.
std::string StateFilePath(const std::string& processingFolder, const std::string& referenceFolder,
                          const std::string& stateFolder = std::string());

enum class MemoryRead {
    Fits,      // the memory, for these very folders
    None,      // missing, unreadable, another pair's or damaged: no memory
    DoesNotFit // the folders are not the ones it was made for; the file is gone
};

// Reads the pair's memory into `memory` (left empty unless it fits).
MemoryRead ReadPairMemory(const std::string& path, const std::string& processingFolder,
                          const std::string& referenceFolder, PairMemory& memory);

// Writes the memory to a new file beside `path` and renames it into place, so
// a reader sees the old file or the new one, never a part. False when any step
// fails; the old file then stays as it was. Memory files in the same folder
// whose folders are gone from a local drive, or replaced by other folders, are
// removed.
bool WritePairMemory(const std::string& path, const std::string& processingFolder,
                     const std::string& referenceFolder, const PairMemory& memory);

// The log's note for a memory that does not fit.
inline constexpr const char* kMemoryDoesNotFitText =
    "前回の同期結果の記憶が今のフォルダのものと確かめられないため、記憶を使わずに比較しました"
    "（フォルダが作り直されたなど）";
