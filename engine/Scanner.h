#pragma once
// Lists one side of a job into a FolderListing: the top level only, or the
// whole tree without the excluded folders, through the extension filters.
#include "engine/EngineCallbacks.h"
#include "engine/ExcludedFolders.h"
#include "engine/FileFinder.h"
#include "engine/FolderListing.h"
#include "engine/SystemText.h"

#include <string>
#include <vector>

// Followed by the entry's path: a name with a character outside the ANSI code
// page, which the find functions give with '?' in its place.
inline constexpr const char* kUnnamableEntryText = "システムの文字コードで表せない名前があります：";

class Scanner {
public:
    // The lists and the message text belong to the caller and must outlive the scanner.
    Scanner(IProgress& progress, const std::vector<std::string>& includeExtensionList,
            const std::vector<std::string>& excludeExtensionList, std::string& lastMessage,
            const FileFinder& finder = SystemFileFinder());

    // The top level of the listing's root; folders become entries but are not
    // entered. False on a stop, or with lastMessage set when the folder cannot
    // be listed completely.
    bool ScanFlat(FolderListing& listing);

    // The folder relativeFolder (\ for the root, \sub\ below it) and every
    // subfolder not excluded. A folder's own entry follows its contents; a folder
    // link (junction) is an entry whose contents are not listed. False
    // on a stop, or with lastMessage set when any folder cannot be listed completely.
    bool ScanTree(const std::string& relativeFolder, FolderListing& listing,
                  const ExcludedFolders& excludedFolders);

private:
    // The first record of a folder's listing; on failure INVALID_HANDLE_VALUE
    // with lastMessage set to the system's text.
    HANDLE OpenListing(const std::string& pattern, WIN32_FIND_DATAA* found);
    // True with the next record. False at the end of the listing, with *complete
    // telling a normal end (ERROR_NO_MORE_FILES only) from one that broke off,
    // for which lastMessage is set.
    bool NextRecord(HANDLE search, WIN32_FIND_DATAA* found, bool* complete);
    void Add(FolderListing& listing, const std::string& relativeFolder,
             const WIN32_FIND_DATAA& found);
    // False, with lastMessage naming the entry, for a name that would act as a
    // wildcard in a path.
    bool Usable(const FolderListing& listing, const std::string& relativeFolder,
                const WIN32_FIND_DATAA& found);

    IProgress& progress_;
    const std::vector<std::string>& includeExtensionList_;
    const std::vector<std::string>& excludeExtensionList_;
    std::string& lastMessage_;
    const FileFinder& finder_;
};
