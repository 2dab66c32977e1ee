#pragma once
// The running program's own file, as the ANSI functions may use it.
#include <string>

// The program's full path, or an empty text when it has no exact ANSI form: the
// ANSI function would give a look-alike (a folder café as cafe), and files
// beside the program would then be read or written in another folder.
std::string ProgramFilePath();
