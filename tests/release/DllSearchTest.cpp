// A DLL planted in the folder a program is started from (a download folder),
// under the name of uxtheme.dll: the theming library that user32 and comctl32
// load by name once a program makes windows. The shipped programs, copied from
// the unpacked release beside it, take the system's copy; a program that
// leaves the DLL search as it is takes the planted one.
#include "SetupProcess.h"
#include "SetupRegistry.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <tlhelp32.h>

namespace {

const char kUnpacked[] = "C:\\OrvaneRelease\\Orvane";
const char kPlantedName[] = "uxtheme.dll";
const DWORD kTimeLimitMs = 20000;

std::string WindowsPathOf(const char* buildPath) {
    std::string path = std::string("Z:") + buildPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string FileNameOf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// Wine takes its own build of a system library even when the search finds
// another copy first; Windows takes the copy it finds. Wine's per-program load
// order makes it take a found copy too, for these programs only.
class TakeFoundCopies {
public:
    explicit TakeFoundCopies(const std::vector<std::string>& programs) : programs_(programs) {
        for (const std::string& program : programs_)
            if (!WriteString(HKEY_CURRENT_USER, OverridesKey(program), "uxtheme", "native,builtin"))
                ADD_FAILURE() << "cannot set Wine's load order for " << program;
    }
    ~TakeFoundCopies() {
        for (const std::string& program : programs_) {
            RegDeleteKeyA(HKEY_CURRENT_USER, OverridesKey(program).c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + program).c_str());
        }
    }
    TakeFoundCopies(const TakeFoundCopies&) = delete;
    TakeFoundCopies& operator=(const TakeFoundCopies&) = delete;

private:
    static std::string OverridesKey(const std::string& program) {
        return "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
    }
    std::vector<std::string> programs_;
};

// The full path the process has the named DLL loaded from; empty when it has
// none loaded.
std::string LoadedFrom(DWORD processId, const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return "";
    std::string path;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more;
         more = Module32Next(snapshot, &module)) {
        if (lstrcmpiA(module.szModule, name) == 0) {
            path = module.szExePath;
            break;
        }
    }
    CloseHandle(snapshot);
    return path;
}

std::string SystemCopy(const char* name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

struct OwnWindow {
    DWORD processId;
    const char* title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnWindow*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->processId || !IsWindowVisible(window) ||
        lstrcmpA(title, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of the process with this title, waited for.
HWND WaitForWindow(HANDLE process, DWORD processId, const char* title) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kTimeLimitMs;) {
        OwnWindow search{processId, title};
        EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

// A program started with its path alone; killed when it is still running at
// the end of the test.
struct Process {
    PROCESS_INFORMATION info = {};
    bool Start(const std::string& exePath) {
        std::string commandLine = "\"" + exePath + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        return CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &info);
    }
    // True when it ended by itself in time.
    bool Ended() { return WaitForSingleObject(info.hProcess, kTimeLimitMs) == WAIT_OBJECT_0; }
    ~Process() {
        if (info.hProcess && WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, kTimeLimitMs);
        }
        if (info.hThread)
            CloseHandle(info.hThread);
        if (info.hProcess)
            CloseHandle(info.hProcess);
    }
};

// Registers too: the fixture removes what OrvaneSetup writes, and the settings
// Orvane keeps.
class PlantedLibrary : public OrvaneSetupTest {
protected:
    void SetUp() override {
        OrvaneSetupTest::SetUp();
        ASSERT_TRUE(CopyFileA(WindowsPathOf(PLANTED_LIBRARY).c_str(),
                              (folder / kPlantedName).c_str(), FALSE));
    }

    // A copy of the program in the folder; empty when it cannot be made.
    std::string CopyIn(const std::string& program) {
        std::string copy = folder / FileNameOf(program);
        return CopyFileA(program.c_str(), copy.c_str(), FALSE) ? copy : "";
    }
    bool PlantedCodeRan() { return PathExists(folder / (std::string(kPlantedName) + ".ran")); }

    TempDir folder;
    TakeFoundCopies foundCopies{
        {"Orvane.exe", "OrvaneSetup.exe", FileNameOf(WindowsPathOf(UNRESTRICTED_PROGRAM))}};
};

} // namespace

TEST_F(PlantedLibrary, AProgramThatKeepsTheUsualSearchLoadsIt) {
    const std::string program = CopyIn(WindowsPathOf(UNRESTRICTED_PROGRAM));
    ASSERT_FALSE(program.empty());
    Process process;
    ASSERT_TRUE(process.Start(program));
    EXPECT_TRUE(process.Ended());
    EXPECT_TRUE(PlantedCodeRan());
}

TEST_F(PlantedLibrary, OrvaneStartsWithTheSystemsCopy) {
    const std::string orvane = CopyIn(std::string(kUnpacked) + "\\Orvane.exe");
    ASSERT_FALSE(orvane.empty());
    Process process;
    ASSERT_TRUE(process.Start(orvane));
    HWND dialog =
        WaitForWindow(process.info.hProcess, process.info.dwProcessId, "フォルダ同期オプション");
    EXPECT_FALSE(PlantedCodeRan());
    ASSERT_NE(nullptr, dialog) << "no settings dialog";
    // Themed controls are up: the library is loaded, and from the system.
    EXPECT_EQ(0, lstrcmpiA(SystemCopy(kPlantedName).c_str(),
                           LoadedFrom(process.info.dwProcessId, kPlantedName).c_str()))
        << LoadedFrom(process.info.dwProcessId, kPlantedName);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (HWND main = WaitForWindow(process.info.hProcess, process.info.dwProcessId, "Orvane"))
        PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process.Ended());
}

TEST_F(PlantedLibrary, OrvaneSetupRegistersWithTheSystemsCopy) {
    const std::string setup = CopyIn(std::string(kUnpacked) + "\\OrvaneSetup.exe");
    ASSERT_FALSE(setup.empty());
    std::string loadedFrom;
    const SetupRun run = RunSetup(
        setup, "", [&](DWORD processId) { loadedFrom = LoadedFrom(processId, kPlantedName); });
    EXPECT_TRUE(Reported(run, kInstalledMessage));
    EXPECT_EQ(0, lstrcmpiA(SystemCopy(kPlantedName).c_str(), loadedFrom.c_str())) << loadedFrom;
    EXPECT_FALSE(PlantedCodeRan());
}
