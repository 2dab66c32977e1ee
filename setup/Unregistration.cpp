#include "setup/Unregistration.h"

#include "setup/RegistryKey.h"

#include <string>

namespace {

struct KeyPath {
    HKEY root;
    const char* path;
};

// Children before parents: each key goes only once nothing is left below it,
// so a key that another program also uses keeps that program's subkeys.
// The "Applications" keys are the shell's, made when a user picks Orvane to
// open a file with.
const KeyPath kRegistrationKeys[] = {
    {HKEY_CLASSES_ROOT, "Orvane.Document\\DefaultIcon"},
    {HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\open\\command"},
    {HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\open"},
    {HKEY_CLASSES_ROOT, "Orvane.Document\\shell"},
    {HKEY_CLASSES_ROOT, "Orvane.Document"},
    {HKEY_CLASSES_ROOT, ".orvane"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Applications\\Orvane.exe\\shell\\open\\command"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Applications\\Orvane.exe\\shell\\open"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Applications\\Orvane.exe\\shell"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Applications\\Orvane.exe"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                         "{3B7E2C40-5D19-4A8E-9F26-C81D07E4B55A}"},
};

const char kMakerKey[] = "Software\\Quorlin";
const char kSettingsKey[] = "Software\\Quorlin\\Orvane";

bool DeleteKeyWithoutSubkeys(HKEY root, const char* path) {
    // RegDeleteKeyA refuses a key that still has subkeys.
    return RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

// Deletes the key and everything below it, as far as it can. Returns how many
// keys were deleted.
int DeleteTree(HKEY parent, const std::string& name) {
    int deleted = 0;
    {
        RegistryKey key;
        if (key.Open(parent, name.c_str(), KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE)) {
            for (const std::string& child : key.SubkeyNames())
                deleted += DeleteTree(key.Handle(), child);
        }
    }
    if (DeleteKeyWithoutSubkeys(parent, name.c_str()))
        ++deleted;
    return deleted;
}

void RemoveSettingsKey() {
    // A subkey that refuses deletion keeps the settings key in place; a pass
    // that deletes nothing ends the work instead of trying forever.
    for (;;) {
        RegistryKey settings;
        if (!settings.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_QUERY_VALUE))
            return;
        settings.Close();
        if (DeleteTree(HKEY_CURRENT_USER, kSettingsKey) == 0)
            return;
    }
}

void RemoveMakerKeyIfEmpty() {
    // Other programs of the same maker may keep their settings beside ours.
    bool empty = false;
    {
        RegistryKey maker;
        if (!maker.Open(HKEY_CURRENT_USER, kMakerKey, KEY_QUERY_VALUE))
            return;
        empty = !maker.HasSubkeys();
    }
    if (empty)
        DeleteKeyWithoutSubkeys(HKEY_CURRENT_USER, kMakerKey);
}

} // namespace

void Unregister() {
    for (const KeyPath& key : kRegistrationKeys)
        DeleteKeyWithoutSubkeys(key.root, key.path);
    RemoveSettingsKey();
    RemoveMakerKeyIfEmpty();
}
