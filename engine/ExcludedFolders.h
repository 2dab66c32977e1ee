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

    // True when the relative folder (\sub\deeper\) is one of the patterns
    // under CompareNames: case folded as Windows folds it (full-width capitals
    // too) and NFC forms matched.
    bool Matches(const std::string& relativeFolder) const;

private:
    std::vector<std::string> keys_;
};
