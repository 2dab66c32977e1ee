#include "exec/CommandText.h"

#include "base/DoubleByte.h"
#include "engine/SyncItem.h"

namespace {

bool SplitsCommandLine(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '&':
    case '|':
    case '<':
    case '>':
    case '^':
    case '(':
    case ')':
    case ',':
    case ';':
    case '=':
    case '+': // COPY joins files at a bare plus sign
        return true;
    default:
        return false;
    }
}

bool NeedsQuotes(const std::string& path) {
    const LeadBytes& table = LeadBytes::Ansi();
    for (size_t at = 0; at < path.size();) {
        size_t length = table.CharLength(path, at);
        if (length == 1 && SplitsCommandLine(path[at]))
            return true;
        at += length;
    }
    return false;
}

std::string Command(const char* verb, const std::string& path) {
    return std::string(verb) + QuotePath(path);
}

} // namespace

std::string QuotePath(const std::string& path) {
    if (!NeedsQuotes(path))
        return path;
    return "\"" + path + "\"";
}

std::string MakeCopyCommand(const std::string& from, const std::string& to) {
    return "COPY " + QuotePath(from) + " " + QuotePath(to);
}

std::string MakeDelCommand(const std::string& path) {
    return Command("DEL ", path);
}

std::string MakeRmdirCommand(const std::string& path) {
    return Command("RMDIR ", path);
}

std::string MakeMkdirCommand(const std::string& path) {
    return Command("MKDIR ", path);
}

std::string MakeMoveCommand(const std::string& from, const std::string& to) {
    return "MOVE " + QuotePath(from) + " " + QuotePath(to);
}

std::string MakeItemCommand(const SyncItem& item) {
    switch (item.operation) {
    case Move:
        return MakeMoveCommand(item.MoveSourcePath(), item.DestinationPath());
    case Copy:
        return MakeCopyCommand(item.SourcePath(), item.DestinationPath());
    case Create:
        return MakeMkdirCommand(item.DestinationPath());
    case Delete:
        return item.isFolder ? MakeRmdirCommand(item.SourcePath())
                             : MakeDelCommand(item.SourcePath());
    default:
        return std::string();
    }
}

std::string EscapeForBatchFile(const std::string& command) {
    const LeadBytes& table = LeadBytes::Ansi();
    std::string line;
    line.reserve(command.size() + 8);
    for (size_t at = 0; at < command.size();) {
        size_t length = table.CharLength(command, at);
        line.append(command, at, length);
        if (length == 1 && command[at] == '%')
            line += '%';
        at += length;
    }
    return line;
}
