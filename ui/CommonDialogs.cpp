#include "ui/CommonDialogs.h"

#include "base/AnsiText.h"
#include "ui/SystemPath.h"

namespace {

// A library loaded for one scope.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* name) : module_(LoadLibraryA(name)) {}
    ~LoadedLibrary() {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    explicit operator bool() const { return module_ != nullptr; }
    FARPROC Find(const char* name) const { return GetProcAddress(module_, name); }

private:
    HMODULE module_;
};

using FileNameCall = BOOL(WINAPI*)(LPOPENFILENAMEW);

} // namespace

bool AskFileName(FileDialogKind kind, const FileDialogRequest& request, std::string& path) {
    LoadedLibrary library("Comdlg32.DLL");
    if (!library)
        return false;
    // The wide dialogs: the ANSI ones give a file outside the code page under a
    // look-alike name, which would then be read or written instead.
    auto call = reinterpret_cast<FileNameCall>(reinterpret_cast<void (*)()>(
        library.Find(kind == FileDialogKind::Open ? "GetOpenFileNameW" : "GetSaveFileNameW")));
    if (call == nullptr)
        return false;

    wchar_t buffer[MAX_PATH] = {};
    lstrcpynW(buffer, AnsiToWide(path).c_str(), MAX_PATH);
    // The list ends with an empty entry.
    std::wstring filter = AnsiToWide(request.filter + '\0');
    std::wstring title = AnsiToWide(request.title);
    std::wstring defaultExtension = AnsiToWide(request.defaultExtension);
    std::wstring initialFolder = AnsiToWide(request.initialFolder);
    OPENFILENAMEW dialog = {};
    // The first version of the structure, without the later extension fields.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.Flags = request.flags;
    if (call(&dialog) != 1)
        return false;
    return TakeSystemPath(request.owner, buffer, path);
}
