#pragma once
// The most recently used files, newest first, kept in one profile section and
// shown as numbered entries of a popup menu.
#include <windows.h>

#include <string>
#include <vector>

class CProfile;

class CRecentFileList {
public:
    // entryFormat names the stored values by their 1-based number ("File%d");
    // names in the menu are shortened to maxDisplayLength characters.
    CRecentFileList(const char* section, const char* entryFormat, int size, int maxDisplayLength);

    // Puts the path, made absolute, at the head. An equal path (case ignored)
    // leaves its old place; otherwise the oldest entry drops out when the list is
    // full. A path of MAX_PATH characters or more is not taken.
    bool Add(const std::string& path);

    void ReadList(const CProfile& profile);
    // Replaces the stored list with this one: empty slots leave no value behind.
    bool WriteList(CProfile& profile) const;

    int GetSize() const { return static_cast<int>(names_.size()); }
    const std::string& operator[](int index) const { return names_[index]; }
    // The entry shortened for a menu: the root, "...\" and as many trailing
    // folders as fit before the file name; never a broken double-byte character.
    std::string GetDisplayName(int index) const;

    // Replaces the items with identifiers firstCommandId .. firstCommandId+size-1
    // in the popup menu by "&1 path", "&2 path", ...; an empty list shows one
    // greyed placeholder item instead. False when the menu holds no such item.
    bool UpdateMenu(HMENU menu, UINT firstCommandId) const;

private:
    std::string EntryName(int index) const;

    std::string section_;
    std::string entryFormat_;
    size_t maxDisplayLength_;
    std::vector<std::string> names_;
};
