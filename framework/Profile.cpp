#include "framework/Profile.h"

#include "base/RegKey.h"

void CProfile::SetRegistryKey(const std::string& company) {
    keyPath_ = "Software\\" + company + "\\" + applicationName_;
}

bool CProfile::OpenSection(const char* section, SectionAccess access, RegKey& key) const {
    if (keyPath_.empty())
        return false;
    std::string path = keyPath_ + "\\" + section;
    switch (access) {
    case SectionAccess::Read:
        return key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ);
    case SectionAccess::Change:
        return key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ | KEY_WRITE);
    case SectionAccess::Create:
        return key.Create(HKEY_CURRENT_USER, path.c_str());
    }
    return false;
}

int CProfile::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
    RegKey key;
    DWORD value = 0;
    if (!OpenSection(section, SectionAccess::Read, key) || !key.QueryDword(entry, value))
        return defaultValue;
    return static_cast<int>(value);
}

bool CProfile::WriteProfileInt(const char* section, const char* entry, int value) {
    RegKey key;
    return OpenSection(section, SectionAccess::Create, key) &&
           key.SetDword(entry, static_cast<DWORD>(value));
}

std::string CProfile::GetProfileString(const char* section, const char* entry,
                                       const char* defaultValue) const {
    RegKey key;
    std::string value;
    if (!OpenSection(section, SectionAccess::Read, key) || !key.QueryString(entry, value))
        return defaultValue ? defaultValue : "";
    return value;
}

bool CProfile::WriteProfileString(const char* section, const char* entry, const char* value) {
    if (!entry) {
        RegKey application;
        if (keyPath_.empty() || !application.Open(HKEY_CURRENT_USER, keyPath_.c_str(), KEY_WRITE))
            return false;
        return application.DeleteSubKey(section);
    }
    RegKey key;
    if (!value)
        return OpenSection(section, SectionAccess::Change, key) && key.DeleteValue(entry);
    return OpenSection(section, SectionAccess::Create, key) && key.SetString(entry, value);
}
