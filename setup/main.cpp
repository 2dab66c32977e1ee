// OrvaneSetup: without arguments it registers Orvane, with "-uninst" it
// removes the registration and Orvane's settings. It opens no window of its
// own; one message box reports the end. The exit code is 0, or 1 when the
// registration could not be made or completed.
#include <windows.h>

#include <string>
#include <vector>

#include "setup/CommandLine.h"
#include "setup/DllSearch.h"
#include "setup/ProgramPaths.h"
#include "setup/Registration.h"
#include "setup/RegistrationMessage.h"
#include "setup/Unregistration.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a library by name.
    RestrictDllSearchToSystem();
    std::string message;
    if (IsUninstallRequest(ArgumentText(GetCommandLineA()))) {
        Unregister();
        message = "レジストリ情報のアンインストールが完了しました\n"
                  "インストールしたフォルダにあるファイルを手動で削除してください";
    } else {
        const std::string setupPath = OwnProgramPath();
        if (setupPath.empty()) {
            MessageBoxA(nullptr,
                        "このフォルダの名前にはこのプログラムで扱えない文字が含まれているため、"
                        "登録できません",
                        "報告", MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
        std::vector<RegistrationFailure> failures = Register(setupPath);
        if (!failures.empty()) {
            MessageBoxA(nullptr, NotInstalledMessage(failures).c_str(), "報告",
                        MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
        message = InstalledMessage(ProgramFolder(setupPath));
    }
    MessageBoxA(nullptr, message.c_str(), "報告", MB_OK);
    return 0;
}
