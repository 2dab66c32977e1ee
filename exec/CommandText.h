#pragma once
// The batch-command form of one planned action. The operation log and the batch
// file use the same texts.
#include <string>

struct SyncItem;

// A path as one argument of a cmd.exe command: in double quotes when it holds a
// blank, a tab, or a character at which cmd.exe splits a line or reads an operator
// (& | < > ^ ( ) , ; = +); otherwise exactly as given. Double-byte characters are
// stepped over, so a second byte such as 0x5E or 0x7C never counts.
std::string QuotePath(const std::string& path);

std::string MakeCopyCommand(const std::string& from, const std::string& to);
std::string MakeDelCommand(const std::string& path);
std::string MakeRmdirCommand(const std::string& path);
std::string MakeMkdirCommand(const std::string& path);
std::string MakeMoveCommand(const std::string& from, const std::string& to);

// The command of a row, with the paths the executor acts on; empty for an
// operation this program does not know.
std::string MakeItemCommand(const SyncItem& item);

// A command as a line of a batch file: every % doubled, since cmd.exe expands
// %...% in a batch file even inside double quotes.
std::string EscapeForBatchFile(const std::string& command);
