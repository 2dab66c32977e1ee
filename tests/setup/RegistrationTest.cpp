// Registration: the five values point at the folder the program runs from.
#include "SetupProcess.h"
#include "SetupRegistry.h"
#include "TempDir.h"
#include "TestFiles.h"

namespace {

// The folder of the built program.
std::string BuiltSetupFolder() {
    const std::string name = "\\OrvaneSetup.exe";
    std::string path = BuiltSetupPath();
    return path.substr(0, path.size() - name.size());
}

} // namespace

TEST_F(OrvaneSetupTest, RegistersFromAFolderWithBlanksAndDoubleByteNames) {
    TempDir dir;
    // 表, ソ and 能 end in the byte of a backslash; in the program's own name
    // they come after the last real one.
    const std::string folder = dir / "表ソ能 フォルダ";
    ASSERT_TRUE(MakeFolder(folder));
    const std::string setup = CopySetupInto(folder, "登録表.exe");
    ASSERT_FALSE(setup.empty());

    const SetupRun run = RunSetup(setup);
    EXPECT_TRUE(Reported(run, kInstalledMessage));
    // The report names the folder the programs stay in, double-byte names whole.
    EXPECT_EQ(folder, run.text.substr(run.text.rfind('\n') + 1));
    ExpectRegisteredFor(setup, folder);
}

TEST_F(OrvaneSetupTest, RegisteringTwiceLeavesTheSameValues) {
    EXPECT_TRUE(Reported(RunSetup(BuiltSetupPath()), kInstalledMessage));
    ExpectRegisteredFor(BuiltSetupPath(), BuiltSetupFolder());
    EXPECT_TRUE(Reported(RunSetup(BuiltSetupPath()), kInstalledMessage));
    ExpectRegisteredFor(BuiltSetupPath(), BuiltSetupFolder());
}

TEST_F(OrvaneSetupTest, MovedProgramPointsEverythingToItsNewFolder) {
    EXPECT_TRUE(Reported(RunSetup(BuiltSetupPath()), kInstalledMessage));
    TempDir dir;
    const std::string setup = CopySetupInto(dir.Path(), "OrvaneSetup.exe");
    ASSERT_FALSE(setup.empty());

    EXPECT_TRUE(Reported(RunSetup(setup), kInstalledMessage));
    ExpectRegisteredFor(setup, dir.Path());
}
