#pragma once
// What a run did, row by row, so that the run can be undone: for each row
// carried out, what was done where, what the row left there (size and time),
// and where the old version went (its place below the side's versions folder,
// the Recycle Bin, or nowhere) with the size and time it had.
//
// One file per run, in the user's local application data
// (%LOCALAPPDATA%\Orvane\history\<pair>\<start>.run), not beside the run's
// versions: a record belongs to this user and to no job folder, so another
// user of a shared folder neither sees it nor can put one there; a run whose
// old versions went to the Recycle Bin, or nowhere, still has a record that
// says what cannot come back; and a read-only versions folder or a missing one
// does not lose it. The job's versions limits remove records with the runs.
//
// Lines are written as the rows are carried out, each one flushed and sealed
// (UserSeal.h) over the record's own number, so a killed run leaves the record
// of what it did. A record whose header is incomplete, or any line of which
// does not check, is no record at all.
#include <windows.h>

#include <string>
#include <vector>

#include "base/FileHandle.h"
#include "base/UserSeal.h"
#include "exec/Versions.h"

struct RecordedRow {
    enum Action : char {
        Copied = 'C',        // a new file
        Replaced = 'R',      // a file written over another
        MadeFolder = 'M',    // a new folder
        DeletedFile = 'D',   // a file removed
        RemovedFolder = 'X', // a folder removed
        Moved = 'N',         // a file renamed, from `from` to `relativePath`
        MovedFolder = 'G',   // a folder renamed, with everything in it
    };
    Action action = Copied;
    bool processingSide = false; // the side the row changed
    std::string relativePath;    // "\sub\a.txt" below that side's root
    unsigned long long size = 0; // what the row left: a copy's new file
    FILETIME time = {0, 0};
    OldVersions::Net net = OldVersions::Net::Permanent; // where the old version went
    std::string saved; // its place below the side's versions folder ("\20261208-093015\sub\a.txt")
    unsigned long long oldSize = 0; // the old version as it was
    FILETIME oldTime = {0, 0};
    std::string from; // a move's old path on the same side

    bool operator==(const RecordedRow& other) const;
};

struct RunRecordHeader {
    std::string start; // the run's local start, "20261208-093015", also the file's name
    std::string jobPath;
    std::string processingFolder;
    std::string referenceFolder;
    std::string processingVersions; // each side's versions folder
    std::string referenceVersions;
    std::string undoes; // the start of the run this one undid; empty for any other run
};

struct RunRecord {
    RunRecordHeader header;
    std::vector<RecordedRow> rows;
    std::string path;
};

// Writes one run's record. The file is made at the first row, so a run that
// changed nothing leaves none.
class RunRecorder {
public:
    RunRecorder(std::string folder, RunRecordHeader header, const UserSeal& seal);
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // False when the line could not be written (the record then lacks it).
    bool Add(const RecordedRow& row);
    const std::string& Path() const { return path_; }
    // Whether some row could not be written down: the run cannot be undone wholly.
    bool Failed() const { return failed_; }

private:
    bool Open();
    bool WriteLine(const std::string& body);

    std::string folder_;
    RunRecordHeader header_;
    const UserSeal& seal_;
    std::string number_;
    std::string path_;
    FileHandle file_;
    bool failed_ = false;
};

// The record's text, and back: false for a text that is no record of this
// user's (its header incomplete, a line that does not check). A last line cut
// by a kill is left out. Exposed for tests.
std::string RunRecordText(const RunRecord& record, const std::string& number, const UserSeal& seal);
bool ReadRunRecordText(std::string_view text, const UserSeal& seal, RunRecord* record);

// The records in `folder`, newest first; records that cannot be read are left out.
std::vector<RunRecord> ReadRunRecords(const std::string& folder, const UserSeal& seal);

// Removes the records in `folder` older than `days` days before `now` (0: no
// limit) and beyond the newest `runs` (0: no limit).
void PruneRunRecords(const std::string& folder, int days, int runs, const SYSTEMTIME& now);
