#pragma once
// The plan that puts a run back, built from its record as a search builds one,
// for the user to review, prune and carry out like any other: every file the
// run replaced gets its old version back from the versions folder, every file
// and folder it made is removed (into the job's net), every file and folder it
// deleted comes back; the plan's priority puts removals first and folders
// before their files on the way back. An entry that is no longer what the run
// left is a conflict row and is never touched; so is one whose old version is
// in the Recycle Bin (it comes back by hand) or was not kept.
#include "exec/RunRecord.h"
#include "run/PlanRows.h"

// Adds the rows that undo `record` to `plan`; the record must be one of the
// job's two folders, `processingFolder` and `referenceFolder`.
void PlanUndo(const RunRecord& record, const std::string& processingFolder,
              const std::string& referenceFolder, PlanRows& plan);
