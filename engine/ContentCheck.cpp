#include "engine/ContentCheck.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/FileHandle.h"
#include "base/WideFiles.h"

namespace {

const DWORD kBlock = 1 << 20;
const DWORD kSample = 64 << 10;

HANDLE OpenToRead(const std::string& path) {
    return OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                    FILE_FLAG_SEQUENTIAL_SCAN);
}

bool ReadAt(HANDLE file, unsigned long long offset, char* buffer, DWORD length) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) &&
           ReadFile(file, buffer, length, &got, nullptr) && got == length;
}

} // namespace

ContentMatch CompareContent(const std::string& first, const std::string& second,
                            unsigned long long size, bool whole, IProgress& progress) {
    FileHandle a(OpenToRead(first)), b(OpenToRead(second));
    if (!a.IsOpen() || !b.IsOpen())
        return ContentMatch::Different;
    std::vector<char> left(kBlock), right(kBlock);
    auto same = [&](unsigned long long offset, DWORD length) {
        return ReadAt(a.Get(), offset, left.data(), length) &&
               ReadAt(b.Get(), offset, right.data(), length) &&
               std::memcmp(left.data(), right.data(), length) == 0;
    };
    if (!whole && size > 3ull * kSample) {
        for (unsigned long long offset : {0ull, size / 2, size - kSample})
            if (!same(offset, kSample))
                return ContentMatch::Different;
        return ContentMatch::Same;
    }
    for (unsigned long long offset = 0; offset < size;) {
        DWORD length = static_cast<DWORD>(size - offset < kBlock ? size - offset : kBlock);
        if (!same(offset, length))
            return ContentMatch::Different;
        offset += length;
        if (offset < size && progress.PollStop())
            return ContentMatch::Stopped;
    }
    // Nothing after the size the listing saw: the file grew since, or is not this one.
    char extra = 0;
    DWORD got = 0;
    if (ReadFile(a.Get(), &extra, 1, &got, nullptr) && got != 0)
        return ContentMatch::Different;
    return ContentMatch::Same;
}
