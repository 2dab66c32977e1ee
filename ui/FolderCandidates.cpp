#include "ui/FolderCandidates.h"

#include <windows.h>

#include <algorithm>

#include "engine/CompareNoCase.h"
#include "engine/FileFinder.h"
#include "ui/PathText.h"

std::vector<std::string> FindCandidates(const std::string& prefix, bool foldersOnly) {
    std::vector<std::string> candidates;
    const FileFinder& finder = SystemFileFinder();
    WIN32_FIND_DATAA found;
    FindHandle search(finder, finder.First((prefix + "*").c_str(), &found));
    if (!search.IsOpen())
        return candidates;

    PathParts parts = SplitPath(prefix);
    const std::string base = parts.drive + parts.folder;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            candidates.push_back(base + name + "\\");
        else if (!foldersOnly)
            candidates.push_back(base + name);
    } while (finder.Next(search.Get(), &found));

    std::sort(candidates.begin(), candidates.end(),
              [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return candidates;
}
