// Keeps Wine's desktop process alive between test processes: without a live
// window owner every short test process pays the desktop's start-up again.
//
// It is also the first Wine process of a test run, so Wine's session processes
// (services, the desktop) start from it and inherit its detached output rather
// than a test's pipe. When they are up it creates the file named on its command
// line; the harness waits for that file before any test starts.
#include <windows.h>

#include <string>

namespace {

// Creating a top-level window needs the desktop process; opening the service
// manager needs services.exe. Both calls return only when those answer.
bool WineSessionIsUp(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "OrvaneTestKeeper";
    if (RegisterClassA(&wc) == 0)
        return false;
    HWND window = CreateWindowA("OrvaneTestKeeper", "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                                instance, nullptr);
    if (window == nullptr)
        return false;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr)
        return false;
    CloseServiceHandle(manager);
    return true;
}

bool SignalReady(const char* readyFile) {
    HANDLE file = CreateFileA(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (!WineSessionIsUp(instance))
        return 1;
    std::string readyFile = commandLine;
    if (readyFile.size() >= 2 && readyFile.front() == '"' && readyFile.back() == '"')
        readyFile = readyFile.substr(1, readyFile.size() - 2);
    if (!readyFile.empty() && !SignalReady(readyFile.c_str()))
        return 2;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
