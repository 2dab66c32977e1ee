#include "engine/SyncItem.h"

FileEntry::FileEntry(const std::string& root, const std::string& relFolder,
                     const FoundRecord& found)
    : rootFolder(root), relativeFolder(relFolder), name(found.name), attributes(found.attributes),
      lastWriteTime(found.lastWriteTime), sizeHigh(found.sizeHigh), sizeLow(found.sizeLow) {}

const char* OperationText(int operation) {
    switch (operation) {
    case Copy:
        return "コピー";
    case Create:
        return "作成";
    case Delete:
        return "削除";
    }
    return "";
}

// Every kind of item carries a reason, and its text does not depend on the operation.
const char* ReasonText(int, int reason) {
    switch (reason) {
    case Date:
        return "日付";
    case Existence:
        return "存在";
    }
    return "";
}

// A copy shows where the file goes; a creation or deletion shows the side it happens on.
const char* DirectionText(int operation, int direction) {
    bool toReference = direction == ProcessingToReference;
    if (direction != ProcessingToReference && direction != ReferenceToProcessing)
        return "";
    switch (operation) {
    case Copy:
        return toReference ? "処→参" : "参→処";
    case Create:
    case Delete:
        return toReference ? "参" : "処";
    }
    return "";
}
