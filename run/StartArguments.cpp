#include "run/StartArguments.h"

#include <windows.h>

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    const char* p = commandLine.c_str();
    while (*p != '\0') {
        if (*p == '"') {
            quoted = !quoted;
            ++p;
        } else if (*p == ' ' && !quoted) {
            ++p;
            if (*p != ' ' && *p != '\0' && !current.empty()) {
                arguments.push_back(current);
                current.clear();
            }
        } else {
            const char* next = CharNextA(p);
            current.append(p, next);
            p = next;
        }
    }
    if (!current.empty())
        arguments.push_back(current);
    return arguments;
}

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments start;
    for (const std::string& argument : arguments) {
        if (lstrcmpiA(argument.c_str(), "-s") == 0)
            start.unattended = true;
        else if (argument.compare(0, 6, "--proc") == 0)
            start.processingFolder = argument.substr(6);
        else if (argument.compare(0, 5, "--ref") == 0)
            start.referenceFolder = argument.substr(5);
        else
            start.jobPath = argument;
    }
    return start;
}
