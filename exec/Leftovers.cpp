#include "exec/Leftovers.h"

#include <windows.h>

#include "base/AbsolutePath.h"
#include "base/PathText.h"
#include "base/WideFiles.h"
#include "engine/ReservedNames.h"

namespace {

bool IsFile(const std::string& path) {
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Exists(const std::string& path) {
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

// A path below the root, or an absolute one as it is.
std::string Joined(const std::string& root, const std::string& relativePath) {
    if (IsAbsolutePath(relativePath))
        return relativePath;
    return EndsWithBackslash(root) ? root + relativePath.substr(1) : root + relativePath;
}

} // namespace

std::vector<JournalRecord> ClearLeftovers(const std::string& root,
                                          const std::vector<JournalRecord>& records,
                                          OldVersions& oldVersions,
                                          std::vector<std::string>* notes) {
    std::vector<JournalRecord> remaining;
    for (const JournalRecord& record : records) {
        std::string path = Joined(root, record.path);
        std::string note;
        ActionError error;
        if (record.kind == JournalRecord::Temporary) {
            // Renamed into its place, or removed, before the kill: nothing left.
            if (!IsFile(path))
                continue;
            if (oldVersions.PutAside(path, root, record.path, false, false, &note, &error))
                notes->push_back(kLeftoverRemovedText + path + note);
            else
                remaining.push_back(record);
            continue;
        }
        std::string target = Joined(root, record.target);
        if (record.kind == JournalRecord::Version) {
            // Already in its net; it returns only when the kill left the target empty.
            if (IsFile(path) && !Exists(target)) {
                if (!MovePath(path.c_str(), target.c_str(), 0)) {
                    remaining.push_back(record);
                    continue;
                }
                notes->push_back(kBackupRestoredText + target);
            }
            continue;
        }
        size_t separator = LastSeparator(record.target);
        std::string backup = path + "\\" + record.target.substr(separator + 1);
        if (IsFile(backup)) {
            bool done;
            if (!Exists(target)) {
                // The kill came between the two renames: the old version returns.
                done = MovePath(backup.c_str(), target.c_str(), 0) != FALSE;
                if (done)
                    notes->push_back(kBackupRestoredText + target);
            } else {
                done =
                    oldVersions.PutAside(backup, root, record.target, false, true, &note, &error);
                if (done)
                    notes->push_back(kBackupKeptText + target + note);
            }
            if (!done) {
                remaining.push_back(record);
                continue;
            }
        }
        RemoveFolderAt(path); // only when empty: anything else stays
    }
    return remaining;
}
