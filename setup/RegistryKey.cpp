#include "setup/RegistryKey.h"

bool RegistryKey::Record(LONG status) {
    status_ = status;
    return status == ERROR_SUCCESS;
}

bool RegistryKey::Open(HKEY parent, const char* path, REGSAM access) {
    Close();
    return Record(RegOpenKeyExA(parent, path, 0, access, &key_));
}

bool RegistryKey::Create(HKEY parent, const char* path) {
    Close();
    return Record(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key_, nullptr));
}

void RegistryKey::Close() {
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
}

bool RegistryKey::SetString(const char* valueName, const std::string& data) {
    return Record(RegSetValueExA(key_, valueName, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1)));
}

bool RegistryKey::SetFlag(const char* valueName) {
    const DWORD one = 1;
    return Record(RegSetValueExA(key_, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                                 sizeof one));
}

bool RegistryKey::HasSubkeys() const {
    DWORD count = 0;
    if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return count > 0;
}

std::vector<std::string> RegistryKey::SubkeyNames() const {
    std::vector<std::string> names;
    DWORD count = 0;
    if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    // A key name holds up to 255 characters; as Shift-JIS that is up to twice
    // as many bytes.
    char name[512];
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}
