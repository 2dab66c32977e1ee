#include "base/PathRoot.h"

#include <string_view>

#include "base/DoubleByte.h"
#include "base/PathText.h"

namespace {

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Past one path component and the backslash after it, from `from`.
size_t SkipComponent(const std::string& path, size_t from) {
    const LeadBytes& lead = LeadBytes::Ansi();
    size_t at = from;
    while (at < path.size() && path[at] != '\\')
        at += lead.CharLength(path, at);
    return at < path.size() ? at + 1 : path.size();
}

bool IsDriveAt(const std::string& path, size_t at) {
    return at + 1 < path.size() && IsAsciiLetter(path[at]) && path[at + 1] == ':';
}

size_t DriveRootLength(const std::string& path, size_t at) {
    return at + (at + 2 < path.size() && path[at + 2] == '\\' ? 3 : 2);
}

} // namespace

size_t RootLength(const std::string& path) {
    if (StartsWith(path, "\\\\?\\UNC\\") || StartsWith(path, "\\\\?\\unc\\"))
        return SkipComponent(path, SkipComponent(path, 8));
    if (StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\"))
        return IsDriveAt(path, 4) ? DriveRootLength(path, 4) : SkipComponent(path, 4);
    if (StartsWith(path, "\\\\"))
        return SkipComponent(path, SkipComponent(path, 2));
    if (IsDriveAt(path, 0))
        return DriveRootLength(path, 0);
    return StartsWith(path, "\\") ? 1 : 0;
}

std::string ParentFolder(const std::string& path) {
    size_t root = RootLength(path);
    if (path.size() <= root)
        return std::string();
    // The last separator past the root that is not the path's own last character.
    size_t separator = LastSeparator(std::string_view(path).substr(0, path.size() - 1));
    size_t cut = separator != std::string::npos && separator > root ? separator : root;
    return path.substr(0, cut);
}
