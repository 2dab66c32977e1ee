#pragma once
// Runs the real Orvane.exe as a process of its own and waits for it to end.
#include <windows.h>

#include <string>

// The program's path as Windows sees it.
std::string OrvaneExePath();
// Quotes one argument for a command line.
std::string Quoted(const std::string& argument);
// Starts Orvane.exe with the arguments; returns true when it ended by itself
// within the time limit (it is killed otherwise). When `boxText` is given, a
// message box the program shows is answered with OK and its text kept there.
bool RunOrvane(const std::string& arguments, unsigned timeoutMs = 60000,
               std::string* boxText = nullptr);

// One run with its standard error handle on a file; any message box is answered
// with OK and its text kept, so that no run can wait for ever. With `stop`, the
// progress window's stop button is pressed as soon as the window exists.
struct ProgramRun {
    bool ended = false; // by itself, within the time limit
    DWORD exitCode = 0;
    std::string boxText;
    std::string standardError;
};
ProgramRun RunOrvaneCaptured(const std::string& arguments, unsigned timeoutMs = 30000,
                             bool stop = false);
