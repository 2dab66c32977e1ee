// Only the exact text "-uninst", in any ASCII case, unregisters; everything
// else registers. The program runs from a double-byte folder with a blank so
// that its quoted path must be stepped over correctly.
#include "SetupProcess.h"
#include "SetupRegistry.h"
#include "TempDir.h"
#include "TestFiles.h"

TEST_F(OrvaneSetupTest, OnlyTheUninstallSwitchUnregisters) {
    const struct {
        const char* arguments;
        bool unregisters;
    } cases[] = {
        {"", false},           {"-uninst", true},   {"-UNINST", true},
        {"-UnInSt", true},     {"-uninst ", false}, {"-uninst x", false},
        {"-uninstall", false}, {"/uninst", false},  {"－ＵＮＩＮＳＴ", false},
    };
    TempDir dir;
    const std::string folder = dir / "表ソ 能";
    ASSERT_TRUE(MakeFolder(folder));
    const std::string setup = CopySetupInto(folder, "OrvaneSetup.exe");
    ASSERT_FALSE(setup.empty());
    const std::string pos = std::string(kSettingsKey) + "\\Pos";

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("arguments: \"") + c.arguments + "\"");
        RemoveAllTouchedKeys();
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "old"));
        ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, pos, "Flags", "0"));

        SetupRun run = RunSetup(setup, c.arguments);
        if (c.unregisters) {
            EXPECT_TRUE(Reported(run, kUninstalledMessage));
            ExpectNoRegistrationAndNoSettings();
        } else {
            EXPECT_TRUE(Reported(run, kInstalledMessage));
            ExpectRegisteredFor(setup, folder);
            EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, pos));
        }
    }
}
