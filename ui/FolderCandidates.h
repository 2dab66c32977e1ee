#pragma once
// What a typed path prefix can be completed to: the file-system entries whose
// names begin with the text after the prefix's last backslash.
#include <string>
#include <vector>

// Full paths, each folder with a trailing backslash, files only when
// `foldersOnly` is false, sorted by CompareNoCase; names without an exact ANSI
// form are never offered. Wildcards in the prefix act
// as wildcards; a prefix naming nothing that exists gives no candidates.
std::vector<std::string> FindCandidates(const std::string& prefix, bool foldersOnly);
