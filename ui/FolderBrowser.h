#pragma once
// The system's folder browser.
#include <windows.h>

#include <string>

// Shows the browser owned by `owner` with `initialFolder` selected. False when the
// user cancels or picks an item that has no file-system path (a virtual folder
// such as the printers), or one whose path has no exact ANSI form (refused
// with a message); `chosen` is then left alone.
bool BrowseForFolder(HWND owner, const std::string& initialFolder, std::string& chosen);
