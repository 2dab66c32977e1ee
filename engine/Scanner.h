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
    // subfolder not excluded. A folder's own entry follows its contents; links and
    // misread names are left out (see Admit). False
    // on a stop, or with lastMessage set when any folder cannot be listed completely.
    bool ScanTree(const std::string& relativeFolder, FolderListing& listing,
                  const ExcludedFolders& excludedFolders);

    // Every entry read from now on (not "." or "..") adds one to *entriesRead,
    // which a progress window may show while the scan goes on.
    void CountEntriesInto(int* entriesRead) { entriesRead_ = entriesRead; }

    // After a failed listing, the folder that failed: \ for the root, \sub\ below it.
    const std::string& FailedFolder() const { return failedFolder_; }

private:
    // The first record of a folder's listing; on failure INVALID_HANDLE_VALUE
    // with lastMessage set to the system's text and the folder kept.
    HANDLE OpenListing(FolderListing& listing, const std::string& relativeFolder,
                       FoundRecord* found);
    // True with the next record. False at the end of the listing, with *complete
    // telling a normal end (ERROR_NO_MORE_FILES only) from one that broke off,
    // for which lastMessage is set.
    bool NextRecord(HANDLE search, const std::string& relativeFolder, FoundRecord* found,
                    bool* complete);
    void Add(FolderListing& listing, const std::string& relativeFolder, const FoundRecord& found);
    // The one test every found entry passes before it is listed or entered. False
    // for a link, or a name Windows forbids or the path functions would misread: the entry's path
    // (as far as it can be written) is then recorded in the listing as left out, and the scan goes
    // on.
    bool Admit(FolderListing& listing, const std::string& relativeFolder, const FoundRecord& found);

    IProgress& progress_;
    const std::vector<std::string>& includeExtensionList_;
    const std::vector<std::string>& excludeExtensionList_;
    std::string& lastMessage_;
    const FileFinder& finder_;
    std::string failedFolder_;
    int uncounted_ = 0;
    int* entriesRead_ = &uncounted_; // never null: one increment per entry, no test
};
