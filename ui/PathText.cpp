#include "ui/PathText.h"

#include <windows.h>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// A lead byte followed by its second byte; a lead byte at the very end stands alone.
bool StartsDoubleByte(const char* p) {
    return IsDBCSLeadByte(static_cast<BYTE>(p[0])) && p[1] != '\0';
}

} // namespace

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

PathParts SplitPath(const std::string& path) {
    PathParts parts;
    const char* begin = path.c_str();
    const char* end = begin + path.size();
    const char* rest = begin;
    if (path.size() >= 2 && !StartsDoubleByte(begin) && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        rest += 2;
    }
    const char* nameStart = rest;
    const char* lastDot = nullptr;
    for (const char* p = rest; *p != '\0'; p = CharNextA(p)) {
        if (IsSeparator(*p)) {
            nameStart = p + 1;
            lastDot = nullptr;
        } else if (*p == '.') {
            lastDot = p;
        }
    }
    const char* extensionStart = lastDot != nullptr ? lastDot : end;
    parts.folder.assign(rest, nameStart);
    parts.name.assign(nameStart, extensionStart);
    parts.extension.assign(extensionStart, end);
    return parts;
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

std::string WithoutTrailingBackslash(const std::string& path) {
    if (path.empty() || IsDriveRoot(path))
        return path;
    const char* begin = path.c_str();
    const char* last = CharPrevA(begin, begin + path.size());
    if (*last != '\\') // CharPrevA stops on the first byte of a double-byte character
        return path;
    return path.substr(0, path.size() - 1);
}
