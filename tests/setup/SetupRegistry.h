#pragma once
// The registry as the setup tests see it: the keys OrvaneSetup writes or
// removes, small read and write helpers, and a fixture that starts and ends
// every test with none of those keys present.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

extern const char kUninstallKey[];
extern const char kApplicationsKey[]; // under HKEY_LOCAL_MACHINE
extern const char kMakerKey[];        // under HKEY_CURRENT_USER
extern const char kSettingsKey[];     // under HKEY_CURRENT_USER

extern const char kInstalledMessage[];
extern const char kNotInstalledMessage[];
extern const char kUninstalledMessage[];

bool KeyExists(HKEY root, const std::string& path);
// The data of a REG_SZ value; false when it is missing or of another type.
bool ReadString(HKEY root, const std::string& path, const char* valueName, std::string* data);
DWORD ValueCount(HKEY root, const std::string& path);
bool WriteString(HKEY root, const std::string& path, const char* valueName,
                 const std::string& data);
// A key that lives only until the registry is unloaded. The registry refuses it
// any subkey that would outlive it.
bool CreateVolatileKey(HKEY root, const std::string& path);

// A subkey that RegDeleteKeyA can never remove: a symbolic link to a key that
// does not exist (deleting follows the link and finds nothing). The test
// removes it again through the link itself.
class DanglingLink {
public:
    DanglingLink(HKEY root, const std::string& path);
    ~DanglingLink();
    DanglingLink(const DanglingLink&) = delete;
    DanglingLink& operator=(const DanglingLink&) = delete;
    bool Created() const { return created_; }

private:
    HKEY root_;
    std::string path_;
    bool created_ = false;
};

// Expects the five registration values for the given setup program and the
// main program beside it in folder, and no other values.
void ExpectRegisteredFor(const std::string& setupPath, const std::string& folder);
// Expects none of the keys the program writes, nor the settings.
void ExpectNoRegistrationAndNoSettings();

// Removes every key the program may touch before and after each test.
class OrvaneSetupTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveAllTouchedKeys(); }
    void TearDown() override { RemoveAllTouchedKeys(); }
    static void RemoveAllTouchedKeys();
};
