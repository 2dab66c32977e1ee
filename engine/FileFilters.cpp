#include "engine/FileFilters.h"

#include "base/DoubleByte.h"
#include "base/AnsiText.h"
#include "engine/NameOrder.h"

namespace {

bool ContainsNoCase(const std::vector<std::string>& list, const std::string& text) {
    for (const std::string& piece : list) {
        if (CompareNames(piece, text) == 0)
            return true;
    }
    return false;
}

} // namespace

int SplitList(const std::string& text, char separator, std::vector<std::string>& pieces) {
    std::wstring wide = AnsiToWide(text);
    wchar_t wideSeparator = static_cast<wchar_t>(static_cast<unsigned char>(separator));
    size_t pieceStart = 0;
    for (size_t i = 0; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == wideSeparator) {
            pieces.push_back(WideToAnsi(wide.data() + pieceStart, i - pieceStart));
            pieceStart = i + 1;
        }
    }
    return static_cast<int>(pieces.size());
}

std::string GetExtension(const std::string& name) {
    const LeadBytes& lead = LeadBytes::Ansi();
    size_t afterLastDot = std::string::npos;
    // Whole characters: a second byte may look like a dot or a backslash.
    for (size_t i = 0; i < name.size(); i += lead.CharLength(name, i)) {
        if (name[i] == '.')
            afterLastDot = i + 1;
    }
    if (afterLastDot == std::string::npos)
        return std::string();
    return name.substr(afterLastDot);
}

void AddEntryFiltered(FolderListing& listing, const std::string& relativeFolder,
                      const FoundRecord& found,
                      const std::vector<std::string>& includeExtensionList,
                      const std::vector<std::string>& excludeExtensionList) {
    if (!includeExtensionList.empty() || !excludeExtensionList.empty()) {
        std::string extension = GetExtension(found.name);
        if (!includeExtensionList.empty() && !ContainsNoCase(includeExtensionList, extension))
            return;
        if (ContainsNoCase(excludeExtensionList, extension))
            return;
    }
    listing.Append(relativeFolder, found);
}
