#include "ui/CommonDialogs.h"

#include <cstring>

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

using FileNameCall = BOOL(WINAPI*)(LPOPENFILENAMEA);

} // namespace

bool AskFileName(FileDialogKind kind, const FileDialogRequest& request, std::string& path) {
    LoadedLibrary library("Comdlg32.DLL");
    if (!library)
        return false;
    auto call = reinterpret_cast<FileNameCall>(reinterpret_cast<void (*)()>(
        library.Find(kind == FileDialogKind::Open ? "GetOpenFileNameA" : "GetSaveFileNameA")));
    if (call == nullptr)
        return false;

    char buffer[MAX_PATH] = {};
    lstrcpynA(buffer, path.c_str(), sizeof buffer);
    std::string filter = request.filter + '\0'; // the list ends with an empty entry
    OPENFILENAMEA dialog = {};
    // The first version of the structure, without the later extension fields.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = sizeof buffer;
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt =
        request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    dialog.lpstrInitialDir =
        request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.Flags = request.flags;
    if (call(&dialog) != 1)
        return false;
    path = buffer;
    return true;
}
