// Registration: the five values point at the folder the program runs from, and
// a key that cannot be written is reported.
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

// The system's text for a status code, without its line break.
std::string SystemReason(DWORD status) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, status, 0,
                   text, sizeof text, nullptr);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    return reason;
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

TEST_F(OrvaneSetupTest, KeysThatCannotBeWrittenAreNamedWithTheSystemsReason) {
    // Below a volatile key the registry refuses every subkey that would outlive
    // it: the open command and the icon of the document type cannot be written.
    ASSERT_TRUE(CreateVolatileKey(HKEY_CLASSES_ROOT, "Orvane.Document"));
    const std::string reason = SystemReason(ERROR_CHILD_MUST_BE_VOLATILE);
    ASSERT_FALSE(reason.empty());

    const SetupRun run = RunSetup(BuiltSetupPath());
    EXPECT_TRUE(Reported(run, kNotInstalledMessage, 1));
    for (const char* key :
         {"Orvane.Document\\shell\\open\\command", "Orvane.Document\\DefaultIcon"})
        EXPECT_NE(std::string::npos,
                  run.text.find(std::string("\nHKEY_CLASSES_ROOT\\") + key + "\n理由: " + reason))
            << key << " in " << run.text;
    // Keys that were written are not named, and hold their values.
    EXPECT_EQ(std::string::npos, run.text.find(".orvane")) << run.text;
    EXPECT_EQ(std::string::npos, run.text.find("HKEY_LOCAL_MACHINE")) << run.text;
    std::string name;
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", &name));
}
