#pragma once
// Which folder a path really is: the volume serial and file index the system
// gives an open handle, whatever spelling reached it (a short name, another
// drive letter for the same disk, a link, a "\\?\" prefix).
#include <windows.h>

#include <string>
#include <vector>

struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// The identity of an existing file or folder, links followed. False when it
// cannot be opened or asked, or when the system gives no file index (0).
bool ReadIdentity(const std::string& path, FileIdentity& identity);

// What makes a folder itself, as a text: volume serial and file index, or, on
// a volume that gives no file index, its absolute path folded as names
// compare. Empty when the folder cannot be asked.
std::string FolderIdentityKey(const std::string& folder);

// The folder itself and every folder above it, as spelled and as the system
// resolves it (links and other drive letters followed); those that cannot be
// opened are missing.
std::vector<FileIdentity> IdentityChain(const std::string& folder);

// True when the two folders are the same folder or one lies inside the other,
// decided by identity and, as well, by their absolute texts.
bool FoldersOverlap(const std::string& first, const std::string& second);
// True when both name the same folder, by identity or by absolute text.
bool SameFolder(const std::string& first, const std::string& second);

// When `path` lies below `folder` (by identity, through any spelling), its path
// relative to the folder in the form of the listings ("\logs\old"); empty
// when it does not lie below it or is the folder itself.
std::string PathBelow(const std::string& path, const std::string& folder);
