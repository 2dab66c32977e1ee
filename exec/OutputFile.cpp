#include "exec/OutputFile.h"

bool OutputFile::Create(const std::string& path) {
    Close();
    handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        return false;
    }
    size_ = 0;
    error_ = 0;
    return true;
}

bool OutputFile::Write(const std::string& bytes) {
    DWORD written = 0;
    BOOL ok = write_(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
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
    if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_)) {
        error_ = GetLastError();
        return false;
    }
    size_ = size;
    return true;
}

bool OutputFile::Close() {
    if (handle_ == INVALID_HANDLE_VALUE)
        return true;
    BOOL ok = CloseHandle(handle_);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    handle_ = INVALID_HANDLE_VALUE;
    if (!ok)
        error_ = error;
    return ok != 0;
}
