#include "framework/ErrorOutput.h"

#include <windows.h>

#include <vector>

namespace {

// Every line break as CR LF, and one at the end (a system error text brings its own).
std::string AsLines(const std::string& text) {
    std::string lines;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    if (lines.empty() || lines.back() != '\n')
        lines += "\r\n";
    return lines;
}

} // namespace

bool WriteStandardError(const std::string& text) {
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    std::string lines = AsLines(text);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        int length = MultiByteToWideChar(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()),
                                         nullptr, 0);
        std::vector<wchar_t> wide(static_cast<size_t>(length) + 1);
        MultiByteToWideChar(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()), wide.data(),
                            length);
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(length), &written, nullptr) &&
               written == static_cast<DWORD>(length);
    }
    DWORD written = 0;
    return WriteFile(handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) &&
           written == lines.size();
}
