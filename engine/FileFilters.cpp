#include "engine/FileFilters.h"

#include "engine/CompareNoCase.h"

namespace {

std::wstring ToWide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string ToAnsi(const wchar_t* text, size_t count) {
    if (count == 0)
        return std::string();
    int length =
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

bool ContainsNoCase(const std::vector<std::string>& list, const std::string& text) {
    for (const std::string& piece : list) {
        if (CompareNoCase(piece, text) == 0)
            return true;
    }
    return false;
}

} // namespace

int SplitList(const std::string& text, char separator, std::vector<std::string>& pieces) {
    std::wstring wide = ToWide(text);
    wchar_t wideSeparator = static_cast<wchar_t>(static_cast<unsigned char>(separator));
    size_t pieceStart = 0;
    for (size_t i = 0; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == wideSeparator) {
            pieces.push_back(ToAnsi(wide.data() + pieceStart, i - pieceStart));
            pieceStart = i + 1;
        }
    }
    return static_cast<int>(pieces.size());
}

std::string GetExtension(const std::string& name) {
    size_t afterLastDot = std::string::npos;
    for (size_t i = 0; i < name.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(name[i])) && i + 1 < name.size())
            ++i; // the trail byte may look like a dot or a backslash
        else if (name[i] == '.')
            afterLastDot = i + 1;
    }
    if (afterLastDot == std::string::npos)
        return std::string();
    return name.substr(afterLastDot);
}

void AddEntryFiltered(FolderListing& listing, const std::string& rootFolder,
                      const std::string& relativeFolder, const WIN32_FIND_DATAA& found,
                      const std::vector<std::string>& includeExtensionList,
                      const std::vector<std::string>& excludeExtensionList) {
    if (!includeExtensionList.empty() || !excludeExtensionList.empty()) {
        std::string extension = GetExtension(found.cFileName);
        if (!includeExtensionList.empty() && !ContainsNoCase(includeExtensionList, extension))
            return;
        if (ContainsNoCase(excludeExtensionList, extension))
            return;
    }
    listing.Append(FileEntry(rootFolder, relativeFolder, found));
}
