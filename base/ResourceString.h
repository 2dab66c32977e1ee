#pragma once
// Texts from the program's string table.
#include <windows.h>

#include <string>

// The string resource `id` of the program's own module; empty when there is none.
std::string LoadResourceString(UINT id);
