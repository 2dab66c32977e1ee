#pragma once
// One entry of a folder listing as the scan sees it: its name as the program
// holds names (base/NameText.h), which every later step uses.
#include <windows.h>

#include <string>

struct FoundRecord {
    // The ANSI bytes where the name has an exact ANSI form; <U+XXXX> for each
    // character without one (never a best-fit look-alike: é as e, ¥ as a backslash).
    std::string name;
    DWORD attributes = 0;
    FILETIME lastWriteTime = {0, 0};
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};
