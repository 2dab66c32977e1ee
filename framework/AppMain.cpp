// The program's entry point: the one application object starts, runs its
// message loop and ends.
#include "base/DllSearch.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow) {
    // Before anything can load a library by name.
    RestrictDllSearchToSystem();
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->m_lpCmdLine = AfxCommandLineTail();
    app->m_nCmdShow = cmdShow;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
