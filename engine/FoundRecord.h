#pragma once
// One entry of a folder listing as the scan sees it: its name in the ANSI code
// page, which every later step uses, and whether that name is exactly the one
// the file system holds.
#include <windows.h>

#include <string>

struct FoundRecord {
    // The name as far as the code page can write it ('?' for each character it
    // has no form for) when exactName is false.
    std::string name;
    // False when the name has no ANSI form, or only a best-fit look-alike (é as
    // e, ¥ as a backslash): a path built from it would reach another file.
    bool exactName = true;
    DWORD attributes = 0;
    FILETIME lastWriteTime = {0, 0};
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};
