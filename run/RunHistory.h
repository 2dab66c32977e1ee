#pragma once
// The runs over a pair of folders that can be looked back on and undone: this
// user's run records (exec/RunRecord.h) for the two folders, newest first, with
// what each did and how far it can still be undone.
#include <string>
#include <vector>

#include "exec/RunRecord.h"

struct RunSummary {
    RunRecord record;
    int copied = 0; // new and replaced files
    int deleted = 0;
    int foldersMade = 0;
    int foldersRemoved = 0;
    int moved = 0; // files and folders renamed
    // Whether every row can be put back (its old version is in the versions
    // folder, or it needs none), some can, or none.
    enum class Undo { Wholly, InPart, Not } undo = Undo::Wholly;
    bool undone = false; // a later run undid it
};

// Where the records of the pair are kept: below `base` (empty: the user's
// local application data, "...\Orvane\history"), a folder named after the two
// folders' identities; empty when either identity cannot be read.
std::string HistoryFolder(const std::string& processingFolder, const std::string& referenceFolder,
                          const std::string& base = std::string());

// The pair's runs, newest first. Only records made for exactly these two folders.
std::vector<RunSummary> RunHistory(const std::string& historyFolder,
                                   const std::string& processingFolder,
                                   const std::string& referenceFolder);

// Where a recorded row's old version lies now (the versions folder of its
// side, below it the recorded place); empty when it is not in a versions folder.
std::string SavedPath(const RunRecordHeader& header, const RecordedRow& row);

// The history's texts, in the user's words.
std::string UndoText(RunSummary::Undo undo, bool undone);
std::string OldVersionsText(const RunSummary& summary);
