#pragma once
// One run at a time in a folder. A run holds a file of a reserved name at the
// root of each of its folders, created anew and open without sharing for as long
// as the run reads or changes the folder; a second run, from this PC or another
// one on the network (the server keeps share modes), cannot open it and is
// refused. The system closes the handle when the process dies, so a killed run
// blocks nobody: the next run finds the file, opens it, recognises the program's
// signature and takes it over. Anything else of that name is someone else's and
// is never written, cut or deleted, and the run is refused: a file without the
// signature, a folder, a link, a file with a second name (a hard link to a file
// elsewhere), or one larger than any journal. An empty file of that name is
// taken for a lock whose first line never reached the disk.
//
// The same file is the run's journal: before the run makes a temporary file or
// moves an old version aside under a backup name in the folder, it writes the
// name here. The run that takes over a killed run's lock reads those records and
// so knows exactly which leftovers are the program's own (see Leftovers.h).
// Records go to the system with each write, so a killed process loses none;
// the records that tell where an old version is are also flushed to the disk.
//
// Anybody who can write to a shared folder can write a file of that name with
// the signature, so the signature proves nothing. Each journal carries a seal
// (UserSeal.h) over the folder's identity and a number of its own, and each
// record a tag over that number and the record: only a journal this user's own
// runs wrote in this very folder is acted on, record by record. A journal of
// another user, another PC or an earlier version is taken over like any killed
// run's lock, but the names it lists stay ordinary entries.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/FileHandle.h"
#include "base/UserSeal.h"

enum class LockResult {
    Taken,       // the folder is this run's, a killed run's lock taken over included
    Busy,        // another run holds the folder
    NotOurs,     // something of the reserved name that the program did not make
    NoFolder,    // the folder does not exist (the search reports that)
    NotWritable, // the lock cannot be made: no rights, a write-protected medium
    Gone,        // (within Take only) the lock went between two looks
};

// What a run wrote in its journal, relative to the folder whose lock it is: a
// temporary file it made ("\sub\~orvane0a1b2c.tmp"); a backup folder beside
// `target` that its old version moved into; or the place in that folder's
// versions folder that its old version moved to ("\20261208-093015\sub\x.txt",
// below the versions folder).
struct JournalRecord {
    enum Kind { Temporary, Backup, Version } kind = Temporary;
    std::string path;
    std::string target; // a backup's or a version's target
    bool operator==(const JournalRecord&) const = default;
};

// A journal as read: whose it is and the records that can be trusted.
struct JournalReading {
    enum Kind {
        NotOurs,  // no signature of the program's
        Unsealed, // the program's form, but not sealed by this user's runs in this folder
        Sealed,
    } kind = NotOurs;
    std::vector<JournalRecord> records; // sealed records only
    int untrusted = 0;                  // record lines whose tag does not check
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
    const std::string& Path() const { return path_; }
    // The system's code when the lock could not be made or read.
    DWORD Error() const { return error_; }
    // What the killed run whose lock was taken over had recorded, and how far
    // it could be trusted.
    const JournalReading& Inherited() const { return inherited_; }

    // Writes one record before the step it names. False when it could not be
    // written: the step must then not be taken.
    bool Record(const JournalRecord& record);

    // Starts the journal afresh with only `records`: once a killed run's
    // leftovers are dealt with, those that remain.
    bool Rewrite(const std::vector<JournalRecord>& records);

    // Lets the folder go: the file is removed through the run's own handle,
    // unless it still names a killed run's leftovers that were not dealt with.
    void Release();
    // What the system does for a process that dies: the handle is closed and
    // the file stays. For tests that stand in for a kill.
    void Abandon() { file_.Close(); }

private:
    LockResult TakeOnce();
    bool Append(const std::string& text, bool flush);

    FileHandle file_;
    std::string root_;
    std::string path_;
    std::string folderKey_; // the folder's identity, which the seal covers
    std::string number_;    // this journal's own number, which every tag covers
    DWORD error_ = 0;
    JournalReading inherited_;
    bool clean_ = true; // no killed run's record left in the file
};

// The journal's text for its records, sealed with `seal` for the folder of
// identity `folderKey` under the journal's `number`, and back. Exposed for tests.
std::string JournalText(const std::string& runIdentity, const std::string& folderKey,
                        const std::string& number, const std::vector<JournalRecord>& records,
                        const UserSeal& seal);
JournalReading ReadJournal(std::string_view text, const std::string& folderKey,
                           const UserSeal& seal);
