#include "ui/FolderCandidates.h"

#include <windows.h>

#include <algorithm>

#include "base/NameText.h"
#include "base/PathText.h"
#include "engine/CompareNoCase.h"
#include "engine/FileFinder.h"

std::vector<std::string> FindCandidates(const std::string& prefix, bool foldersOnly) {
    std::vector<std::string> candidates;
    const FileFinder& finder = SystemFileFinder();
    FoundRecord found;
    FindHandle search(finder, finder.First((prefix + "*").c_str(), &found));
    if (!search.IsOpen())
        return candidates;

    PathParts parts = SplitPath(prefix);
    const std::string base = parts.drive + parts.folder;
    do {
        const std::string& name = found.name;
        // A name without an exact ANSI form would be offered as a look-alike
        // path that names another file or none.
        if (name == "." || name == ".." || !IsPlainAnsi(name))
            continue;
        if (found.IsFolder())
            candidates.push_back(base + name + "\\");
        else if (!foldersOnly)
            candidates.push_back(base + name);
    } while (finder.Next(search.Get(), &found));

    std::sort(candidates.begin(), candidates.end(),
              [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return candidates;
}
