#pragma once
// A run acts only on entries that lie, at the moment of the action, where the
// plan placed them below a folder it works in: a job folder, or a versions
// folder of the program's own. A path is only a text: since the search a folder
// on the way may have become a link to somewhere else, and a name may be a link
// itself (under Wine, which follows such links even to delete or move, a file
// link shows as a plain file). So before each action the system is asked,
// through open handles, where the folder that holds the entry and the entry
// itself really are, links, drive letters and mounted folders resolved; the
// action goes ahead only when both are exactly in place. The folder stays open,
// without sharing its deletion, until the action is done: under Windows neither
// it nor a folder above it can be renamed, removed or swapped meanwhile. (Under
// Wine a Unix program can still swap a folder in the instant between the check
// and the action.)
#include <windows.h>

#include <map>
#include <string>

#include "base/FileHandle.h"
#include "exec/ActionError.h"

// What the check found at the entry's own place.
struct EntryFacts {
    bool exists = false;
    bool folder = false;
    DWORD links = 0; // names the file has (hard links); 1 for a file of one name
};

// A folder held open for the time of one action.
class HeldFolder {
public:
    HeldFolder() = default;
    void Release() { folder_.Close(); }

private:
    friend class JobBounds;
    FileHandle folder_;
};

// Whether the entry itself is looked at: a name the action is about to make
// is not (looking up a missing name costs a scan of the whole folder under
// Wine), since making it, or renaming onto it without replacing, fails on
// anything that is there, a link included.
enum class EntryCheck { Existing, NewName };

class JobBounds {
public:
    // Holds the folder of `relativePath` below `anchor` ("\sub\x.txt": the
    // anchor's "\sub"; "\x.txt": the anchor itself) when it resolves to exactly
    // that place, and checks that the entry, when there is one, is in place and
    // is no link. False with *error (ActionStep::OutsideJob) otherwise. The
    // anchor is resolved the first time it is used and measured against that
    // for the rest of the run.
    bool Hold(const std::string& anchor, const std::string& relativePath, HeldFolder* held,
              ActionError* error, EntryFacts* facts = nullptr,
              EntryCheck check = EntryCheck::Existing);

    // Whether the entry open as `entry` lies exactly at `relativePath` below
    // `anchor`, for an entry the caller opened itself.
    bool InPlace(HANDLE entry, const std::string& anchor, const std::string& relativePath);

private:
    // The anchor's resolved path, asked once; empty when it cannot be asked.
    const std::wstring& Resolved(const std::string& anchor);

    std::map<std::string, std::wstring> anchors_;
};

// Whether two resolved paths name one place: the anchor's part exactly (on a
// case-sensitive volume two folders may differ by case alone), the part below
// it as names compare. Exposed for tests.
bool SamePlace(const std::wstring& resolved, const std::wstring& anchor,
               const std::wstring& expected);
