#include "setup/Registration.h"

#include "setup/ProgramPaths.h"
#include "setup/RegistryKey.h"

#include <vector>

namespace {

struct StringValue {
    HKEY root;
    const char* key;
    const char* name; // null: the key's default value
    std::string data;
};

// In the order they are written.
std::vector<StringValue> RegistrationValues(const std::string& setupPath) {
    const char* uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                               "{3B7E2C40-5D19-4A8E-9F26-C81D07E4B55A}";
    const std::string mainProgram = MainProgramPathBeside(setupPath);
    return {
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName", "フォルダ同期ツール　Orvane"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString", "\"" + setupPath + "\" -uninst"},
        {HKEY_CLASSES_ROOT, ".orvane", nullptr, "Orvane.Document"},
        {HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\open\\command", nullptr,
         "\"" + mainProgram + "\" \"%1\""},
        // The main program's second icon, the one made for job files.
        {HKEY_CLASSES_ROOT, "Orvane.Document\\DefaultIcon", nullptr, mainProgram + ",1"},
    };
}

} // namespace

void Register(const std::string& setupPath) {
    for (const StringValue& value : RegistrationValues(setupPath)) {
        RegistryKey key;
        if (key.Create(value.root, value.key))
            key.SetString(value.name, value.data);
    }
}
