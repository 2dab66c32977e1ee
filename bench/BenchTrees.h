#pragma once
// Walking and removing the trees a benchmark made, with the plain find calls.
#include <windows.h>

#include <cstring>
#include <string>

#include "engine/FileFinder.h"

// The two sides of a benchmark's trees, in a folder of the temporary folder.
struct BenchTrees {
    std::string base, processing, reference;
};

inline BenchTrees BenchTreePaths(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    BenchTrees trees;
    trees.base = std::string(temp) + name;
    trees.processing = trees.base + "\\P";
    trees.reference = trees.base + "\\R";
    return trees;
}

inline bool IsDotName(const char* name) {
    return !std::strcmp(name, ".") || !std::strcmp(name, "..");
}

inline void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    FindHandle search(SystemFileFinder(), FindFirstFileA((path + "\\*").c_str(), &found));
    while (search.IsOpen()) {
        std::string child = path + "\\" + found.cFileName;
        if (!IsDotName(found.cFileName)) {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        }
        if (!FindNextFileA(search.Get(), &found))
            break;
    }
    RemoveDirectoryA(path.c_str());
}

// The floor: every folder listed once, nothing kept.
inline long long BareWalk(const std::string& folder) {
    long long count = 0;
    WIN32_FIND_DATAA found;
    FindHandle search(SystemFileFinder(), FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search.IsOpen())
        return 0;
    do {
        if (IsDotName(found.cFileName))
            continue;
        ++count;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += BareWalk(folder + "\\" + found.cFileName);
    } while (FindNextFileA(search.Get(), &found));
    return count;
}
