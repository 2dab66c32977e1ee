#include "ProgramProcess.h"

#include <windows.h>

#include <cstdio>
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

// A dialog of the process: a message box has a text field (0xFFFF); the
// progress window has a stop button and no text field.
struct DialogSearch {
    DWORD processId;
    bool messageBox;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (owner != search->processId || std::string(className) != "#32770")
        return TRUE;
    bool hasText = GetDlgItem(hwnd, 0xFFFF) != nullptr;
    bool wanted = search->messageBox ? IsWindowVisible(hwnd) && hasText
                                     : GetDlgItem(hwnd, IDCANCEL) != nullptr && !hasText;
    if (!wanted)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindProcessDialog(DWORD processId, bool messageBox) {
    DialogSearch search{processId, messageBox, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the process, answering one message box when asked to, and pressing
// the progress window's stop button once when asked to.
bool WaitAnswering(HANDLE process, DWORD processId, unsigned timeoutMs, std::string* boxText,
                   bool stop = false) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (WaitForSingleObject(process, stop ? 5 : 50) == WAIT_OBJECT_0)
            return true;
        if (stop) {
            if (HWND progress = FindProcessDialog(processId, false)) {
                PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
                stop = false;
            }
        }
        if (boxText == nullptr || !boxText->empty())
            continue;
        if (HWND box = FindProcessDialog(processId, true)) {
            char text[512] = {};
            GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
            *boxText = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return false;
}

bool Start(const std::string& arguments, HANDLE standardError, unsigned timeoutMs,
           std::string* boxText, DWORD* exitCode, bool stop = false) {
    std::string commandLine = Quoted(OrvaneExePath()) + " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (standardError != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = standardError;
    }
    PROCESS_INFORMATION process = {};
    // Wine, rarely and with several processes starting at once, fails a start
    // that succeeds when asked again; the program has not run then.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, standardError != nullptr, 0,
                           nullptr, nullptr, &startup, &process))
            break;
        std::fprintf(stderr, "Orvane.exe did not start (error %lu, attempt %d of 3)\n",
                     GetLastError(), attempt);
        if (attempt == 3)
            return false;
        Sleep(200);
    }
    bool ended = WaitAnswering(process.hProcess, process.dwProcessId, timeoutMs, boxText, stop);
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    if (exitCode != nullptr)
        GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

} // namespace

bool RunOrvane(const std::string& arguments, unsigned timeoutMs, std::string* boxText) {
    return Start(arguments, nullptr, timeoutMs, boxText, nullptr);
}

ProgramRun RunOrvaneCaptured(const std::string& arguments, unsigned timeoutMs, bool stop) {
    ProgramRun run;
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "err", 0, path);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file =
        CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return run;
    run.ended = Start(arguments, file, timeoutMs, &run.boxText, &run.exitCode, stop);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        run.standardError.append(chunk, got);
    CloseHandle(file);
    return run;
}
