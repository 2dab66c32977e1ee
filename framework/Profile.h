#pragma once
// The application's per-user settings in the registry, under
// HKEY_CURRENT_USER "Software\<company>\<application>\<section>", read and
// written value by value in the manner of the MFC application object.
#include <windows.h> // GetProfileInt and friends are macros there: declare after them

#include <string>
#include <utility>

class RegKey;

class CProfile {
public:
    explicit CProfile(std::string applicationName = std::string())
        : applicationName_(std::move(applicationName)) {}

    // Selects the settings key. Before this call every read gives its default
    // and every write fails.
    void SetRegistryKey(const std::string& company);
    // "Software\<company>\<application>", or empty before SetRegistryKey.
    const std::string& RegistryKeyPath() const { return keyPath_; }

    // A missing value or one of another type gives the default.
    int GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    bool WriteProfileInt(const char* section, const char* entry, int value);
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue = "") const;
    // A null value removes the entry; a null entry removes the whole section.
    bool WriteProfileString(const char* section, const char* entry, const char* value);

private:
    enum class SectionAccess { Read, Change, Create };
    bool OpenSection(const char* section, SectionAccess access, RegKey& key) const;

    std::string applicationName_;
    std::string keyPath_;
};
