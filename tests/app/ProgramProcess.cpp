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

bool RunOrvane(const std::string& arguments, unsigned timeoutMs) {
    std::string commandLine = Quoted(OrvaneExePath()) + " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}
