#pragma once
// One run at a time in a folder. A run holds a file of a reserved name at the
// root of each of its folders, created anew and open without sharing for as long
// as the run reads or changes the folder; a second run, from this PC or another
// one on the network (the server keeps share modes), cannot open it and is
// refused. The system closes the handle when the process dies, so a killed run
// blocks nobody: the next run finds the file, opens it, recognises the program's
// signature and takes it over. A file of that name without the signature is
// someone else's: it is never opened for writing, overwritten or deleted, and the
// run is refused. An empty file of that name is taken for a lock whose first
// line never reached the disk.
//
// The same file is the run's journal: before the run makes a temporary file or
// moves an old version aside under a backup name in the folder, it writes the
// name here. The run that takes over a killed run's lock reads those records and
// so knows exactly which leftovers are the program's own (see Leftovers.h).
// Records go to the system with each write, so a killed process loses none;
// the records that tell where an old version is are also flushed to the disk.
#include <windows.h>

#include <string>
#include <vector>

#include "base/FileHandle.h"

enum class LockResult {
    Taken,       // the folder is this run's, a killed run's lock taken over included
    Busy,        // another run holds the folder
    NotOurs,     // a file or folder of the reserved name that the program did not make
    NoFolder,    // the folder does not exist (the search reports that)
    NotWritable, // the lock cannot be made: no rights, a write-protected medium
    Gone,        // (within Take only) the lock went between two looks
};

// What a run wrote in its journal: a temporary file it made; a backup folder
// beside `target` that its old version moved into; or the place in the versions
// folder that its old version moved to. Paths relative to the folder
// ("\sub\x.tmp"); a place in a versions folder elsewhere is absolute.
struct JournalRecord {
    enum Kind { Temporary, Backup, Version } kind = Temporary;
    std::string path;
    std::string target; // a backup's target
    bool operator==(const JournalRecord&) const = default;
};

class RunLock {
public:
    RunLock() = default;
    ~RunLock() { Release(); }
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the folder `root` for this run.
    LockResult Take(const std::string& root);
    bool IsHeld() const { return file_.IsOpen(); }
    const std::string& Root() const { return root_; }
    // The system's code when the lock could not be made or read.
    DWORD Error() const { return error_; }
    // What the killed run whose lock was taken over had recorded.
    const std::vector<JournalRecord>& Inherited() const { return inherited_; }

    // Writes one record before the step it names. False when it could not be
    // written: the step must then not be taken.
    bool Record(const JournalRecord& record);

    // Starts the journal afresh with only `records`: once a killed run's
    // leftovers are dealt with, those that remain.
    bool Rewrite(const std::vector<JournalRecord>& records);

    // Lets the folder go: the file is closed and removed, unless it still names
    // a killed run's leftovers that were not dealt with.
    void Release();
    // What the system does for a process that dies: the handle is closed and
    // the file stays. For tests that stand in for a kill.
    void Abandon() { file_.Close(); }

private:
    LockResult TakeOnce();
    bool WriteHeader();
    bool Append(const std::string& text, bool flush);

    FileHandle file_;
    std::string root_;
    std::string path_;
    DWORD error_ = 0;
    std::vector<JournalRecord> inherited_;
    bool clean_ = true; // no killed run's record left in the file
};

// The journal's text for its records, and back; a text without the program's
// signature gives false. Exposed for tests.
std::string JournalText(const std::string& runIdentity, const std::vector<JournalRecord>& records);
bool ReadJournal(const std::string& text, std::vector<JournalRecord>* records);
