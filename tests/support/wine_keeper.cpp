// Keeps Wine's desktop process alive between test processes: without a live
// window owner every short test process pays the desktop's start-up again.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "OrvaneTestKeeper";
    RegisterClassA(&wc);
    CreateWindowA("OrvaneTestKeeper", "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, instance,
                  nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
