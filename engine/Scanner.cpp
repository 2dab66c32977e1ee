#include "engine/Scanner.h"

#include "engine/FileFilters.h"

namespace {

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsFolderRecord(const WIN32_FIND_DATAA& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A junction or folder link leads out of the job's folders: its contents are not
// listed, so nothing behind it is ever planned for deletion or overwritten.
bool IsFolderLink(const WIN32_FIND_DATAA& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A name the ANSI functions cannot give (a character outside the code page comes
// back as '?'): as a path it would be a wildcard matching other files. Neither
// byte occurs as the second byte of a double-byte character.
bool HasWildcard(const char* name) {
    for (const char* p = name; *p != '\0'; ++p)
        if (*p == '?' || *p == '*')
            return true;
    return false;
}

} // namespace

Scanner::Scanner(IProgress& progress, const std::vector<std::string>& includeExtensionList,
                 const std::vector<std::string>& excludeExtensionList, std::string& lastMessage,
                 const FileFinder& finder)
    : progress_(progress), includeExtensionList_(includeExtensionList),
      excludeExtensionList_(excludeExtensionList), lastMessage_(lastMessage), finder_(finder) {}

HANDLE Scanner::OpenListing(const std::string& pattern, WIN32_FIND_DATAA* found) {
    HANDLE search = finder_.First(pattern.c_str(), found);
    if (search == INVALID_HANDLE_VALUE)
        lastMessage_ = LastErrorText(GetLastError());
    return search;
}

bool Scanner::NextRecord(HANDLE search, WIN32_FIND_DATAA* found, bool* complete) {
    if (finder_.Next(search, found))
        return true;
    DWORD error = GetLastError();
    // Any other failure means the folder broke off part-way (a network folder
    // that dropped, an I/O error). Taking that for the end would make the missing
    // entries look deleted, and a one-way job would delete them on the other side.
    *complete = error == ERROR_NO_MORE_FILES;
    if (!*complete)
        lastMessage_ = LastErrorText(error);
    return false;
}

bool Scanner::Usable(const FolderListing& listing, const std::string& relativeFolder,
                     const WIN32_FIND_DATAA& found) {
    if (!HasWildcard(found.cFileName))
        return true;
    lastMessage_ =
        std::string(kUnnamableEntryText) + listing.RootFolder() + relativeFolder + found.cFileName;
    return false;
}

void Scanner::Add(FolderListing& listing, const std::string& relativeFolder,
                  const WIN32_FIND_DATAA& found) {
    AddEntryFiltered(listing, listing.RootFolder(), relativeFolder, found, includeExtensionList_,
                     excludeExtensionList_);
}

bool Scanner::ScanFlat(FolderListing& listing) {
    WIN32_FIND_DATAA found;
    FindHandle search(finder_, OpenListing(listing.RootFolder() + "\\*", &found));
    if (!search.IsOpen())
        return false;
    if (progress_.PollStop())
        return false;
    for (;;) {
        if (!IsDotName(found.cFileName)) {
            if (!Usable(listing, "\\", found))
                return false;
            Add(listing, "\\", found);
        }
        bool complete = false;
        if (!NextRecord(search.Get(), &found, &complete))
            return complete;
        if (progress_.PollStop())
            return false;
    }
}

bool Scanner::ScanTree(const std::string& relativeFolder, FolderListing& listing,
                       const ExcludedFolders& excludedFolders) {
    WIN32_FIND_DATAA found;
    FindHandle search(finder_, OpenListing(listing.RootFolder() + relativeFolder + "*", &found));
    if (!search.IsOpen())
        return false;
    progress_.SetLine2(relativeFolder);
    progress_.Refresh();
    if (progress_.PollStop())
        return false;
    for (;;) {
        if (IsDotName(found.cFileName)) {
            // never an entry
        } else if (!Usable(listing, relativeFolder, found)) {
            return false;
        } else if (IsFolderRecord(found) && !IsFolderLink(found)) {
            std::string childFolder = relativeFolder + found.cFileName + "\\";
            if (!excludedFolders.Matches(childFolder)) {
                if (!ScanTree(childFolder, listing, excludedFolders))
                    return false;
                Add(listing, relativeFolder, found);
            }
        } else {
            Add(listing, relativeFolder, found);
        }
        bool complete = false;
        if (!NextRecord(search.Get(), &found, &complete))
            return complete;
        if (progress_.PollStop())
            return false;
    }
}
