#include "job/JobFile.h"

#include <windows.h>

#include "base/FileHandle.h"
#include "base/TextEscape.h"
#include "base/AnsiText.h"
#include "job/JobKeys.h"
#include "job/JobLists.h"

namespace {

// The whole text in the ANSI code page, line by line with CR LF; false when a
// line has no exact form.
bool ToAnsiLines(const std::wstring& text, std::string& ansi) {
    ansi.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        std::string line;
        if (!ToExactAnsi(text.data() + start, end - start, line))
            return false;
        if (end < text.size() || !line.empty())
            ansi += line + "\r\n";
        // CR LF is one line break, and so is a lone CR or LF.
        start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    }
    return true;
}

// Replaces the file with its ANSI form in one step: a temporary file beside it,
// then a rename over it, so no reader ever sees half a file.
bool ReplaceWithAnsi(const std::string& path, const std::string& ansi) {
    std::string temporary = path + ".orvane-tmp";
    {
        FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file.IsOpen() ||
            !WriteFile(file.Get(), ansi.data(), static_cast<DWORD>(ansi.size()), &written,
                       nullptr) ||
            written != ansi.size() || !file.Close()) {
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

// A UTF-8 or UTF-16 file becomes a file in the ANSI code page with the same
// sections, keys and values, so that the private-profile functions can update it.
bool ConvertToAnsi(const std::string& path, std::string* refusal) {
    std::optional<std::string> bytes = ReadJobFileBytes(path);
    if (!bytes) {
        // The profile functions would read it whole to change one key.
        if (refusal)
            *refusal = "処理定義ファイル「" + EscapeForText(path) + "」は " + kJobFileLimitText +
                       " を超えているため、保存できません（ファイルは変更していません）";
        return false;
    }
    JobFileEncoding encoding = DetectJobFileEncoding(*bytes);
    if (encoding == JobFileEncoding::Ansi)
        return true;
    std::string ansi;
    if (!ToAnsiLines(DecodeJobFileText(*bytes, encoding), ansi)) {
        if (refusal)
            *refusal = "処理定義ファイル「" + EscapeForText(path) +
                       "」には、このプログラムで扱えない文字が含まれているため、"
                       "保存できません（ファイルは変更していません）";
        return false;
    }
    if (ReplaceWithAnsi(path, ansi))
        return true;
    if (refusal)
        *refusal = "処理定義ファイル「" + EscapeForText(path) + "」を書き換えられません";
    return false;
}

} // namespace

JobSettings ReadJobFile(const std::string& path, std::string* refusal) {
    JobSettings job;
    JobFileValues values(path);
    bool refused = !values.Refusal().empty();
    if (refusal)
        *refusal = values.Refusal();
    for (const JobKey& key : JobKeys()) {
        if (key.kind == JobValueKind::Text)
            job.*key.text =
                refused ? std::string() : NormaliseList(key.list, values.Text(key.name));
        else
            job.*key.number = refused ? key.readDefault : values.Number(key.name, key.readDefault);
    }
    return job;
}

bool WriteJobFile(const std::string& path, const JobSettings& job, std::string* refusal) {
    if (!ConvertToAnsi(path, refusal))
        return false;
    bool written = true;
    for (const JobKey& key : JobKeys()) {
        // An empty text is written as "Key=": a null value would delete the key.
        std::string value =
            key.kind == JobValueKind::Text ? job.*key.text : std::to_string(job.*key.number);
        written &=
            WritePrivateProfileStringA(kJobSection, key.name, value.c_str(), path.c_str()) != FALSE;
    }
    return written;
}

bool IsStoredJob(const std::string& path) {
    return JobFileValues(path).HasSection();
}
