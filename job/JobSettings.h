#pragma once
// One synchronisation job: two folders, a direction and the options.
#include <string>

enum SyncMode : int {
    Bidirectional = 0,
    UpdateProcessing = 1,
    UpdateReference = 2,
};

struct JobSettings {
    int outputLog = 0;
    int bothSidesOnly = 0;
    int includeSubfolders = 0;
    int deleteEnabled = 0;
    int confirmDelete = 0;
    std::string includeExtensions;
    std::string excludeExtensions;
    std::string processingFolder;
    std::string referenceFolder;
    int mode = 0; // a SyncMode; a job file may hold any other number
    std::string logFolder;
    int twoSecondTolerance = 0;
    int fastCopy = 0;
    std::string excludedFolders;
    // Deleted files and folders, and the old version of an overwritten file, go
    // to the Recycle Bin. Off for a stored job without the key; on for a new one.
    int useRecycleBin = 0;
    // Runs that empty a side, or delete most of its files, go ahead without a
    // question (and unattended).
    int allowMassDeletion = 0;
    // Deleted files and the old versions of overwritten ones are kept in a
    // versions folder, one folder per run (off for a job without the key).
    int keepVersions = 0;
    // The versions folder; empty: a folder at the root of each side.
    std::string versionsFolder;
    // Runs older than this many days are removed (0: no limit; a job file
    // without the key reads 30).
    int versionsDays = 0;
    // At most this many runs are kept (0: no limit).
    int versionsRuns = 0;
    // Two-way runs remember what both folders held when a run left them equal,
    // so deletions travel and edits on both sides become conflicts (off for a
    // job without the key; on for a new one).
    int rememberState = 0;
    // An entry renamed or moved on the supplying side (or, in a two-way run
    // with memory, on either side) is renamed on the other side instead of
    // deleted and copied again (off for a job without the key; on for a new one).
    int detectMoves = 0;
    // Each copy is read back from the disk and compared with its source before
    // it takes the target's name (off for a job without the key).
    int verifyCopies = 0;
    // Files of one size whose times differ are compared by content before a
    // copy is planned (off for a job without the key).
    int compareContent = 0;
    // Times exactly one hour apart count as the same (off for a job without the key).
    int ignoreHourShift = 0;

    bool operator==(const JobSettings&) const = default;
};
