#include "engine/Scanner.h"

#include "engine/FileFilters.h"
#include "engine/NameRules.h"

namespace {

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool IsFolderRecord(const WIN32_FIND_DATAA& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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

bool Scanner::Admit(FolderListing& listing, const std::string& relativeFolder,
                    const WIN32_FIND_DATAA& found) {
    if (!IsLinkRecord(found) && IsExactPathName(found.cFileName))
        return true;
    listing.LeaveOut(relativeFolder + found.cFileName);
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
        if (!IsDotName(found.cFileName) && Admit(listing, "\\", found))
            Add(listing, "\\", found);
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
        } else if (IsFolderRecord(found)) {
            // An excluded folder is neither listed nor reported, link or not.
            std::string childFolder = relativeFolder + found.cFileName + "\\";
            if (!excludedFolders.Matches(childFolder) && Admit(listing, relativeFolder, found)) {
                if (!ScanTree(childFolder, listing, excludedFolders))
                    return false;
                Add(listing, relativeFolder, found);
            }
        } else if (Admit(listing, relativeFolder, found)) {
            Add(listing, relativeFolder, found);
        }
        bool complete = false;
        if (!NextRecord(search.Get(), &found, &complete))
            return complete;
        if (progress_.PollStop())
            return false;
    }
}
