#pragma once
// A search without its windows: from the job to the planned actions in the
// row sink. The caller shows the progress window, clears the rows before and
// after a failed search, orders the rows with ComparePriority and tells the user.
#include "engine/EngineCallbacks.h"
#include "engine/FileFinder.h"
#include "engine/FolderIdentity.h"
#include "engine/PairMemory.h"
#include "engine/Priority.h"
#include "job/JobSettings.h"

#include <string>
#include <vector>

inline constexpr const char* kNoProcessingFolderText = "処理フォルダが指定されていません";
inline constexpr const char* kNoReferenceFolderText = "参照フォルダが指定されていません";
inline constexpr const char* kOverlappingFoldersText = "処理フォルダと参照フォルダが重なっています";
inline constexpr const char* kLogIsProcessingFolderText =
    "ログの出力先フォルダが処理フォルダと同じです";
inline constexpr const char* kLogIsReferenceFolderText =
    "ログの出力先フォルダが参照フォルダと同じです";

// What a search found on one side: entries (folders included) and files.
struct SideEntryCounts {
    int entries = 0;
    int files = 0;
};
struct SearchCounts {
    bool complete = false; // both sides were listed to the end
    SideEntryCounts processing;
    SideEntryCounts reference;
};

// Fills the two extension lists (kept by the caller) from the job, lists both
// folders, sorts both listings and runs the passes of the job's mode into the
// sink, with the progress texts of each phase. False when stopped, when a folder
// is not given (empty), when the folders overlap, when the log folder (with a
// log asked for) is one of them, or when a folder could not be listed
// completely, which lastMessage then explains with the side and the folder.
// Nothing at or below a log folder inside either folder is planned.
// The listings are gone when it returns, on every path; `counts`, when given,
// keeps their sizes. Links, names the path functions would misread and case-only
// twins are left out on both sides; leftOut, when given, receives their full
// paths (root folder and relative path). A two-way job decides against
// lastMemory when given, and fills nextMemory when given (Comparison::UseMemory).
bool SearchAndCompare(const JobSettings& job, std::vector<std::string>& includeExtensionList,
                      std::vector<std::string>& excludeExtensionList, IProgress& progress,
                      IRowSink& sink, std::string& lastMessage,
                      const FileFinder& finder = SystemFileFinder(), SearchCounts* counts = nullptr,
                      std::vector<std::string>* leftOut = nullptr,
                      const PairMemory* lastMemory = nullptr, PairMemory* nextMemory = nullptr);
