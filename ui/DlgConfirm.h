#pragma once
// The two questions asked inside long operations, each a modal dialog owned by
// the window active when it opens (the progress window). Escape and the close box
// answer 2 (abort) in both.
#include <string>

#include "framework/Dialog.h"

// Before a deletion: はい 6, いいえ 7, 全て削除 5, 中断 2.
class CDlgDelWarn : public CDialog {
public:
    CDlgDelWarn();
    std::string m_strMessage;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnYes() { EndDialog(IDYES); }
    void OnNo() { EndDialog(IDNO); }
    void OnDeleteAll() { EndDialog(IDIGNORE); }
};

// Before writing a network path into a batch file: 全て出力 1, この処理を出力 5,
// この処理は出力しない 4, 中断 2.
class CDlgWarn : public CDialog {
public:
    CDlgWarn();
    std::string m_strMessage;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override;
    void OnWriteThis() { EndDialog(IDIGNORE); }
    void OnSkipThis() { EndDialog(IDRETRY); }
};
