// The control case: a program that leaves the DLL search as the system sets
// it and makes one window, which has the system load its theming library by
// name, as the first window of either shipped program does.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    DestroyWindow(window);
    return 0;
}
