#include "engine/SyncItem.h"

FileEntry::FileEntry(const std::string& root, const std::string& relFolder,
                     const FoundRecord& found)
    : rootFolder(root), relativeFolder(relFolder), name(found.name), attributes(found.attributes),
      lastWriteTime(found.lastWriteTime), sizeHigh(found.sizeHigh), sizeLow(found.sizeLow) {}
