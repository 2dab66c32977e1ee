#pragma once
// Taking a command line apart into its arguments.
#include <string>
#include <vector>

// Splits a command line into arguments: quotes switch quoting on and off and are
// dropped, runs of blanks (spaces and tabs, as after the program's name) outside
// quotes separate, empty arguments are dropped. A backslash escapes nothing, and
// double-byte characters are stepped over whole.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
