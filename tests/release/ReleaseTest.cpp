// The unpacked release: OrvaneSetup registers the folder it was unpacked to,
// the shell then opens a job file with that Orvane.exe, and a job runs
// unattended from there.
#include "SetupProcess.h"
#include "SetupRegistry.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <shellapi.h>

namespace {

const char kUnpacked[] = "C:\\OrvaneRelease\\Orvane";
const DWORD kTimeLimitMs = 30000;

struct Handle {
    HANDLE h = nullptr;
    ~Handle() {
        if (h)
            CloseHandle(h);
    }
};

struct FoundWindow {
    const char* title;
    HWND window = nullptr;
};

BOOL CALLBACK MatchVisibleTitle(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<FoundWindow*>(param);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && lstrcmpA(title, found->title) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(const char* title) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kTimeLimitMs; Sleep(50)) {
        FoundWindow found{title};
        EnumWindows(MatchVisibleTitle, reinterpret_cast<LPARAM>(&found));
        if (found.window)
            return found.window;
    }
    return nullptr;
}

std::string ImageOf(HANDLE process) {
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return QueryFullProcessImageNameA(process, 0, path, &size) ? path : "";
}

bool WriteJob(const std::string& job, const std::string& proc, const std::string& ref) {
    // Update the reference folder, no deletions.
    const char* values[][2] = {
        {"Mode", "2"}, {"BaseDir", proc.c_str()}, {"TargetDir", ref.c_str()}, {"NotDel", "0"}};
    for (const auto& value : values) {
        if (!WritePrivateProfileStringA("Settings", value[0], value[1], job.c_str()))
            return false;
    }
    return true;
}

} // namespace

TEST_F(OrvaneSetupTest, UnpackedReleaseRegistersOpensJobsAndRunsThem) {
    const std::string folder = kUnpacked;
    for (const char* name :
         {"Orvane.exe", "OrvaneSetup.exe", "Orvane.chm", "readme.txt", "license.txt"})
        ASSERT_TRUE(PathExists(folder + "\\" + name)) << name;
    const std::string setup = folder + "\\OrvaneSetup.exe";
    const std::string orvane = folder + "\\Orvane.exe";
    EXPECT_TRUE(Reported(RunSetup(setup), kInstalledMessage));
    ExpectRegisteredFor(setup, folder);

    TempDir dir;
    const std::string proc = dir / "処理", ref = dir / "参照", job = dir / "表ソ.orvane";
    ASSERT_TRUE(MakeFolder(proc) && MakeFolder(ref));
    ASSERT_TRUE(WriteFileBytes(proc + "\\新しい.txt", "data"));
    ASSERT_TRUE(WriteJob(job, proc, ref));

    // Opening the job file through the shell starts the unpacked program with
    // the settings dialog for that job.
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS;
    open.lpFile = job.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&open));
    Handle shellProcess{open.hProcess};
    HWND dialog = WaitForWindow("フォルダ同期オプション - 表ソ.orvane");
    ASSERT_NE(nullptr, dialog) << "no settings dialog for the opened job";
    DWORD pid = 0;
    GetWindowThreadProcessId(dialog, &pid);
    Handle started{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE,
                               FALSE, pid)};
    ASSERT_NE(nullptr, started.h);
    EXPECT_EQ(0, lstrcmpiA(orvane.c_str(), ImageOf(started.h).c_str())) << ImageOf(started.h);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (HWND main = WaitForWindow("Orvane"))
        PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.h, kTimeLimitMs) != WAIT_OBJECT_0) {
        TerminateProcess(started.h, 1);
        ADD_FAILURE() << "the program opened from the shell did not close";
    }

    // The same job unattended, from the unpacked copy.
    std::string commandLine = "\"" + orvane + "\" -s \"" + job + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA(orvane.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &info));
    Handle thread{info.hThread}, run{info.hProcess};
    if (WaitForSingleObject(run.h, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(run.h, 1);
        FAIL() << "the unattended run did not end";
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(run.h, &exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ("data", ReadFileBytes(ref + "\\新しい.txt"));
}
