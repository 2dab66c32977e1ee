#include "base/CommandLine.h"

#include "base/DoubleByte.h"

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    const LeadBytes& lead = LeadBytes::Ansi();
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    for (size_t at = 0; at < commandLine.size();) {
        char c = commandLine[at];
        if (c == '"') {
            quoted = !quoted;
            ++at;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            ++at;
            if (!current.empty())
                arguments.push_back(std::move(current));
            current.clear();
        } else {
            size_t length = lead.CharLength(commandLine, at);
            current.append(commandLine, at, length);
            at += length;
        }
    }
    if (!current.empty())
        arguments.push_back(std::move(current));
    return arguments;
}
