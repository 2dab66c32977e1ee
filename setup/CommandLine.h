#pragma once
// Reading OrvaneSetup's command line: the only question it answers is whether
// the user asked for unregistration.

// The text after the program name and the blanks that follow it. Trailing
// blanks stay part of the text.
const char* ArgumentText(const char* commandLine);

// True only when the argument text is exactly "-uninst", ignoring ASCII case.
bool IsUninstallRequest(const char* argumentText);
