#include "base/PathText.h"

#include <cstring>

#include "base/DoubleByte.h"

namespace {

// The offset of the last character from `from` on (a character start) that
// `matches`, or npos.
size_t FindLastChar(std::string_view text, size_t from, bool (*matches)(char)) {
    const LeadBytes& lead = LeadBytes::Ansi();
    size_t found = std::string_view::npos;
    for (size_t at = from; at < text.size(); at += lead.CharLength(text, at))
        if (matches(text[at]))
            found = at;
    return found;
}

bool IsDot(char c) {
    return c == '.';
}

bool IsBackslash(char c) {
    return c == '\\';
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

size_t LastSeparator(std::string_view path) {
    return FindLastChar(path, 0, IsPathSeparator);
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsForbiddenInNames(unsigned char c) {
    return c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

PathParts SplitPath(const std::string& path) {
    PathParts parts;
    size_t rest = 0;
    if (path.size() >= 2 && LeadBytes::Ansi().CharLength(path, 0) == 1 && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        rest = 2;
    }
    size_t separator = LastSeparator(path);
    size_t nameStart = separator != std::string::npos && separator >= rest ? separator + 1 : rest;
    size_t dot = FindLastChar(path, nameStart, IsDot);
    size_t extensionStart = dot != std::string::npos ? dot : path.size();
    parts.folder = path.substr(rest, nameStart - rest);
    parts.name = path.substr(nameStart, extensionStart - nameStart);
    parts.extension = path.substr(extensionStart);
    return parts;
}

std::string FolderOf(const std::string& path) {
    size_t separator = LastSeparator(path);
    return separator != std::string::npos ? path.substr(0, separator) : std::string();
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

bool EndsWithBackslash(std::string_view path) {
    return !path.empty() && FindLastChar(path, 0, IsBackslash) == path.size() - 1;
}

std::string WithoutTrailingBackslash(const std::string& path) {
    if (IsDriveRoot(path) || !EndsWithBackslash(path))
        return path;
    return path.substr(0, path.size() - 1);
}
