#include "ui/DlgSetting.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "base/AbsolutePath.h"
#include "base/PathText.h"
#include "base/WindowText.h"
#include "exec/Versions.h"
#include "framework/DataExchange.h"
#include "job/JobContext.h"
#include "job/JobFile.h"
#include "job/JobKeys.h"
#include "job/JobLists.h"
#include "res/resource.h"
#include "ui/FolderBrowser.h"
#include "ui/JobValidation.h"

namespace {

constexpr const char* kMessageCaption = "Orvane";
// The entries of the mode list, in SyncMode order.
constexpr const char* kModeNames[] = {"双方向同期", "処理フォルダを更新", "参照フォルダを更新"};

} // namespace

CDlgSetting::CDlgSetting(JobContext& context, std::string path, CWnd* parent)
    : CDialog(IDD_SETTING, parent), jobPath(std::move(path)), context_(context) {
    job.deleteEnabled = 1;
    job.confirmDelete = 1;
    // The path fields are extended combo boxes, registered by the common controls.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
}

BEGIN_MESSAGE_MAP(CDlgSetting, CDialog)
ON_COMMAND(IDOK, OnStartSearch)
ON_BN_CLICKED(IDC_OUTPUTLOG, OnDependencyChanged)
ON_BN_CLICKED(IDC_SUBFOLDER, OnDependencyChanged)
ON_BN_CLICKED(IDC_DELETE, OnDependencyChanged)
ON_CBN_SELCHANGE(IDC_MODE, OnDependencyChanged)
ON_BN_CLICKED(IDC_BROWSE_PROC, OnBrowseProcessing)
ON_BN_CLICKED(IDC_BROWSE_REF, OnBrowseReference)
ON_BN_CLICKED(IDC_BROWSE_LOG, OnBrowseLog)
ON_BN_CLICKED(IDC_VERSIONS, OnDependencyChanged)
ON_BN_CLICKED(IDC_MEMORY, OnDependencyChanged)
ON_BN_CLICKED(IDC_BROWSE_VERSIONS, OnBrowseVersions)
END_MESSAGE_MAP()

void CDlgSetting::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, IDC_OUTPUTLOG, job.outputLog);
    DDX_Check(dx, IDC_BOTHSIDESONLY, job.bothSidesOnly);
    DDX_Check(dx, IDC_SUBFOLDER, job.includeSubfolders);
    DDX_Check(dx, IDC_DELETE, job.deleteEnabled);
    DDX_Check(dx, IDC_DELWARNING, job.confirmDelete);
    DDX_Text(dx, IDC_ADDEXT, job.includeExtensions);
    DDV_MaxChars(dx, job.includeExtensions, JobTextMaxLength(&JobSettings::includeExtensions));
    DDX_Text(dx, IDC_DELEXT, job.excludeExtensions);
    DDV_MaxChars(dx, job.excludeExtensions, JobTextMaxLength(&JobSettings::excludeExtensions));
    DDX_Text(dx, IDC_PROCFOLDER, job.processingFolder);
    DDX_Text(dx, IDC_REFFOLDER, job.referenceFolder);
    DDX_CBIndex(dx, IDC_MODE, job.mode);
    DDX_Text(dx, IDC_LOGFOLDER, job.logFolder);
    DDX_Check(dx, IDC_TWOSEC, job.twoSecondTolerance);
    DDX_Control(dx, IDC_PROCFOLDER, processingBox);
    DDX_Control(dx, IDC_REFFOLDER, referenceBox);
    DDX_Control(dx, IDC_LOGFOLDER, logBox);
    DDX_Check(dx, IDC_FASTCOPY, job.fastCopy);
    DDX_Check(dx, IDC_RECYCLE, job.useRecycleBin);
    DDX_Text(dx, IDC_RMDIR, job.excludedFolders);
    DDV_MaxChars(dx, job.excludedFolders, JobTextMaxLength(&JobSettings::excludedFolders));
    DDX_Check(dx, IDC_VERSIONS, job.keepVersions);
    DDX_Check(dx, IDC_MEMORY, job.rememberState);
    DDX_Check(dx, IDC_DETECTMOVES, job.detectMoves);
    DDX_Check(dx, IDC_VERIFY, job.verifyCopies);
    DDX_Check(dx, IDC_COMPARECONTENT, job.compareContent);
    DDX_Check(dx, IDC_HOURSHIFT, job.ignoreHourShift);
    DDX_Text(dx, IDC_VERSIONSDIR, job.versionsFolder);
    DDX_Control(dx, IDC_VERSIONSDIR, versionsBox);
    DDX_Text(dx, IDC_VERSIONSDAYS, versionsDaysText);
    DDX_Text(dx, IDC_VERSIONSRUNS, versionsRunsText);
}

