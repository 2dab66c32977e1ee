#include "setup/Registration.h"

#include "setup/ProgramPaths.h"
#include "setup/RegistryKey.h"

#include "OrvaneVersion.h"

namespace {

struct RegistryValue {
    HKEY root;
    const char* key;
    const char* name;    // null: the key's default value
    std::string data;    // a REG_SZ value, unless it is a flag
    bool isFlag = false; // a REG_DWORD value of 1
};

// In the order they are written.
std::vector<RegistryValue> RegistrationValues(const std::string& setupPath) {
    const char* uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                               "{3B7E2C40-5D19-4A8E-9F26-C81D07E4B55A}";
    const std::string mainProgram = MainProgramPathBeside(setupPath);
    const std::string folder = ProgramFolder(setupPath);
    return {
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName", "フォルダ同期ツール　Orvane"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString", "\"" + setupPath + "\" -uninst"},
        {HKEY_CLASSES_ROOT, ".orvane", nullptr, "Orvane.Document"},
        {HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\open\\command", nullptr,
         "\"" + mainProgram + "\" \"%1\""},
        // The main program's second icon, the one made for job files.
        {HKEY_CLASSES_ROOT, "Orvane.Document\\DefaultIcon", nullptr, mainProgram + ",1"},
        // What the list of installed programs shows beside the name; there is
        // nothing to change or repair, since the programs run where they lie.
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayIcon", mainProgram + ",0"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "DisplayVersion", ORVANE_VERSION_TEXT},
        {HKEY_LOCAL_MACHINE, uninstallKey, "Publisher", "Quorlin"},
        {HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation", folder},
        {HKEY_LOCAL_MACHINE, uninstallKey, "NoModify", "", true},
        {HKEY_LOCAL_MACHINE, uninstallKey, "NoRepair", "", true},
        // The type name Explorer shows for job files.
        {HKEY_CLASSES_ROOT, "Orvane.Document", nullptr, "Orvane 同期設定ファイル"},
    };
}

std::string FullKeyName(HKEY root, const char* key) {
    return std::string(root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE\\"
                                                  : "HKEY_CLASSES_ROOT\\") +
           key;
}

void AddFailure(std::vector<RegistrationFailure>& failures, const std::string& key, LONG status) {
    for (const RegistrationFailure& failure : failures)
        if (failure.key == key)
            return; // one line per key, with its first reason
    failures.push_back({key, status});
}

} // namespace

std::vector<RegistrationFailure> Register(const std::string& setupPath) {
    std::vector<RegistrationFailure> failures;
    for (const RegistryValue& value : RegistrationValues(setupPath)) {
        RegistryKey key;
        bool written =
            key.Create(value.root, value.key) &&
            (value.isFlag ? key.SetFlag(value.name) : key.SetString(value.name, value.data));
        if (!written)
            AddFailure(failures, FullKeyName(value.root, value.key), key.Status());
    }
    return failures;
}
