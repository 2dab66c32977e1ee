#include "framework/ProgramFile.h"

#include <windows.h>

#include "base/AnsiText.h"

std::string ProgramFilePath() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string ansi;
    if (length == 0 || length >= MAX_PATH || !ToExactAnsi(path, length, ansi))
        return std::string();
    return ansi;
}
