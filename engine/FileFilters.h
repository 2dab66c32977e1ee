#pragma once
// The job's comma lists and the extension filters applied to every scanned entry.
#include "engine/FolderListing.h"
#include "engine/FoundRecord.h"

#include <windows.h>

#include <string>
#include <vector>

// Appends the pieces of text between separators to pieces, empty pieces
// included (an empty text gives one empty piece). Splits on characters, so a
// separator byte inside a double-byte character is never taken. Returns the new size.
int SplitList(const std::string& text, char separator, std::vector<std::string>& pieces);

// The characters after the last dot of a name, or an empty text when there is
// no dot or the name ends with one. Double-byte characters are stepped over whole.
std::string GetExtension(const std::string& name);

// Appends an entry for the find record unless it is a copy's temporary file, or
// its extension is missing from a non-empty include list or present in the
// exclude list (compared with CompareNames).
void AddEntryFiltered(FolderListing& listing, const std::string& relativeFolder,
                      const FoundRecord& found,
                      const std::vector<std::string>& includeExtensionList,
                      const std::vector<std::string>& excludeExtensionList);
