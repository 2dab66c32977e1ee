#include "run/StartArguments.h"

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments start;
    for (const std::string& argument : arguments) {
        // Byte for byte, not by the locale's rules, which may pass over
        // characters they weigh as nothing (a control character after "-s").
        if (argument == "-s" || argument == "-S")
            start.unattended = true;
        else if (argument == "-u" || argument == "-U")
            start.undo = true;
        else if (argument.compare(0, 6, "--proc") == 0)
            start.processingFolder = argument.substr(6);
        else if (argument.compare(0, 5, "--ref") == 0)
            start.referenceFolder = argument.substr(5);
        else
            start.jobPath = argument;
    }
    return start;
}