BOOL CDlgSetting::OnInitDialog() {
    FillModeList();
    const std::pair<CComplementComboBox*, int> pathFields[] = {{&processingBox, IDC_PROCFOLDER},
                                                               {&referenceBox, IDC_REFFOLDER},
                                                               {&logBox, IDC_LOGFOLDER},
                                                               {&versionsBox, IDC_VERSIONSDIR}};
    for (const auto& [box, id] : pathFields) {
        box->foldersOnly = 1;
        ::DragAcceptFiles(GetDlgItem(id), TRUE);
    }

    JobSettings stored;
    std::string unreadable = context_.LoadJob(stored, jobPath);
    if (!unreadable.empty()) {
        // A job that names look-alike folders is not opened at all.
        ::MessageBoxA(m_hWnd, unreadable.c_str(), kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
        EndDialog(IDCANCEL);
        return TRUE;
    }
    // A new job keeps what it deletes and overwrites in the versions folder,
    // so that every run of it can be undone (the Recycle Bin is the net where
    // versions are turned off); a stored job without the keys keeps deleting
    // for good, as it always did.
    if (!IsStoredJob(context_.currentJobPath)) {
        stored.useRecycleBin = 1;
        stored.keepVersions = 1;
        stored.rememberState = 1;
        stored.detectMoves = 1;
        stored.versionsDays = kDefaultVersionDays;
    }
    if (!jobPath.empty()) {
        PathParts parts = SplitPath(jobPath);
        SetWindowText(GetWindowText() + " - " + parts.name + parts.extension);
    }
    TakeStoredJob(stored);
    versionsDaysText = std::to_string(job.versionsDays);
    versionsRunsText = std::to_string(job.versionsRuns);

    CDialog::OnInitDialog(); // shows the values
    ApplyEnableRules();
    return TRUE;
}

void CDlgSetting::FillModeList() {
    HWND modeList = GetDlgItem(IDC_MODE);
    for (const char* name : kModeNames)
        ::SendMessageA(modeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

void CDlgSetting::TakeStoredJob(const JobSettings& stored) {
    // Folders given on the command line win over the file's.
    std::string processing = job.processingFolder;
    std::string reference = job.referenceFolder;
    job = stored;
    if (!processing.empty())
        job.processingFolder = processing;
    if (!reference.empty())
        job.referenceFolder = reference;
    // A file with a mode the list does not hold opens on the first mode, so that
    // confirming saves a mode the search knows.
    if (job.mode < Bidirectional || job.mode > UpdateReference)
        job.mode = Bidirectional;
}

void CDlgSetting::OnDependencyChanged() {
    // Only the values the rules read: a click must not run the length checks of
    // the other fields.
    job.mode = static_cast<int>(::SendMessageA(GetDlgItem(IDC_MODE), CB_GETCURSEL, 0, 0));
    job.outputLog = IsDlgButtonChecked(m_hWnd, IDC_OUTPUTLOG) == BST_CHECKED ? 1 : 0;
    job.includeSubfolders = IsDlgButtonChecked(m_hWnd, IDC_SUBFOLDER) == BST_CHECKED ? 1 : 0;
    job.deleteEnabled = IsDlgButtonChecked(m_hWnd, IDC_DELETE) == BST_CHECKED ? 1 : 0;
    job.keepVersions = IsDlgButtonChecked(m_hWnd, IDC_VERSIONS) == BST_CHECKED ? 1 : 0;
    job.rememberState = IsDlgButtonChecked(m_hWnd, IDC_MEMORY) == BST_CHECKED ? 1 : 0;
    ApplyEnableRules();
}

void CDlgSetting::ApplyEnableRules() {
    // Disabled controls keep their values; what a value means in a mode is the
    // comparison's business.
    // Two-way runs delete only what was deleted on the other side since the
    // last run, which takes their memory.
    EnableItem(IDC_MEMORY, job.mode == Bidirectional);
    if (job.mode == Bidirectional) {
        EnableItem(IDC_DELETE, job.rememberState != 0);
        EnableItem(IDC_DELWARNING, job.rememberState != 0 && job.deleteEnabled != 0);
    } else if (job.mode == UpdateProcessing || job.mode == UpdateReference) {
        EnableItem(IDC_DELETE, true);
        EnableItem(IDC_DELWARNING, job.deleteEnabled != 0);
    }
    EnableItem(IDC_LOGFOLDER, job.outputLog != 0);
    EnableItem(IDC_BROWSE_LOG, job.outputLog != 0);
    EnableItem(IDC_RMDIR, job.includeSubfolders != 0);
    for (int id : {IDC_VERSIONSDIR, IDC_BROWSE_VERSIONS, IDC_VERSIONSDAYS, IDC_VERSIONSRUNS})
        EnableItem(id, job.keepVersions != 0);
    // A move takes the place of a deletion and a copy: only where deletions are planned.
    EnableItem(IDC_DETECTMOVES,
               job.deleteEnabled != 0 && (job.mode != Bidirectional || job.rememberState != 0));
}

void CDlgSetting::EnableItem(int id, bool enable) {
    ::EnableWindow(GetDlgItem(id), enable);
}

void CDlgSetting::BrowseInto(CComplementComboBox& box) {
    std::string chosen;
    if (BrowseForFolder(m_hWnd, WindowText(box.GetEditCtrl()), chosen))
        ::SetWindowTextA(box.GetEditCtrl(), chosen.c_str());
}

void CDlgSetting::OnStartSearch() {
    if (!UpdateData(TRUE))
        return;
    NormaliseJobLists(job);
    std::string problem;
    if (const char* folderProblem = FindJobProblem(job)) {
        problem = folderProblem;
    } else {
        std::vector<JobProblem> listProblems = CheckJobLists(job);
        if (!listProblems.empty())
            problem = listProblems.front().text;
    }
    ShowLists();
    if (problem.empty() && !TakeVersionsOptions())
        return; // it has said why
    if (problem.empty())
        problem = context_.SaveJob(job, jobPath);
    if (!problem.empty()) {
        ::MessageBoxA(m_hWnd, problem.c_str(), kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
        return; // the dialog stays open with its values
    }
    EndDialog(IDOK);
}

void CDlgSetting::ShowLists() {
    // The lists as they are saved and searched, so the user sees what counts.
    ::SetDlgItemTextA(m_hWnd, IDC_ADDEXT, job.includeExtensions.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_DELEXT, job.excludeExtensions.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_RMDIR, job.excludedFolders.c_str());
}

bool CDlgSetting::TakeVersionsOptions() {
    if (job.keepVersions == 0)
        return true;
    // Decimal digits up to the key's highest value; an empty field means 0.
    auto take = [this](const std::string& text, int JobSettings::*field, const char* label) {
        int highest = 0;
        for (const JobKey& key : JobKeys())
            if (key.number == field)
                highest = key.highest;
        long long value = 0;
        for (char c : text) {
            if (c < '0' || c > '9' || (value = value * 10 + (c - '0')) > highest) {
                std::string message = std::string(label) + "は 0 から " + std::to_string(highest) +
                                      " までの数字で指定してください";
                ::MessageBoxA(m_hWnd, message.c_str(), kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
                return false;
            }
        }
        job.*field = static_cast<int>(value);
        return true;
    };
    if (!take(versionsDaysText, &JobSettings::versionsDays, "保存日数") ||
        !take(versionsRunsText, &JobSettings::versionsRuns, "保存回数"))
        return false;
    if (IsAbsolutePath(job.versionsFolder))
        job.versionsFolder = WithoutTrailingBackslash(job.versionsFolder);
    std::string problem = VersionsFolderProblem(job);
    if (!problem.empty()) {
        ::MessageBoxA(m_hWnd, problem.c_str(), kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
        return false;
    }
    return true;
}
