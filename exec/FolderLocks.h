#pragma once
// The locks of a run on its two folders (RunLock.h), taken together and let go
// together, and the run's journal: each record goes to the lock of the folder
// that holds the path.
#include <memory>
#include <string>
#include <vector>

#include "exec/RunJournal.h"
#include "exec/RunLock.h"

class OldVersions;

struct LockedFolder {
    std::string root;
    bool changes = true; // the run may write there
};

class FolderLocks : public IRunJournal {
public:
    FolderLocks() = default;
    ~FolderLocks() override { Release(); }
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

    // Takes every folder, or none: false with *refusal saying which folder is
    // not free and why. A folder that does not exist is left to the search,
    // and one that cannot take a lock is left alone when the run never writes
    // there.
    bool Take(const std::vector<LockedFolder>& folders, std::string* refusal);
    // Deals with what killed runs left in the folders (Leftovers.h); the log's
    // lines go to *notes.
    void ClearLeftovers(OldVersions& oldVersions, std::vector<std::string>* notes);
    void Release();
    bool IsHeld() const { return !locks_.empty(); }

    bool WillMake(JournalRecord::Kind kind, const std::string& path,
                  const std::string& target) override;

    // For tests that stand in for a kill: every lock closed, every file kept.
    void Abandon();

private:
    std::vector<std::unique_ptr<RunLock>> locks_;
};

// Why a run could not take a folder, in the user's words.
std::string LockRefusalText(const std::string& folder, LockResult result, DWORD error);
