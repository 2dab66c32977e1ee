#pragma once
// The dialog "フォルダ同期オプション" in which the user defines a job: it reads
// the job file when it opens (a job file it cannot take is refused with a
// message, and the dialog does not open), keeps the dependent controls enabled
// or disabled, and on "検索開始" validates the job, writes the job file and
// closes. The lists are shown and saved in their normal form.
#include <windows.h>

#include <string>

#include "framework/Dialog.h"
#include "job/JobSettings.h"
#include "ui/ComplementComboBox.h"

class JobContext;

class CDlgSetting : public CDialog {
public:
    // The job file at `jobPath`; empty means the default job file.
    CDlgSetting(JobContext& context, std::string jobPath, CWnd* parent = nullptr);

    std::string jobPath;
    // The values the controls show. A processing or reference folder put in
    // before the dialog opens wins over the job file's; after a confirmation
    // this is exactly the job that was written.
    JobSettings job;
    CComplementComboBox processingBox;
    CComplementComboBox referenceBox;
    CComplementComboBox logBox;
    CComplementComboBox versionsBox;
    // The versions limits as typed; checked and taken into `job` on confirmation.
    std::string versionsDaysText;
    std::string versionsRunsText;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
    void OnStartSearch();
    void OnDependencyChanged();
    void OnBrowseProcessing() { BrowseInto(processingBox); }
    void OnBrowseReference() { BrowseInto(referenceBox); }
    void OnBrowseLog() { BrowseInto(logBox); }
    void OnBrowseVersions() { BrowseInto(versionsBox); }

private:
    void FillModeList();
    void TakeStoredJob(const JobSettings& stored);
    void ApplyEnableRules();
    void ShowLists();
    void EnableItem(int id, bool enable);
    void BrowseInto(CComplementComboBox& box);
    // The versions options as typed: false, with the user told why, when one
    // cannot be used.
    bool TakeVersionsOptions();

    JobContext& context_;
};
