#include "engine/Scanner.h"

#include "engine/FileFilters.h"
#include "engine/NameRules.h"
#include "engine/ReservedNames.h"

namespace {

bool IsDotName(const std::string& name) {
    return name == "." || name == "..";
}

// "." and "..", and at the root the program's own lock and versions folder:
// never entries of a job.
bool IsNeverListed(const std::string& relativeFolder, const std::string& name) {
    return IsDotName(name) || (relativeFolder == "\\" && IsReservedRootName(name));
}

} // namespace

Scanner::Scanner(IProgress& progress, const std::vector<std::string>& includeExtensionList,
                 const std::vector<std::string>& excludeExtensionList, std::string& lastMessage,
                 const FileFinder& finder)
    : progress_(progress), includeExtensionList_(includeExtensionList),
      excludeExtensionList_(excludeExtensionList), lastMessage_(lastMessage), finder_(finder) {}

HANDLE Scanner::OpenListing(FolderListing& listing, const std::string& relativeFolder,
                            FoundRecord* found) {
    std::string pattern = listing.RootFolder() + relativeFolder + "*";
    HANDLE search = finder_.First(pattern.c_str(), found);
    if (search == INVALID_HANDLE_VALUE) {
        lastMessage_ = LastErrorText(GetLastError());
        failedFolder_ = relativeFolder;
    }
    return search;
}

bool Scanner::NextRecord(HANDLE search, const std::string& relativeFolder, FoundRecord* found,
                         bool* complete) {
    if (finder_.Next(search, found))
        return true;
    DWORD error = GetLastError();
    // Any other failure means the folder broke off part-way (a network folder
    // that dropped, an I/O error). Taking that for the end would make the missing
    // entries look deleted, and a one-way job would delete them on the other side.
    *complete = error == ERROR_NO_MORE_FILES;
    if (!*complete) {
        lastMessage_ = LastErrorText(error);
        failedFolder_ = relativeFolder;
    }
    return false;
}

bool Scanner::Admit(FolderListing& listing, const std::string& relativeFolder,
                    const FoundRecord& found) {
    if (!IsLinkRecord(found) && IsExactPathName(found.name.c_str()))
        return true;
    listing.LeaveOut(relativeFolder + found.name);
    return false;
}

void Scanner::Add(FolderListing& listing, const std::string& relativeFolder,
                  const FoundRecord& found) {
    AddEntryFiltered(listing, relativeFolder, found, includeExtensionList_, excludeExtensionList_);
}

bool Scanner::ScanFlat(FolderListing& listing) {
    FoundRecord found;
    FindHandle search(finder_, OpenListing(listing, "\\", &found));
    if (!search.IsOpen())
        return false;
    if (progress_.PollStop())
        return false;
    for (;;) {
        if (!IsNeverListed("\\", found.name)) {
            ++*entriesRead_;
            if (Admit(listing, "\\", found))
                Add(listing, "\\", found);
        }
        bool complete = false;
        if (!NextRecord(search.Get(), "\\", &found, &complete))
            return complete;
        if (progress_.PollStop())
            return false;
    }
}

bool Scanner::ScanTree(const std::string& relativeFolder, FolderListing& listing,
                       const ExcludedFolders& excludedFolders) {
    FoundRecord found;
    FindHandle search(finder_, OpenListing(listing, relativeFolder, &found));
    if (!search.IsOpen())
        return false;
    progress_.SetLine2(relativeFolder);
    progress_.Refresh();
    if (progress_.PollStop())
        return false;
    for (;;) {
        if (IsNeverListed(relativeFolder, found.name)) {
            // never an entry
        } else if (found.IsFolder()) {
            ++*entriesRead_;
            // An excluded folder is neither listed nor reported, link or not.
            std::string childFolder = relativeFolder + found.name + "\\";
            if (!excludedFolders.Matches(childFolder) && Admit(listing, relativeFolder, found)) {
                if (!ScanTree(childFolder, listing, excludedFolders))
                    return false;
                Add(listing, relativeFolder, found);
            }
        } else {
            ++*entriesRead_;
            if (Admit(listing, relativeFolder, found))
                Add(listing, relativeFolder, found);
        }
        bool complete = false;
        if (!NextRecord(search.Get(), relativeFolder, &found, &complete))
            return complete;
        if (progress_.PollStop())
            return false;
    }
}
