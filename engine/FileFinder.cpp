#include "engine/FileFinder.h"

HANDLE FileFinder::First(const char* pattern, WIN32_FIND_DATAA* found) const {
    return FindFirstFileA(pattern, found);
}

bool FileFinder::Next(HANDLE search, WIN32_FIND_DATAA* found) const {
    return FindNextFileA(search, found) != 0;
}

void FileFinder::Close(HANDLE search) const {
    FindClose(search);
}

const FileFinder& SystemFileFinder() {
    static const FileFinder system;
    return system;
}
