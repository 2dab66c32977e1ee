#pragma once
// Where the old version of everything a run replaces or deletes goes, so that
// nothing is destroyed unless the job asks for it:
// - with versions kept: a versions folder on the same volume, by a rename (no
//   copy): inside it one folder per run named by the run's local start time
//   ("20261208-093015"), and below it each entry's path relative to its side;
//   the versions folder is always one of the program's own name
//   ("~orvane-versions"), at the root of the side or inside the folder the
//   user chose, and only folders of run names inside it are ever removed, so
//   the user's own folders are never taken for runs, whatever their names;
// - otherwise with the Recycle Bin on: the Recycle Bin, and on a volume without
//   one the versions folder at its default place with the default limits;
// - with neither: deleted for good, as the job asks.
// The default versions folder lies at the root of the side whose entry goes.
// Moving fails rather than destroy: then nothing is deleted. Nothing is moved
// into, made in or removed from a versions folder that is not a plain folder
// where it should be (a link, say, that leads out of the job): see JobBounds.h.
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "exec/ActionError.h"
#include "exec/JobBounds.h"
#include "exec/RecycleBin.h"

struct JobSettings;

inline constexpr int kDefaultVersionDays = 30;

struct VersionSettings {
    bool keep = false;              // versions kept
    std::string folder;             // the user's versions folder; empty: the side's default
    int days = kDefaultVersionDays; // runs older than this are removed (0: no limit)
    int runs = 0;                   // at most this many runs kept (0: no limit)
    bool useRecycleBin = false;
};

VersionSettings VersionSettingsOf(const JobSettings& job);

// "20261208-093015" for a local time.
std::string RunFolderName(const SYSTEMTIME& localTime);
// Whether `name` has a run folder's form ("20261208-093015", or with "-2" after it).
bool IsRunFolderName(const std::string& name);
// The local start time a run folder's name gives; false for any other name.
bool RunFolderStart(const std::string& name, FILETIME* start);

class OldVersions {
public:
    OldVersions(VersionSettings settings, const SYSTEMTIME& runStart);
    OldVersions(const OldVersions&) = delete;
    OldVersions& operator=(const OldVersions&) = delete;

    // Where the old version of the entry at `path` goes.
    enum class Net { Versions, RecycleBin, Permanent };
    // Where one old version went: its net, and in the versions folder its path.
    struct Place {
        Net net = Net::Permanent;
        std::string saved;
    };

    // Moves the file or empty folder at `path` (`relativePath` below the side's
    // `root`, "\sub\a.txt") to its net; *place says where it went. False with
    // *error when it could not go; it is then where it was. The caller holds
    // the folder of `path` (JobBounds).
    bool PutAside(const std::string& path, const std::string& root, const std::string& relativePath,
                  bool folder, Place* place, ActionError* error);

    // Removes the runs beyond the limits from the versions folder `root` uses,
    // when there is one. One note per run removed.
    void Prune(const std::string& root);

    // Lines for the log that belong to no row: a volume without a Recycle Bin,
    // old runs removed. Taken once.
    std::vector<std::string> TakeNotes();

    // The versions folder for a side's root.
    std::string FolderFor(const std::string& root) const;
    // Where this run acts, checked before each action.
    JobBounds& Bounds() { return bounds_; }

    Net NetFor(const std::string& path);
    // The free path in this run's versions folder for `relativePath` below
    // `root`, its folders made: a replacement puts the old version there itself
    // while *held keeps the folder that receives it.
    bool PlaceInVersions(const std::string& root, const std::string& relativePath,
                         std::string* saved, HeldFolder* held, ActionError* error);
    // Where an old version went, in the log's words ("「…」に保存しました");
    // `replaced`: the old version of an overwritten file.
    static std::string NoteFor(const Place& place, bool replaced);

    // The versions folder for `root`, made when missing (`make`) and checked
    // to be a plain folder in place; false with *error otherwise (and, when it
    // is missing and not to be made, with no error set).
    bool VersionsFolder(const std::string& root, bool make, std::string* versions,
                        ActionError* error);

private:
    bool MoveToVersions(const std::string& path, const std::string& root,
                        const std::string& relativePath, bool folder, std::string* saved,
                        ActionError* error);
    // This run's folder in the versions folder, made on first use ("\20261208-093015").
    bool RunFolder(const std::string& versions, std::string* name, ActionError* error);
    // Makes each folder of `relativeFolder` ("\run\a\b\") below `versions` that is missing.
    bool MakeFolders(const std::string& versions, const std::string& relativeFolder,
                     ActionError* error);
    // Deletes the folder at `relativePath` below `anchor` with everything in it,
    // for good; false when anything stays.
    bool RemoveTree(const std::string& anchor, const std::string& relativePath);

    VersionSettings settings_;
    std::string runName_;
    FILETIME runStart_;
    RecycleBinVolumes volumes_;
    JobBounds bounds_;
    std::set<std::string> checked_;                 // versions folders found in place
    std::map<std::string, std::string> runFolders_; // by versions folder: "\20261208-093015"
    std::set<std::string> madeFolders_;             // folders of this run's folders, in place
    std::set<std::string> toldNoBin_;               // volumes whose note was written
    std::set<std::string> pruned_;                  // versions folders pruned by this run
    std::vector<std::string> notes_;
};

// Whether the user's versions folder can serve the job: absolute, an existing
// folder, not one of the job's folders, and on the same volume as each folder
// the job's mode changes. The reason in the user's words, or empty.
std::string VersionsFolderProblem(const JobSettings& job);

// The program's own name, inside the folder the user chose, for the folder
// that holds the runs.
std::string VersionsFolderIn(const std::string& chosenFolder);
