#pragma once
// The application object: start-up, the message loop with idle-time update
// rules, profile settings in the registry, the document template and the shell
// command of the command line.
#include <memory>
#include <string>

#include "framework/CmdTarget.h"
#include "framework/DocTemplate.h"
#include "framework/Profile.h"

class CWnd;

// What ProcessShellCommand opens: the file named, or an empty document.
class CCommandLineInfo {
public:
    enum Shell { FileNew, FileOpen };
    Shell m_nShellCommand = FileNew;
    std::string m_strFileName;
};

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    // The program's exit code; by default the code of the quit message.
    virtual int ExitInstance() { return m_nQuitCode; }
    // The message loop; returns ExitInstance's code.
    virtual int Run();
    virtual BOOL OnIdle(LONG count);
    virtual BOOL PreTranslateMessage(MSG* msg);

    void SetRegistryKey(const char* company) { m_profile.SetRegistryKey(company); }
    int GetProfileInt(const char* section, const char* entry, int defaultValue) const {
        return m_profile.GetProfileInt(section, entry, defaultValue);
    }
    bool WriteProfileInt(const char* section, const char* entry, int value) {
        return m_profile.WriteProfileInt(section, entry, value);
    }
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue = "") const {
        return m_profile.GetProfileString(section, entry, defaultValue);
    }
    bool WriteProfileString(const char* section, const char* entry, const char* value) {
        return m_profile.WriteProfileString(section, entry, value);
    }
    CProfile& Profile() { return m_profile; }

    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    // Creates the main window with an empty document, or for the file named.
    BOOL ProcessShellCommand(const CCommandLineInfo& info);

    const char* m_pszAppName;
    const char* m_lpCmdLine = "";
    // How the main window is first shown: what Windows passed at start (a
    // shortcut set to "maximised", for instance).
    int m_nCmdShow = SW_SHOWDEFAULT;
    CWnd* m_pMainWnd = nullptr;

    // With nobody to answer (a scheduled run), no message box or modal dialog is
    // shown: a message box's text goes to ReportUnattended instead, and a modal
    // dialog returns -1 as one that could not be shown. The application knows
    // whether anyone is there.
    virtual bool IsUnattended() const { return false; }
    // Where a text that would have been shown goes; by default the standard error.
    virtual void ReportUnattended(const std::string& text);

protected:
    DECLARE_MESSAGE_MAP()
    void OnAppExit();

    CProfile m_profile;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    int m_nQuitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box owned by the main window with the application's name as caption.
// In an unattended run the text is reported instead and the box's most cautious
// answer returned (OK, else Cancel, else No).
int AfxMessageBox(const char* text, UINT type = MB_OK);
// The same with an owner window of the caller's.
int AfxMessageBoxOwned(HWND owner, const char* text, UINT type);
// True while message boxes and modal dialogs must not be shown.
bool AfxIsUnattended();
// The command line after the program name.
const char* AfxCommandLineTail();
