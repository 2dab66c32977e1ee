#include "ui/JobValidation.h"

#include <windows.h>

#include "base/AbsolutePath.h"
#include "engine/FolderIdentity.h"
#include "engine/SearchCore.h"
#include "job/JobFolders.h"

namespace {

struct FolderMessages {
    const char* empty;
    const char* relative;
    const char* missing;
    const char* notFolder;
};

const FolderMessages kProcessingMessages = {
    "処理フォルダが指定されていません",
    "処理フォルダはドライブ名（C:\\…）かサーバー名（\\\\サーバー\\…）から指定してください",
    "処理フォルダが存在しません",
    "処理フォルダにフォルダ以外が指定されています",
};
const FolderMessages kReferenceMessages = {
    "参照フォルダが指定されていません",
    "参照フォルダはドライブ名（C:\\…）かサーバー名（\\\\サーバー\\…）から指定してください",
    "参照フォルダが存在しません",
    "参照フォルダにフォルダ以外が指定されています",
};
const FolderMessages kLogMessages = {
    "ログの出力先フォルダが指定されていません",
    "ログの出力先フォルダはドライブ名（C:\\…）かサーバー名（\\\\サーバー\\…）から指定してください",
    "ログの出力先フォルダが存在しません",
    "ログの出力先フォルダにフォルダ以外が指定されています",
};

const char* FindFolderProblem(const std::string& path, const FolderMessages& messages) {
    if (path.empty())
        return messages.empty;
    // "data", "D:", "D:data" and "\\data" name another folder as soon as the
    // program starts elsewhere (a scheduled run, a shortcut).
    if (!IsAbsolutePath(path))
        return messages.relative;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return messages.missing;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return messages.notFolder;
    return nullptr;
}

} // namespace

const char* FindJobProblem(JobSettings& job) {
    if (!job.includeExtensions.empty() && !job.excludeExtensions.empty())
        return "対象拡張子と除外拡張子の両方が指定されています";
    if (const char* problem = FindFolderProblem(job.processingFolder, kProcessingMessages))
        return problem;
    if (const char* problem = FindFolderProblem(job.referenceFolder, kReferenceMessages))
        return problem;
    if (job.outputLog == 1) {
        if (const char* problem = FindFolderProblem(job.logFolder, kLogMessages))
            return problem;
    }

    // In the form the job is saved and searched in, once the folders have passed.
    NormaliseJobFolders(job);
    // By the folders themselves, not their spelling: a short name, another drive
    // letter for the same disk or a link reaches the same files.
    if (SameFolder(job.processingFolder, job.referenceFolder))
        return "処理フォルダと参照フォルダが同じです";
    if (FoldersOverlap(job.processingFolder, job.referenceFolder))
        return kOverlappingFoldersText;
    if (job.outputLog == 1) {
        if (SameFolder(job.logFolder, job.processingFolder))
            return kLogIsProcessingFolderText;
        if (SameFolder(job.logFolder, job.referenceFolder))
            return kLogIsReferenceFolderText;
    }
    return nullptr;
}
