#include "ui/JobValidation.h"

#include <windows.h>

#include "ui/PathText.h"

namespace {

struct FolderMessages {
    const char* empty;
    const char* missing;
    const char* notFolder;
};

const FolderMessages kProcessingMessages = {
    "処理フォルダが指定されていません",
    "処理フォルダが存在しません",
    "処理フォルダにフォルダ以外が指定されています",
};
const FolderMessages kReferenceMessages = {
    "参照フォルダが指定されていません",
    "参照フォルダが存在しません",
    "参照フォルダにフォルダ以外が指定されています",
};
const FolderMessages kLogMessages = {
    "ログの出力先フォルダが指定されていません",
    "ログの出力先フォルダが存在しません",
    "ログの出力先フォルダにフォルダ以外が指定されています",
};

const char* FindFolderProblem(const std::string& path, const FolderMessages& messages) {
    if (path.empty())
        return messages.empty;
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

    // The log folder is stored as typed.
    job.processingFolder = WithoutTrailingBackslash(job.processingFolder);
    job.referenceFolder = WithoutTrailingBackslash(job.referenceFolder);
    // Compares the texts only: one folder inside the other, or one folder reached
    // by two different paths, passes.
    if (SamePathText(job.processingFolder, job.referenceFolder))
        return "処理フォルダと参照フォルダが同じです";
    // What was only a backslash is nothing now.
    if (job.processingFolder.empty())
        return "処理フォルダが無効です";
    if (job.referenceFolder.empty())
        return "参照フォルダが無効です";
    return nullptr;
}
