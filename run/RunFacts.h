#pragma once
// What a run came to, and its exit code for schedulers and scripts: 0 every row
// carried out; 1 the run finished, but rows failed or were not carried out
// (conflicts among them),
// entries were left out of the listing or the log lacks lines; 2 nothing was done,
// because the job could not be read or run or another run held a folder; 3 stopped. An interactive
// run always ends with 0.
#include "exec/SyncExecutor.h"

enum class SearchEnd {
    NotRun,    // the run never got as far as the search
    Completed, // every planned action is in the list
    Failed,    // refused or a folder could not be listed: the list is empty
    Stopped,   // stopped by the user
};

struct RunFacts {
    bool unattended = false;
    bool jobRefused = false;  // unreadable job file or a value out of range
    bool folderInUse = false; // another run held one of the folders: nothing was done
    SearchEnd search = SearchEnd::NotRun;
    SyncEnd syncEnd = SyncEnd::AllRows;
    int rowsFailed = 0;
    int rowsNotDone = 0; // listed rows the execution never reached
    int leftOut = 0;     // entries the search could not list
    int conflicts = 0;   // conflicts reached and not carried out
    bool logIncomplete = false;
};

int ExitCodeFor(const RunFacts& facts);
