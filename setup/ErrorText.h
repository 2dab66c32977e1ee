#pragma once
// The system's own words for a status code, for the reports of OrvaneSetup.
#include <windows.h>

#include <string>

// The system's text for the code without its line break; "エラー コード N" when
// the system has no text for it.
std::string ErrorText(LONG status);
