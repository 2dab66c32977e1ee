#include "engine/ContentCheck.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/FileHandle.h"
#include "base/WideFiles.h"

namespace {

// Small enough that a stop is seen within 100 ms while both files come from a
// slow stick or share at 10 MB/s; large enough to read at full speed.
const DWORD kBlock = 256 << 10;
const DWORD kSample = 64 << 10;

HANDLE OpenToRead(const std::string& path) {
    return OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                    FILE_FLAG_SEQUENTIAL_SCAN);
}

bool ReadNext(HANDLE file, char* buffer, DWORD length) {
    DWORD got = 0;
    return ReadFile(file, buffer, length, &got, nullptr) && got == length;
}

bool Seek(HANDLE file, unsigned long long offset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
}

} // namespace

ContentMatch ContentComparer::Compare(const std::string& first, const std::string& second,
                                      unsigned long long size, bool whole, IProgress& progress) {
    FileHandle a(OpenToRead(first)), b(OpenToRead(second));
    if (!a.IsOpen() || !b.IsOpen())
        return ContentMatch::Different;
    if (left_.size() < kBlock) {
        left_.resize(kBlock);
        right_.resize(kBlock);
    }
    auto same = [&](DWORD length) {
        return ReadNext(a.Get(), left_.data(), length) &&
               ReadNext(b.Get(), right_.data(), length) &&
               std::memcmp(left_.data(), right_.data(), length) == 0;
    };
    if (!whole && size > 3ull * kSample) {
        for (unsigned long long offset : {0ull, size / 2, size - kSample})
            if (!Seek(a.Get(), offset) || !Seek(b.Get(), offset) || !same(kSample))
                return ContentMatch::Different;
        return ContentMatch::Same;
    }
    // From the start to the end, without a seek: the system reads ahead.
    for (unsigned long long offset = 0; offset < size;) {
        DWORD length = static_cast<DWORD>(size - offset < kBlock ? size - offset : kBlock);
        if (!same(length))
            return ContentMatch::Different;
        offset += length;
        if (offset < size && progress.PollStop())
            return ContentMatch::Stopped;
    }
    // Nothing after the size the listing saw: the file grew since, or is not this one.
    char extra = 0;
    return ReadNext(a.Get(), &extra, 1) ? ContentMatch::Different : ContentMatch::Same;
}
