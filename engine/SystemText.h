#pragma once
// The system's own message text for a Win32 error code.
#include <windows.h>

#include <string>

// The text as the system gives it, with its line break; empty for code 0 or
// a code the system has no text for.
std::string LastErrorText(DWORD errorCode);
// The same for the thread's last error code; read it right after the failing call.
std::string LastErrorText();
