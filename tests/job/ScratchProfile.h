#pragma once
// A profile under a registry key of this test process alone, removed with
// everything below it when the test ends, so tests may run side by side.
#include <windows.h>

#include <string>

#include "framework/Profile.h"

class ScratchProfile {
public:
    static constexpr const char* kCompany = "OrvaneTests";

    ScratchProfile() : profile_("表ソ能_" + std::to_string(GetCurrentProcessId())) {
        profile_.SetRegistryKey(kCompany);
        RegDeleteTreeA(HKEY_CURRENT_USER, profile_.RegistryKeyPath().c_str());
    }
    ~ScratchProfile() {
        RegDeleteTreeA(HKEY_CURRENT_USER, profile_.RegistryKeyPath().c_str());
        // Fails, as it should, while other test processes still have keys there.
        RegDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\") + kCompany).c_str());
    }
    ScratchProfile(const ScratchProfile&) = delete;
    ScratchProfile& operator=(const ScratchProfile&) = delete;

    CProfile& Get() { return profile_; }
    // The full path of a section of this profile below HKEY_CURRENT_USER.
    std::string SectionPath(const std::string& section) const {
        return profile_.RegistryKeyPath() + "\\" + section;
    }

private:
    CProfile profile_;
};
