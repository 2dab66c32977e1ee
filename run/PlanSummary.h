#pragma once
// The plan at a glance: what the rows will do on each side, counted from the
// rows as they stand (after the user removed some, too).
#include <string>
#include <vector>

class IRowSource;

// What the rows do to one side.
struct SideSummary {
    int copies = 0;
    unsigned long long copyBytes = 0;
    int folderCreations = 0;
    int fileDeletions = 0;
    int folderDeletions = 0;
    int moves = 0; // files and folders renamed there

    bool IsEmpty() const {
        return copies == 0 && folderCreations == 0 && fileDeletions == 0 && folderDeletions == 0 &&
               moves == 0;
    }
};

// A kind of row that belongs to neither side (a conflict, where both sides
// changed a file since the last run, once runs remember the state they left)
// gets its count here, beside the left-out entries, and its part after the
// sides' parts in PlanSummaryText.
struct PlanSummary {
    SideSummary toReference;  // the reference folder changes
    SideSummary toProcessing; // the processing folder changes
    int leftOut = 0;          // entries the search left out
    int conflicts = 0;        // conflicts left for the user to settle
};

PlanSummary SummarizePlan(const IRowSource& rows, size_t leftOut);
