#pragma once
// An open registry key that closes itself. Open, Create and the setters tell
// whether they worked; Status() keeps the registry's code of the last of them.
#include <windows.h>

#include <string>
#include <vector>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key with the given rights.
    bool Open(HKEY parent, const char* path, REGSAM access);
    // Opens the key with full access, creating it (not volatile) when missing.
    bool Create(HKEY parent, const char* path);
    void Close();

    HKEY Handle() const { return key_; }
    LONG Status() const { return status_; }

    // Sets a REG_SZ value; a null name is the key's default value.
    bool SetString(const char* valueName, const std::string& data);
    // Sets a REG_DWORD value of 1.
    bool SetFlag(const char* valueName);
    bool HasSubkeys() const;
    // Names of the direct subkeys as they are now.
    std::vector<std::string> SubkeyNames() const;

private:
    bool Record(LONG status);

    HKEY key_ = nullptr;
    LONG status_ = ERROR_SUCCESS;
};
