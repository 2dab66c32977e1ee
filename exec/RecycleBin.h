#pragma once
// Deleting into the Recycle Bin, so that what a run deletes or overwrites can be
// brought back. Not every volume has one (network folders, most removable
// drives); there the platform would delete for good without a word, so callers
// ask first and keep the old version elsewhere (Versions.h).
#include <map>
#include <string>

#include "exec/ActionError.h"

// Whether the volume of a path keeps deleted files, asked once per volume.
class RecycleBinVolumes {
public:
    bool HasRecycleBin(const std::string& path);

private:
    std::map<std::string, bool> known_; // by drive root, letters in capitals
};

// The volume's root ("C:\"), or empty for a network path or a relative one.
std::string VolumeRootOf(const std::string& path);

// Moves one file, or one empty folder, to the Recycle Bin without any question
// or message. A folder with anything in it is left alone and fails, as deleting
// it would. Read-only files go too. On failure *error, when given, says why.
bool MoveToRecycleBin(const std::string& path, bool folder, ActionError* error = nullptr);
