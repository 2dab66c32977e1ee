#pragma once
// Folders a tree scan leaves out, whole subtrees at a time.
#include <string>
#include <vector>

// The job's comma list of folders as patterns of relative folders: the piece
// sub\deeper becomes \sub\deeper\ (each piece wrapped in backslashes).
std::vector<std::string> MakeExcludedFolderPatterns(const std::string& excludedFolders);

class ExcludedFolders {
public:
    explicit ExcludedFolders(const std::vector<std::string>& patterns);

    // True when the relative folder (\sub\deeper\) equals one of the patterns
    // ignoring case: ASCII letters fold, and so do double-byte letters such as
    // full-width capitals, by the code page's own lower-case mapping.
    bool Matches(const std::string& relativeFolder) const;

private:
    std::vector<std::wstring> lowered_;
};
