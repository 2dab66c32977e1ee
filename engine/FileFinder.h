#pragma once
// The find functions a scan lists folders with. Tests put a finder of their own
// in place to make a listing break off part-way or to change its records.
#include "engine/FoundRecord.h"

#include <windows.h>

class FileFinder {
public:
    virtual ~FileFinder() = default;
    // Same contracts as FindFirstFileA, FindNextFileA and FindClose, last error
    // included, but the pattern and the names go through the wide functions: a
    // name comes as the program holds names (base/NameText.h), and a path of
    // any length the file system allows is listed.
    virtual HANDLE First(const char* pattern, FoundRecord* found) const;
    virtual bool Next(HANDLE search, FoundRecord* found) const;
    virtual void Close(HANDLE search) const;
};

// The plain Win32 functions.
const FileFinder& SystemFileFinder();

// One open search, closed when it goes out of scope.
class FindHandle {
public:
    FindHandle(const FileFinder& finder, HANDLE search) : finder_(finder), search_(search) {}
    ~FindHandle() {
        if (IsOpen())
            finder_.Close(search_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool IsOpen() const { return search_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return search_; }

private:
    const FileFinder& finder_;
    HANDLE search_;
};
