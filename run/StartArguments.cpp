#include "run/StartArguments.h"

#include <windows.h>

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
