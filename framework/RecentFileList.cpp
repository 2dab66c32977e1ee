#include "framework/RecentFileList.h"

#include <algorithm>
#include <cstdio>

#include "base/AbsolutePath.h"
#include "base/PathRoot.h"
#include "framework/Profile.h"

namespace {

const char kEmptyListItem[] = "最近使ったファイル";
const char kEllipsis[] = "...";

// Start offsets of the characters of a text: a double-byte character is one
// character, so its trail byte (which may be 0x5C) is never looked at alone.
std::vector<size_t> CharacterStarts(const std::string& text) {
    std::vector<size_t> starts;
    const char* begin = text.c_str();
    for (const char* p = begin; *p; p = CharNextA(p))
        starts.push_back(static_cast<size_t>(p - begin));
    return starts;
}

std::vector<size_t> BackslashOffsets(const std::string& path) {
    std::vector<size_t> offsets;
    for (size_t start : CharacterStarts(path))
        if (path[start] == '\\')
            offsets.push_back(start);
    return offsets;
}

// The end of a text in at most maxLength bytes behind "...", cut before a whole character.
std::string EllipsisAndTail(const std::string& text, size_t maxLength) {
    size_t room = maxLength > sizeof kEllipsis - 1 ? maxLength - (sizeof kEllipsis - 1) : 0;
    size_t from = text.size();
    for (size_t start : CharacterStarts(text))
        if (text.size() - start <= room) {
            from = start;
            break;
        }
    return kEllipsis + text.substr(from);
}

std::string AbbreviatePath(const std::string& path, size_t maxLength) {
    if (path.size() <= maxLength)
        return path;
    std::vector<size_t> backslashes = BackslashOffsets(path);
    size_t rootLength = RootLength(path);
    // The longest tail of whole path components that fits, down to the file name.
    for (size_t backslash : backslashes) {
        if (backslash < rootLength)
            continue;
        std::string shortened =
            path.substr(0, rootLength) + kEllipsis + "\\" + path.substr(backslash + 1);
        if (shortened.size() <= maxLength)
            return shortened;
    }
    std::string name = backslashes.empty() ? path : path.substr(backslashes.back() + 1);
    return name.size() <= maxLength ? name : EllipsisAndTail(name, maxLength);
}

// Ampersands would turn the next character into a mnemonic.
std::string EscapeAmpersands(const std::string& text) {
    std::string escaped;
    const char* begin = text.c_str();
    for (const char* p = begin; *p;) {
        const char* next = CharNextA(p);
        escaped.append(p, next);
        if (*p == '&')
            escaped += '&';
        p = next;
    }
    return escaped;
}

bool SamePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace

CRecentFileList::CRecentFileList(const char* section, const char* entryFormat, int size,
                                 int maxDisplayLength)
    : section_(section), entryFormat_(entryFormat),
      maxDisplayLength_(static_cast<size_t>(std::max(maxDisplayLength, 0))),
      names_(static_cast<size_t>(std::max(size, 0))) {}

std::string CRecentFileList::EntryName(int index) const {
    char name[64];
    std::snprintf(name, sizeof name, entryFormat_.c_str(), index + 1);
    return name;
}

bool CRecentFileList::Add(const std::string& path) {
    if (path.empty() || names_.empty())
        return false;
    std::string absolute;
    if (!GetFullPath(path, absolute) || absolute.size() >= MAX_PATH)
        return false;

    auto leaving = std::find_if(names_.begin(), names_.end() - 1,
                                [&](const std::string& name) { return SamePath(name, absolute); });
    std::rotate(names_.begin(), leaving, leaving + 1);
    names_.front() = absolute;
    return true;
}

void CRecentFileList::ReadList(const CProfile& profile) {
    for (size_t i = 0; i < names_.size(); ++i)
        names_[i] =
            profile.GetProfileString(section_.c_str(), EntryName(static_cast<int>(i)).c_str());
}

bool CRecentFileList::WriteList(CProfile& profile) const {
    // Clearing the section first removes entries of a longer, older list; it
    // fails harmlessly when the section does not exist yet.
    profile.WriteProfileString(section_.c_str(), nullptr, nullptr);
    bool written = true;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].empty())
            continue;
        written &= profile.WriteProfileString(
            section_.c_str(), EntryName(static_cast<int>(i)).c_str(), names_[i].c_str());
    }
    return written;
}

std::string CRecentFileList::GetDisplayName(int index) const {
    return AbbreviatePath(names_[index], maxDisplayLength_);
}

bool CRecentFileList::UpdateMenu(HMENU menu, UINT firstCommandId) const {
    UINT lastCommandId = firstCommandId + static_cast<UINT>(names_.size()) - 1;
    int insertAt = -1;
    for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
        UINT id = GetMenuItemID(menu, position);
        if (id >= firstCommandId && id <= lastCommandId &&
            DeleteMenu(menu, position, MF_BYPOSITION))
            insertAt = position;
    }
    if (insertAt < 0)
        return false;

    bool inserted = false;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].empty())
            continue;
        // "&1" to "&9" give the first nine entries their digit as mnemonic.
        int number = static_cast<int>(i) + 1;
        std::string label = number < 10 ? "&" : "";
        label += std::to_string(number);
        label += ' ';
        label += EscapeAmpersands(GetDisplayName(static_cast<int>(i)));
        if (!InsertMenuA(menu, static_cast<UINT>(insertAt++), MF_BYPOSITION | MF_STRING,
                         firstCommandId + i, label.c_str()))
            return false;
        inserted = true;
    }
    if (inserted)
        return true;
    return InsertMenuA(menu, static_cast<UINT>(insertAt), MF_BYPOSITION | MF_STRING | MF_GRAYED,
                       firstCommandId, kEmptyListItem) != FALSE;
}
