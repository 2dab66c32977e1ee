// Unregistration: the registration goes, and so do Orvane's settings, however
// they are shaped; nothing of another program is touched.
#include "SetupProcess.h"
#include "SetupRegistry.h"

namespace {

const std::string kSettings = kSettingsKey;

SetupRun Uninstall() {
    return RunSetup(BuiltSetupPath(), "-uninst");
}

// The settings as the main program leaves them: values in keys one level down.
bool WriteUsualSettings() {
    return WriteString(HKEY_CURRENT_USER, kSettings + "\\Recent File List", "File1",
                       "C:\\jobs\\表ソ能.orvane") &&
           WriteString(HKEY_CURRENT_USER, kSettings + "\\Pos", "Flags", "0") &&
           WriteString(HKEY_CURRENT_USER, kSettings + "\\Bars-Summary", "Bars", "2");
}

} // namespace

TEST_F(OrvaneSetupTest, UnregisteringRemovesRegistrationAndSettings) {
    EXPECT_TRUE(Reported(RunSetup(BuiltSetupPath()), kInstalledMessage));
    ASSERT_TRUE(WriteUsualSettings());

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    ExpectNoRegistrationAndNoSettings();
    // Only our own entry leaves the list of installed programs.
    EXPECT_TRUE(
        KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
}

TEST_F(OrvaneSetupTest, UnregisteringWhenNothingIsRegisteredStillReports) {
    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    ExpectNoRegistrationAndNoSettings();
}

TEST_F(OrvaneSetupTest, AnotherProgramOfTheMakerKeepsItsKey) {
    ASSERT_TRUE(WriteUsualSettings());
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, std::string(kMakerKey) + "\\Other", "Kept", "yes"));

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
    std::string data;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, std::string(kMakerKey) + "\\Other", "Kept", &data));
    EXPECT_EQ("yes", data);
}

TEST_F(OrvaneSetupTest, MakerKeyWithOnlyValuesIsRemoved) {
    ASSERT_TRUE(WriteUsualSettings());
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kMakerKey, "Owner", "x"));

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMakerKey));
}

TEST_F(OrvaneSetupTest, SettingsSubkeysAtAnyDepthAreRemoved) {
    ASSERT_TRUE(WriteUsualSettings());
    // Double-byte names whose second byte is a backslash must stay one name.
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kSettings + "\\表\\ソ能\\Deep", "V", "1"));
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kSettings + "\\Pos\\Two\\Three\\Four", "V", "1"));

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMakerKey));
}

TEST_F(OrvaneSetupTest, ASettingsSubkeyThatCannotBeDeletedEndsTheRemoval) {
    ASSERT_TRUE(WriteUsualSettings());
    DanglingLink stuck(HKEY_CURRENT_USER, kSettings + "\\Stuck");
    ASSERT_TRUE(stuck.Created());

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings + "\\Pos"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettings + "\\Recent File List"));
    // The stuck subkey holds its parents in place.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMakerKey));
}

TEST_F(OrvaneSetupTest, ShellApplicationsKeysAreRemovedWhenPresent) {
    EXPECT_TRUE(Reported(RunSetup(BuiltSetupPath()), kInstalledMessage));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE,
                            std::string(kApplicationsKey) + "\\shell\\open\\command", nullptr,
                            "\"C:\\Orvane\\Orvane.exe\" \"%1\""));

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    ExpectNoRegistrationAndNoSettings();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Applications"));
}

TEST_F(OrvaneSetupTest, RegistrationKeysWithForeignSubkeysStay) {
    EXPECT_TRUE(Reported(RunSetup(BuiltSetupPath()), kInstalledMessage));
    // Another tool added its own verb to our document type.
    ASSERT_TRUE(WriteString(HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\edit\\command", nullptr,
                            "notepad.exe \"%1\""));

    EXPECT_TRUE(Reported(Uninstall(), kUninstalledMessage));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\open"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Orvane.Document\\DefaultIcon"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\edit\\command"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".orvane"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}
