#include "exec/OutputFile.h"

#include <utility>

#include "base/WideFiles.h"

bool OutputFile::Create(const std::string& path, bool onlyNew) {
    Close();
    FileHandle created(OpenPath(path, GENERIC_WRITE, 0, onlyNew ? CREATE_NEW : CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL));
    if (!created.IsOpen()) {
        error_ = GetLastError();
        return false;
    }
    file_ = std::move(created);
    size_ = 0;
    error_ = 0;
    return true;
}

bool OutputFile::Write(const std::string& bytes) {
    DWORD written = 0;
    BOOL ok =
        write_(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    size_ += written;
    if (ok && written == bytes.size())
        return true;
    // A short write that reports success still lost bytes.
    error_ = error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
    return false;
}

bool OutputFile::CutTo(unsigned long long size) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(file_.Get())) {
        error_ = GetLastError();
        return false;
    }
    size_ = size;
    return true;
}

bool OutputFile::Close() {
    if (file_.Close())
        return true;
    error_ = GetLastError();
    return false;
}
