#include "engine/ExcludedFolders.h"

#include "framework/AnsiText.h"
#include "engine/FileFilters.h"

#include <windows.h>

namespace {

// Through UTF-16 so that a double-byte character is lowered as one character
// and its trail byte is never taken for an ASCII capital.
std::wstring LoweredWide(const std::string& text) {
    std::wstring wide = AnsiToWide(text);
    if (!wide.empty())
        CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return wide;
}

} // namespace

std::vector<std::string> MakeExcludedFolderPatterns(const std::string& excludedFolders) {
    std::vector<std::string> pieces;
    SplitList(excludedFolders, ',', pieces);
    for (std::string& piece : pieces)
        piece = "\\" + piece + "\\";
    return pieces;
}

ExcludedFolders::ExcludedFolders(const std::vector<std::string>& patterns) {
    lowered_.reserve(patterns.size());
    for (const std::string& pattern : patterns)
        lowered_.push_back(LoweredWide(pattern));
}

bool ExcludedFolders::Matches(const std::string& relativeFolder) const {
    if (lowered_.empty())
        return false;
    std::wstring folder = LoweredWide(relativeFolder);
    for (const std::wstring& pattern : lowered_) {
        if (pattern == folder)
            return true;
    }
    return false;
}
