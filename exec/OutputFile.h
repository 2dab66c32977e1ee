#pragma once
// A file written from start to end: created for writing only, shared with
// nobody while open, closed when the object goes. It replaces a file of the same
// name, or, where nothing may be written over, is only ever a new file.
#include <windows.h>

#include <string>

#include "base/FileHandle.h"

// The platform's write call. A parameter so that tests can make a write stop
// part-way, as a full disk or a lost network folder would.
using WriteCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

class OutputFile {
public:
    explicit OutputFile(WriteCall write = ::WriteFile) : write_(write) {}
    ~OutputFile() { Close(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False, with Error() set, when the file cannot be created. `onlyNew`:
    // fails with ERROR_FILE_EXISTS when anything has the name, a link included.
    bool Create(const std::string& path, bool onlyNew = false);
    bool IsOpen() const { return file_.IsOpen(); }
    // One write call for all the bytes: each call either lands whole or reports a
    // failure (Error() set), with Size() counting what did reach the file.
    bool Write(const std::string& bytes);
    // Bytes written through this object so far.
    unsigned long long Size() const { return size_; }
    // Cuts the file back to `size` bytes, e.g. to drop a line written only in part.
    // Shrinking a file needs no free space, so this works on a full disk.
    bool CutTo(unsigned long long size);
    // False, with Error() set, when closing reports a failure (a network folder
    // may report a lost write only here). Closing a closed file does nothing.
    bool Close();
    DWORD Error() const { return error_; }

private:
    FileHandle file_;
    WriteCall write_;
    unsigned long long size_ = 0;
    DWORD error_ = 0;
};
