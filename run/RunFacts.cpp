#include "run/RunFacts.h"

int ExitCodeFor(const RunFacts& facts) {
    if (!facts.unattended)
        return 0;
    if (facts.jobRefused || facts.folderInUse || facts.search == SearchEnd::NotRun ||
        facts.search == SearchEnd::Failed)
        return 2;
    if (facts.search == SearchEnd::Stopped)
        return 3;
    switch (facts.syncEnd) {
    case SyncEnd::LogNotOpened:
    case SyncEnd::Refused:
        return 2;
    case SyncEnd::Stopped:
    case SyncEnd::Aborted:
        return 3;
    case SyncEnd::AllRows:
        break;
    }
    if (facts.rowsFailed > 0 || facts.rowsNotDone > 0 || facts.leftOut > 0 || facts.conflicts > 0 ||
        facts.logIncomplete)
        return 1;
    return 0;
}
