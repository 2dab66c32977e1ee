#include "engine/FileFinder.h"

#include "base/NameText.h"

#include <cwchar>

namespace {

// The ANSI find functions give a name outside the code page as a best-fit
// look-alike (café as cafe, ..¥x as ..\x), which would then be acted on as
// another file. The wide name is kept whole here.
void Convert(const WIN32_FIND_DATAW& data, FoundRecord* found) {
    found->name = TextFromWide(data.cFileName, std::wcslen(data.cFileName));
    found->attributes = data.dwFileAttributes;
    found->lastWriteTime = data.ftLastWriteTime;
    found->sizeHigh = data.nFileSizeHigh;
    found->sizeLow = data.nFileSizeLow;
}

} // namespace

HANDLE FileFinder::First(const char* pattern, FoundRecord* found) const {
    std::wstring widePattern = WidePath(pattern);
    WIN32_FIND_DATAW data;
    // No short names and larger reads; a system that knows neither refuses them
    // as an invalid parameter and lists the plain way.
    HANDLE search = FindFirstFileExW(widePattern.c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        search = FindFirstFileExW(widePattern.c_str(), FindExInfoStandard, &data,
                                  FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE)
        Convert(data, found);
    return search;
}

bool FileFinder::Next(HANDLE search, FoundRecord* found) const {
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(search, &data))
        return false;
    Convert(data, found);
    return true;
}

void FileFinder::Close(HANDLE search) const {
    FindClose(search);
}

const FileFinder& SystemFileFinder() {
    static const FileFinder system;
    return system;
}
