#include "base/AbsolutePath.h"

#include <windows.h>

#include "base/PathText.h"

bool IsAbsolutePath(const std::string& path) {
    // Only ASCII bytes are looked at, at the start, so no double-byte character
    // can be cut.
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\')
        return IsAsciiLetter(path[0]);
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

bool GetFullPath(const std::string& path, std::string& full) {
    if (path.empty())
        return false;
    char buffer[MAX_PATH * 2] = {};
    DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer)
        return false;
    full.assign(buffer, length);
    return true;
}

std::string MakeAbsolute(const std::string& path) {
    std::string full;
    return GetFullPath(path, full) ? full : path;
}
