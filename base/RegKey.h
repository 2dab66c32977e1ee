#pragma once
// An open registry key that closes itself. Every call returns whether it worked;
// the registry's own status code of the last failure is kept in LastStatus().
#include <windows.h>

#include <string>
#include <vector>

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens an existing key.
    bool Open(HKEY parent, const char* subKey, REGSAM access = KEY_READ) {
        Close();
        HKEY opened = nullptr;
        if (!Check(RegOpenKeyExA(parent, subKey, 0, access, &opened)))
            return false;
        key_ = opened;
        return true;
    }

    // Opens a key, creating it and any missing keys above it.
    bool Create(HKEY parent, const char* subKey, REGSAM access = KEY_READ | KEY_WRITE) {
        Close();
        HKEY created = nullptr;
        if (!Check(RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                   nullptr, &created, nullptr)))
            return false;
        key_ = created;
        return true;
    }

    void Close() {
        if (key_)
            RegCloseKey(key_);
        key_ = nullptr;
    }

    LONG LastStatus() const { return lastStatus_; }

    // False when the value is missing or is not a REG_DWORD.
    bool QueryDword(const char* name, DWORD& value) {
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        if (!Check(RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                                    &size)))
            return false;
        if (type != REG_DWORD || size != sizeof data) {
            lastStatus_ = ERROR_INVALID_DATA;
            return false;
        }
        value = data;
        return true;
    }

    // False when the value is missing or is not a REG_SZ. The stored bytes need not
    // end in a zero; the text ends at the first zero either way.
    bool QueryString(const char* name, std::string& value) {
        DWORD type = 0;
        DWORD size = 0;
        if (!Check(RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size)))
            return false;
        if (type != REG_SZ) {
            lastStatus_ = ERROR_INVALID_DATA;
            return false;
        }
        std::vector<char> buffer(size + 1, '\0');
        if (!Check(RegQueryValueExA(key_, name, nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &size)))
            return false;
        value = buffer.data();
        return true;
    }

    bool SetDword(const char* name, DWORD value) {
        return Check(RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                    sizeof value));
    }

    bool SetString(const char* name, const std::string& value) {
        return Check(RegSetValueExA(key_, name, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)));
    }

    bool DeleteValue(const char* name) { return Check(RegDeleteValueA(key_, name)); }

    // Removes a subkey that has no subkeys of its own.
    bool DeleteSubKey(const char* name) { return Check(RegDeleteKeyA(key_, name)); }

private:
    bool Check(LONG status) {
        lastStatus_ = status;
        return status == ERROR_SUCCESS;
    }

    HKEY key_ = nullptr;
    LONG lastStatus_ = ERROR_SUCCESS;
};
