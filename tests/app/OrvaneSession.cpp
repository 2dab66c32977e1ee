#include "OrvaneSession.h"

#include <commctrl.h>

#include "res/resource.h"

namespace {
const char kSettingsKey[] = "Software\\Quorlin\\Orvane";

// Finds the popup that holds a command in the main menu.
HMENU PopupHolding(HMENU menu, UINT id, int* index) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub == nullptr)
            continue;
        for (int j = 0; j < GetMenuItemCount(sub); ++j)
            if (GetMenuItemID(sub, j) == id) {
                *index = i;
                return sub;
            }
    }
    return nullptr;
}
} // namespace

void ClearSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

int ReadSettingsInt(const char* subkey, const char* value, int missing) {
    std::string path = std::string(kSettingsKey) + "\\" + subkey;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), value, RRF_RT_REG_DWORD, nullptr, &data,
                     &size) != ERROR_SUCCESS)
        return missing;
    return static_cast<int>(data);
}

void WriteSettingsInt(const char* subkey, const char* value, int data) {
    std::string path = std::string(kSettingsKey) + "\\" + subkey;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    DWORD value32 = static_cast<DWORD>(data);
    RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value32),
                   sizeof value32);
    RegCloseKey(key);
}

ModalScript::Step CancelSettings() {
    return WhenWindowStartingWith("フォルダ同期オプション",
                                  [](HWND dialog) { ClickButton(dialog, IDCANCEL); });
}

ModalScript::Step ConfirmSettings(const std::string& processing, const std::string& reference) {
    return WhenWindowStartingWith("フォルダ同期オプション", [processing, reference](HWND dialog) {
        HWND processingEdit = reinterpret_cast<HWND>(
            SendMessageA(GetDlgItem(dialog, IDC_PROCFOLDER), CBEM_GETEDITCONTROL, 0, 0));
        HWND referenceEdit = reinterpret_cast<HWND>(
            SendMessageA(GetDlgItem(dialog, IDC_REFFOLDER), CBEM_GETEDITCONTROL, 0, 0));
        SetWindowTextA(processingEdit, processing.c_str());
        SetWindowTextA(referenceEdit, reference.c_str());
        ClickButton(dialog, IDOK);
    });
}

ModalScript::Step ChooseFile(const char* caption, const std::string& path) {
    return WhenWindow(caption, [path](HWND dialog) {
        const int fileNameCombo = 0x47c; // the file name field of the system dialog
        SetDlgItemTextA(dialog, fileNameCombo, path.c_str());
        ClickButton(dialog, IDOK);
    });
}

OrvaneSession::OrvaneSession(const std::string& commandLine,
                             std::vector<ModalScript::Step> startSteps)
    : commandLine_(commandLine), app_(std::make_unique<COrvaneApp>()) {
    app_->m_lpCmdLine = commandLine_.c_str();
    ModalScript script(std::move(startSteps));
    started_ = app_->InitInstance() != FALSE;
    scriptCompleted_ = script.Finished() && !script.TimedOut();
}

OrvaneSession::~OrvaneSession() {
    if (started_ && !ended_)
        Close();
}

void OrvaneSession::Command(UINT id) {
    Frame().SendMessage(WM_COMMAND, id, 0);
}

bool OrvaneSession::CommandWithScript(UINT id, std::vector<ModalScript::Step> steps) {
    ModalScript script(std::move(steps));
    Command(id);
    return script.Finished() && !script.TimedOut();
}

UINT OrvaneSession::MenuState(UINT id) {
    HMENU menu = GetMenu(Frame().m_hWnd);
    int index = 0;
    HMENU popup = PopupHolding(menu, id, &index);
    if (popup == nullptr)
        return 0xFFFFFFFF;
    Frame().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, 0));
    return GetMenuState(popup, id, MF_BYCOMMAND);
}

bool OrvaneSession::MenuItemEnabled(UINT id) {
    UINT state = MenuState(id);
    return state != 0xFFFFFFFF && !(state & (MF_GRAYED | MF_DISABLED));
}

bool OrvaneSession::MenuItemChecked(UINT id) {
    UINT state = MenuState(id);
    return state != 0xFFFFFFFF && (state & MF_CHECKED);
}

bool OrvaneSession::ToolbarButtonEnabled(UINT id) {
    Frame().OnIdleUpdateCmdUI();
    return Frame().m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, id) != 0;
}

bool OrvaneSession::RunUntilExit(DWORD timeoutMs) {
    // A timer ends a loop that would otherwise wait for ever.
    UINT_PTR timer =
        SetTimer(nullptr, 0, timeoutMs, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
    int code = app_->Run();
    KillTimer(nullptr, timer);
    ended_ = true;
    PumpPending();
    return code != 99;
}

bool OrvaneSession::Close() {
    if (app_->m_pMainWnd != nullptr && IsWindow(app_->m_pMainWnd->m_hWnd))
        app_->m_pMainWnd->PostMessage(WM_CLOSE);
    return RunUntilExit();
}
