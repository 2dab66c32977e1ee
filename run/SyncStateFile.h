#pragma once
// The memory of a pair of folders on disk: one file per pair in the user's
// local application data (%LOCALAPPDATA%\Orvane\state), named after the two
// folders' identities, so that renaming or moving a job file keeps it and
// another pair never reads it. Nothing of it goes into the folders themselves:
// it would be synchronised, a read-only folder could not hold it, and two users
// of one share keep their own.
//
// The file: a signature and version, both folders' identity keys, the records
// (relative path in UTF-16, kind, size, both sides' last-write times), and a
// checksum over all of it. Written to a new file and renamed into place.
#include <string>

#include "engine/FolderIdentity.h"
#include "engine/PairMemory.h"

// The state file of a pair under `stateFolder` (empty: the user's own
// %LOCALAPPDATA%\Orvane\state); empty when either identity cannot be read.
std::string StateFilePath(const std::string& processingFolder, const std::string& referenceFolder,
                          const std::string& stateFolder = std::string());

// Reads the pair's memory. False, with `memory` empty, when the file is
// missing, unreadable, another pair's, or damaged (signature, version,
// checksum, length): no memory, nothing to decide on.
bool ReadPairMemory(const std::string& path, const std::string& processingFolder,
                    const std::string& referenceFolder, PairMemory& memory);

// Writes the memory to a new file beside `path` and renames it into place, so
// a reader sees the old file or the new one, never a part. False when any step
// fails; the old file then stays as it was.
bool WritePairMemory(const std::string& path, const std::string& processingFolder,
                     const std::string& referenceFolder, const PairMemory& memory);
