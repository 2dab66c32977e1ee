#pragma once
// Runs OrvaneSetup.exe as a separate process, answers its message box and
// waits for its end, so that no run can hang a test.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SetupRun {
    bool started = false;
    bool boxShown = false;           // a visible box captioned "報告" appeared
    std::string text;                // the box's message
    std::vector<int> visibleButtons; // control IDs of the box's buttons
    bool exited = false;             // ended within the time limit
    DWORD exitCode = STILL_ACTIVE;
};

// Windows path of the OrvaneSetup.exe that the build made.
std::string BuiltSetupPath();

// Copies the built program into a folder under the given file name; returns
// the copy's path, empty when the copy failed.
std::string CopySetupInto(const std::string& folder, const std::string& name);

// Starts the program with the given text after its quoted path, presses OK in
// its message box and waits for it to end. A program that shows no box or
// does not end in time is killed. `whileBoxShows`, when given, is called with
// the process's ID while the box is up, before it is answered.
SetupRun RunSetup(const std::string& exePath, const std::string& arguments = "",
                  const std::function<void(DWORD processId)>& whileBoxShows = nullptr);

// Success when the run showed this message (the report's fixed first part) with
// an OK button only and ended by itself with the exit code given.
::testing::AssertionResult Reported(const SetupRun& run, const char* message, DWORD exitCode = 0);
