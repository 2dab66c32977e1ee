#pragma once
// The system's open and save dialogs, reached by loading the common dialog
// library by name when a command runs; a dialog that cannot be shown leaves the
// command without effect.
#include <windows.h>
#include <commdlg.h>

#include <string>

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    HWND owner = nullptr;
    std::string filter; // pairs of display text and pattern, each ended by a NUL
    std::string title;
    std::string defaultExtension;
    std::string initialFolder; // empty: the dialog's own choice
    DWORD flags = 0;
};

// Shows the dialog with `path` preset (260 characters at most); true with the
// chosen path in `path` when the user confirmed it and it has an exact ANSI
// form (otherwise it is refused with a message and `path` is left alone).
bool AskFileName(FileDialogKind kind, const FileDialogRequest& request, std::string& path);
