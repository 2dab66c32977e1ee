#include "ProgramProcess.h"

#include <windows.h>

#include <vector>

std::string OrvaneExePath() {
    std::string path = "Z:" ORVANE_EXE;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string Quoted(const std::string& argument) {
    return "\"" + argument + "\"";
}

namespace {

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(hwnd) && std::string(className) == "#32770" &&
        GetDlgItem(hwnd, 0xFFFF) != nullptr) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Waits for the process, answering one message box when asked to.
bool WaitAnswering(HANDLE process, DWORD processId, unsigned timeoutMs, std::string* boxText) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            return true;
        if (boxText == nullptr || !boxText->empty())
            continue;
        BoxSearch search{processId, nullptr};
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            char text[512] = {};
            GetWindowTextA(GetDlgItem(search.found, 0xFFFF), text, sizeof text);
            *boxText = text;
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
        }
    }
    return false;
}

} // namespace

bool RunOrvane(const std::string& arguments, unsigned timeoutMs, std::string* boxText) {
    std::string commandLine = Quoted(OrvaneExePath()) + " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    bool ended = WaitAnswering(process.hProcess, process.dwProcessId, timeoutMs, boxText);
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}
