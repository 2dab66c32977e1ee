#pragma once
// The check before a run that would empty a side or delete most of it, as a
// wrong folder or an emptied drive would make the comparison plan.
#include <string>

#include "engine/SearchCore.h"

class IRowSource;

// Entries on one side, folders included, and of them files.
using SideCounts = SideEntryCounts;

struct SideDeletions {
    const char* label = "";
    SideCounts found;
    SideCounts planned;
};

// Whether the planned deletions of a side need the user's word: every entry the
// side has, or more than half of its files and at least 50 files.
bool IsMassDeletion(const SideDeletions& side);

// The deletions planned on each side, by the side of their row's entry.
struct DeletionPlan {
    SideDeletions processing{"処理フォルダ", {}, {}};
    SideDeletions reference{"参照フォルダ", {}, {}};
};
DeletionPlan CountDeletions(const IRowSource& rows, const std::string& processingFolder,
                            const std::string& referenceFolder, const SideCounts& processingFound,
                            const SideCounts& referenceFound);

// The sides that need the user's word, one line each; empty when none does.
std::string MassDeletionDetails(const DeletionPlan& plan);

// The question before such a run, with the details above.
std::string MassDeletionQuestion(const std::string& details);
// The log line of a run that did not go ahead, followed by the details on one line.
inline constexpr const char* kMassDeletionRefusedText =
    "削除が多すぎるため、同期処理を行いませんでした：";
