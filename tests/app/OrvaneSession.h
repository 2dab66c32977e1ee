#pragma once
// Starts the real application object in this process with a command line of the
// test's choosing, answers the settings dialog of the start-up with a script,
// and closes the program the way a user does.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "app/MainFrame.h"
#include "app/OrvaneApp.h"
#include "ui/OrvaneView.h"

// The program's settings key, emptied before and after each test that uses it.
void ClearSettingsKey();
int ReadSettingsInt(const char* subkey, const char* value, int missing);
void WriteSettingsInt(const char* subkey, const char* value, int data);

// A step that cancels the settings dialog as soon as it shows.
ModalScript::Step CancelSettings();
// A step that types the two folders into the settings dialog and confirms it.
ModalScript::Step ConfirmSettings(const std::string& processing, const std::string& reference);
// A step that types a path into the system's open or save dialog and confirms it.
ModalScript::Step ChooseFile(const char* caption, const std::string& path);

class OrvaneSession {
public:
    // Runs the start-up; the steps answer whatever dialogs it shows.
    OrvaneSession(const std::string& commandLine, std::vector<ModalScript::Step> startSteps);
    ~OrvaneSession();

    bool Started() const { return started_; }
    COrvaneApp& App() { return *app_; }
    CMainFrame& Frame() { return *static_cast<CMainFrame*>(app_->m_pMainWnd); }
    COrvaneView& View() { return *static_cast<COrvaneView*>(Frame().GetActiveView()); }

    // Sends a menu, toolbar or accelerator command to the main window.
    void Command(UINT id);
    // Runs a command while a script answers the dialogs it opens; true when the
    // script ran to its end in time.
    bool CommandWithScript(UINT id, std::vector<ModalScript::Step> steps);
    // Whether the start-up script ran to its end in time.
    bool StartScriptCompleted() const { return scriptCompleted_; }
    // Whether the update rules leave a menu item enabled (as when its menu opens).
    bool MenuItemEnabled(UINT id);
    bool MenuItemChecked(UINT id);
    bool ToolbarButtonEnabled(UINT id);
    // Closes the main window and runs the message loop until the program ends;
    // returns false when it did not end by itself within the time limit.
    bool Close();
    // Runs the message loop until the program ends by itself (unattended runs).
    bool RunUntilExit(DWORD timeoutMs = 20000);

private:
    UINT MenuState(UINT id);

    std::string commandLine_;
    std::unique_ptr<COrvaneApp> app_;
    bool started_ = false;
    bool ended_ = false;
    bool scriptCompleted_ = false;
};
