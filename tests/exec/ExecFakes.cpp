#include "ExecFakes.h"

#include "TestFiles.h"

namespace {

FileEntry Entry(const std::string& root, const std::string& folder, const std::string& name,
                DWORD attributes) {
    FileEntry entry;
    entry.rootFolder = root;
    entry.relativeFolder = folder;
    entry.name = name;
    entry.attributes = attributes;
    // What a search would see of it now.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(entry.FullPath().c_str(), GetFileExInfoStandard, &data)) {
        entry.lastWriteTime = data.ftLastWriteTime;
        entry.sizeHigh = data.nFileSizeHigh;
        entry.sizeLow = data.nFileSizeLow;
    }
    return entry;
}

SyncItem Item(int operation, int reason, int isFolder, FileEntry subject, FileEntry counterpart) {
    SyncItem item;
    item.operation = operation;
    item.reason = reason;
    item.direction = ProcessingToReference;
    item.isFolder = isFolder;
    item.subject = std::move(subject);
    item.counterpart = std::move(counterpart);
    return item;
}

FileEntry RootOnly(const std::string& root) {
    FileEntry entry;
    entry.rootFolder = root;
    return entry;
}

} // namespace

SyncItem DateCopy(const std::string& fromRoot, const std::string& toRoot, const std::string& folder,
                  const std::string& name, const std::string& targetName) {
    return Item(Copy, Date, 0, Entry(fromRoot, folder, name, FILE_ATTRIBUTE_ARCHIVE),
                Entry(toRoot, folder, targetName, FILE_ATTRIBUTE_ARCHIVE));
}

SyncItem ExistenceCopy(const std::string& fromRoot, const std::string& toRoot,
                       const std::string& folder, const std::string& name) {
    return Item(Copy, Existence, 0, Entry(fromRoot, folder, name, FILE_ATTRIBUTE_ARCHIVE),
                RootOnly(toRoot));
}

SyncItem FolderCreate(const std::string& fromRoot, const std::string& toRoot,
                      const std::string& folder, const std::string& name) {
    return Item(Create, Existence, 1, Entry(fromRoot, folder, name, FILE_ATTRIBUTE_DIRECTORY),
                RootOnly(toRoot));
}

SyncItem FileDelete(const std::string& root, const std::string& folder, const std::string& name) {
    return Item(Delete, Existence, 0, Entry(root, folder, name, FILE_ATTRIBUTE_ARCHIVE),
                FileEntry());
}

SyncItem FolderDelete(const std::string& root, const std::string& folder, const std::string& name) {
    return Item(Delete, Existence, 1, Entry(root, folder, name, FILE_ATTRIBUTE_DIRECTORY),
                FileEntry());
}

SyncItem FileMove(const std::string& fromRoot, const std::string& toRoot, const std::string& folder,
                  const std::string& oldName, const std::string& newName) {
    return Item(Move, SameContent, 0, Entry(fromRoot, folder, newName, FILE_ATTRIBUTE_ARCHIVE),
                Entry(toRoot, folder, oldName, FILE_ATTRIBUTE_ARCHIVE));
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}
