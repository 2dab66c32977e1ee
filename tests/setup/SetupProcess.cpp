#include "SetupProcess.h"

namespace {

const DWORD kTimeLimitMs = 20000;
const DWORD kPollMs = 20;
const int kMessageTextId = 0xFFFF; // the static control holding a message box's text

// RAII for the two handles CreateProcessA returns.
struct ProcessHandles {
    PROCESS_INFORMATION info = {};
    ~ProcessHandles() {
        if (info.hThread)
            CloseHandle(info.hThread);
        if (info.hProcess)
            CloseHandle(info.hProcess);
    }
};

HWND FindVisibleReportBox(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, "報告")) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        // Visible means the box has finished setting up its text and buttons.
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// Polls until the box shows or the process ends, whichever comes first.
HWND WaitForReportBox(const PROCESS_INFORMATION& process) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kTimeLimitMs) {
        if (HWND box = FindVisibleReportBox(process.dwProcessId))
            return box;
        if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

BOOL CALLBACK CollectVisibleButton(HWND child, LPARAM param) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(child))
        reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

void ReadAndAnswerBox(HWND box, SetupRun& run) {
    run.boxShown = true;
    char text[1024] = {};
    GetWindowTextA(GetDlgItem(box, kMessageTextId), text, sizeof text);
    run.text = text;
    EnumChildWindows(box, CollectVisibleButton, reinterpret_cast<LPARAM>(&run.visibleButtons));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

} // namespace

std::string BuiltSetupPath() {
    // The build runs on Linux; Wine sees its files on drive Z:.
    std::string path = std::string("Z:") + ORVANE_SETUP_EXE;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string CopySetupInto(const std::string& folder, const std::string& name) {
    std::string copy = folder + "\\" + name;
    return CopyFileA(BuiltSetupPath().c_str(), copy.c_str(), FALSE) ? copy : std::string();
}

SetupRun RunSetup(const std::string& exePath, const std::string& arguments,
                  const std::function<void(DWORD processId)>& whileBoxShows) {
    SetupRun run;
    std::string commandLine = "\"" + exePath + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ProcessHandles process;
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process.info))
        return run;
    run.started = true;
    if (HWND box = WaitForReportBox(process.info)) {
        if (whileBoxShows)
            whileBoxShows(process.info.dwProcessId);
        ReadAndAnswerBox(box, run);
    }
    // Without a box the program has either ended already or hangs.
    DWORD waitMs = run.boxShown ? kTimeLimitMs : 0;
    if (WaitForSingleObject(process.info.hProcess, waitMs) == WAIT_OBJECT_0) {
        run.exited = true;
        GetExitCodeProcess(process.info.hProcess, &run.exitCode);
    } else {
        TerminateProcess(process.info.hProcess, 1);
        WaitForSingleObject(process.info.hProcess, kTimeLimitMs);
    }
    return run;
}

::testing::AssertionResult Reported(const SetupRun& run, const char* message, DWORD exitCode) {
    using ::testing::AssertionFailure;
    if (!run.started)
        return AssertionFailure() << "the program did not start";
    if (!run.boxShown)
        return AssertionFailure() << "no report box appeared within the time limit";
    // The fixed text comes first; the registration report goes on to say what
    // it registered and where.
    const std::string fixed(message);
    if (run.text.compare(0, fixed.size(), fixed) != 0 ||
        (run.text.size() > fixed.size() && run.text[fixed.size()] != '\n'))
        return AssertionFailure() << "the box says " << ::testing::PrintToString(run.text)
                                  << ", expected " << ::testing::PrintToString(message);
    if (run.visibleButtons != std::vector<int>{IDOK})
        return AssertionFailure() << "buttons other than OK alone: "
                                  << ::testing::PrintToString(run.visibleButtons);
    if (!run.exited)
        return AssertionFailure() << "the program did not end after OK";
    if (run.exitCode != exitCode)
        return AssertionFailure() << "exit code " << run.exitCode << ", expected " << exitCode;
    return ::testing::AssertionSuccess();
}
