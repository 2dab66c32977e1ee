#include "job/AbsolutePath.h"

#include <windows.h>

bool IsAbsolutePath(const std::string& path) {
    // Only ASCII bytes are looked at, at the start, so no double-byte character
    // can be cut.
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\')
        return (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

std::string MakeAbsolute(const std::string& path) {
    if (path.empty())
        return path;
    char full[MAX_PATH * 2] = {};
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}
