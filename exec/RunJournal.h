#pragma once
// Where a run writes down, before it makes them, the temporary files and backup
// names it puts in the job's folders, so that after a kill the next run can tell
// the program's own leftovers from the user's files (see RunLock.h).
#include <string>

#include "exec/RunLock.h"

class IRunJournal {
public:
    virtual ~IRunJournal() = default;
    // `path` (a full path) is about to be made; for a backup, `target` is the
    // file whose old version goes there. False when it could not be written
    // down: the caller must then not make it.
    virtual bool WillMake(JournalRecord::Kind kind, const std::string& path,
                          const std::string& target) = 0;
};
