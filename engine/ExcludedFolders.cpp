#include "engine/ExcludedFolders.h"

#include "engine/FileFilters.h"
#include "engine/NameOrder.h"

std::vector<std::string> MakeExcludedFolderPatterns(const std::string& excludedFolders) {
    std::vector<std::string> pieces;
    SplitList(excludedFolders, ',', pieces);
    for (std::string& piece : pieces)
        piece = "\\" + piece + "\\";
    return pieces;
}

ExcludedFolders::ExcludedFolders(const std::vector<std::string>& patterns) {
    keys_.reserve(patterns.size());
    for (const std::string& pattern : patterns)
        keys_.push_back(NameKey(pattern));
}

bool ExcludedFolders::Matches(const std::string& relativeFolder) const {
    if (keys_.empty())
        return false;
    std::string folder = NameKey(relativeFolder);
    for (const std::string& key : keys_) {
        if (key == folder)
            return true;
    }
    return false;
}
