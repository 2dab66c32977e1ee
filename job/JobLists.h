#pragma once
// The job's comma lists as the user meant them. Pieces are taken in the
// spellings people use: blanks around a piece, a leading "." or "*." on an
// extension, a leading or trailing backslash (or a slash) on a folder. A piece
// that could never match anything is refused by name rather than left to
// protect nothing. An empty piece keeps its meaning: no extension, or no folder.
#include <string>
#include <vector>

#include "job/JobCheck.h"
#include "job/JobSettings.h"

enum class JobListKind {
    None,       // not a list
    Extensions, // "txt,doc": extensions without their dot
    Folders,    // "obj,bin\sub": folders relative to the job's folders
};

// The normal form of a list's text: each piece trimmed and stripped as above,
// the pieces joined by "," again. A blank text becomes empty. A full path in a
// folder list is kept as it is for CheckJobLists.
std::string NormaliseList(JobListKind kind, const std::string& text);

// The job's lists in their normal form, as the key table names them.
void NormaliseJobLists(JobSettings& job);

// Refuses each piece that can never match: a wildcard (other than the "*." an
// extension may start with), a character no name may hold, a dot inside an
// extension, an empty or "." or ".." step in a folder, a drive or a full path
// that is not inside the processing or the reference folder. A full path inside
// one of them becomes its relative folder there. The job's folders must be in
// their absolute form (NormaliseJobFolders). The excluded folders are checked
// only when subfolders are searched, since they mean nothing otherwise.
std::vector<JobProblem> CheckJobLists(JobSettings& job);
