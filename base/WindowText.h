#pragma once
// The text of a window or control, whole, however long it is.
#include <windows.h>

#include <string>

std::string WindowText(HWND window);
