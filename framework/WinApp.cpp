#include "framework/WinApp.h"

#include "framework/ErrorOutput.h"
#include "framework/FrameWnd.h"

namespace {
CWinApp* g_app = nullptr;
constexpr UINT kAppExit = 57665;
} // namespace

CWinApp* AfxGetApp() {
    return g_app;
}
CWnd* AfxGetMainWnd() {
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}
const char* AfxGetAppName() {
    return g_app != nullptr ? g_app->m_pszAppName : "";
}

bool AfxIsUnattended() {
    return g_app != nullptr && g_app->IsUnattended();
}

namespace {
int CautiousAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDCANCEL;
    }
}
} // namespace

int AfxMessageBoxOwned(HWND owner, const char* text, UINT type) {
    if (AfxIsUnattended()) {
        g_app->ReportUnattended(text);
        return CautiousAnswer(type);
    }
    return MessageBoxA(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(const char* text, UINT type) {
    CWnd* main = AfxGetMainWnd();
    HWND owner = main != nullptr && main->IsWindowVisible() ? main->m_hWnd : nullptr;
    return AfxMessageBoxOwned(owner, text, type);
}

const char* AfxCommandLineTail() {
    // Skips the program name, quoted or not, and the blanks after it.
    const char* p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            p = CharNextA(p);
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t')
            p = CharNextA(p);
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName), m_profile(appName) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(kAppExit, OnAppExit)
END_MESSAGE_MAP()

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::ReportUnattended(const std::string& text) {
    WriteStandardError(text);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    m_docTemplate = std::move(docTemplate);
}

BOOL CWinApp::ProcessShellCommand(const CCommandLineInfo& info) {
    if (m_docTemplate == nullptr)
        return FALSE;
    const char* path =
        info.m_nShellCommand == CCommandLineInfo::FileOpen ? info.m_strFileName.c_str() : nullptr;
    CFrameWnd* frame = m_docTemplate->OpenDocumentFile(path);
    if (frame == nullptr)
        return FALSE;
    m_pMainWnd = frame;
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    HWND stop = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    return AfxPreTranslateTree(stop, msg);
}

BOOL CWinApp::OnIdle(LONG count) {
    if (count == 0) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
            if (frame->m_hWnd != nullptr)
                frame->OnIdleUpdateCmdUI();
    }
    return FALSE;
}

int CWinApp::Run() {
    MSG msg = {};
    for (;;) {
        LONG idleCount = 0;
        while (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            m_nQuitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}
