// OrvaneSetup: without arguments it registers Orvane, with "-uninst" it
// removes the registration and Orvane's settings. It opens no window of its
// own; one message box reports the end.
#include <windows.h>

#include "setup/CommandLine.h"
#include "setup/ProgramPaths.h"
#include "setup/Registration.h"
#include "setup/Unregistration.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* message = nullptr;
    if (IsUninstallRequest(ArgumentText(GetCommandLineA()))) {
        Unregister();
        message = "レジストリ情報のアンインストールが完了しました\n"
                  "インストールしたフォルダにあるファイルを手動で削除してください";
    } else {
        Register(OwnProgramPath());
        message = "インストールが完了しました";
    }
    MessageBoxA(nullptr, message, "報告", MB_OK);
    return 0;
}
