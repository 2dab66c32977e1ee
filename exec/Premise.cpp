#include "exec/Premise.h"

#include "base/WideFiles.h"
#include "engine/FileTimes.h"
#include "engine/SyncItem.h"

PathState StateOf(const std::string& path) {
    PathState state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!AttributeDataOf(path, &data)) {
        DWORD error = GetLastError();
        state.unknown = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
        return state;
    }
    state.exists = true;
    state.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    state.lastWriteTime = data.ftLastWriteTime;
    state.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return state;
}

bool StillAsSeen(const PathState& now, const FileEntry& seen) {
    if (!now.exists || now.folder != seen.IsFolder())
        return false;
    if (now.folder)
        return true;
    unsigned long long seenSize =
        (static_cast<unsigned long long>(seen.sizeHigh) << 32) | seen.sizeLow;
    return now.size == seenSize && CompareFileTime(&now.lastWriteTime, &seen.lastWriteTime) == 0;
}

bool HoldsSameVersion(const PathState& target, const PathState& source, TimeRule rule) {
    if (!target.exists || target.folder || !source.exists || source.folder ||
        target.size != source.size)
        return false;
    return !IsNewer(target.lastWriteTime, source.lastWriteTime, rule) &&
           !IsNewer(source.lastWriteTime, target.lastWriteTime, rule);
}
