#pragma once
// Where OrvaneSetup lies and where it expects the main program: both programs
// share one folder.
#include <string>

// The full path of the running OrvaneSetup; empty when it has no exact ANSI form.
std::string OwnProgramPath();

// The drive and folder of a program path, without the last backslash unless it
// is a drive root ("C:\\").
std::string ProgramFolder(const std::string& programPath);

// "Orvane.exe" in the drive and folder of the given program path. The file
// need not exist.
std::string MainProgramPathBeside(const std::string& setupPath);
