#include "job/JobLists.h"

#include <windows.h>

#include <cstring>

#include "base/AbsolutePath.h"
#include "base/DoubleByte.h"
#include "base/PathText.h"
#include "base/TextEscape.h"
#include "base/AnsiText.h"
#include "job/JobKeys.h"

namespace {

constexpr char kFullWidthBlank[] = "\x81\x40"; // "　"

// The offsets where the characters of the text start.
std::vector<size_t> CharacterStarts(std::string_view text) {
    const LeadBytes& lead = LeadBytes::Ansi();
    std::vector<size_t> starts;
    for (size_t at = 0; at < text.size(); at += lead.CharLength(text, at))
        starts.push_back(at);
    return starts;
}

bool IsBlankAt(std::string_view text, size_t at, size_t length) {
    std::string_view character = text.substr(at, length);
    return character == " " || character == "\t" || character == kFullWidthBlank;
}

std::string Trimmed(std::string_view text) {
    std::vector<size_t> starts = CharacterStarts(text);
    starts.push_back(text.size());
    size_t first = 0, last = starts.size() - 1; // characters [first, last)
    while (first < last && IsBlankAt(text, starts[first], starts[first + 1] - starts[first]))
        ++first;
    while (last > first && IsBlankAt(text, starts[last - 1], starts[last] - starts[last - 1]))
        --last;
    return std::string(text.substr(starts[first], starts[last] - starts[first]));
}

// The pieces between separators, whole characters stepped over: the second
// byte of 表 is a backslash.
std::vector<std::string> Pieces(const std::string& text, char separator = ',') {
    std::vector<std::string> pieces(1);
    const LeadBytes& lead = LeadBytes::Ansi();
    for (size_t at = 0; at < text.size();) {
        size_t length = lead.CharLength(text, at);
        if (length == 1 && text[at] == separator)
            pieces.emplace_back();
        else
            pieces.back().append(text, at, length);
        at += length;
    }
    return pieces;
}

std::string Joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i)
        text += (i == 0 ? "" : ",") + pieces[i];
    return text;
}

// Visits every single-byte character of the text, which the visitor may change.
template <class Visit> void ForEachSingleByte(std::string& text, Visit visit) {
    const LeadBytes& lead = LeadBytes::Ansi();
    for (size_t at = 0; at < text.size(); at += lead.CharLength(text, at))
        if (lead.CharLength(text, at) == 1)
            visit(text[at]);
}

bool HasDrive(const std::string& piece) {
    return piece.size() >= 2 && IsAsciiLetter(piece[0]) && piece[1] == ':';
}

bool IsFullPathOrDrive(const std::string& piece) {
    return HasDrive(piece) || IsAbsolutePath(piece);
}

// A list's piece refuses DEL too: nobody means it.
bool IsForbiddenInName(unsigned char c) {
    return c == 0x7F || IsForbiddenInNames(c);
}

// Why the text can never be (part of) a name, or nullptr. `separators` lets
// backslashes through, for the steps of a folder path.
const char* NameProblem(std::string text, bool separators) {
    const char* problem = nullptr;
    ForEachSingleByte(text, [&](char& c) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (problem != nullptr || (separators && c == '\\'))
            return;
        if (c == '*' || c == '?')
            problem = "ワイルドカード（* ?）は使えません";
        else if (IsForbiddenInName(byte))
            problem = "名前に使えない文字が含まれています";
    });
    return problem;
}

const char* ExtensionProblem(const std::string& piece) {
    if (const char* problem = NameProblem(piece, false))
        return problem;
    bool dot = false;
    std::string text = piece;
    ForEachSingleByte(text, [&](char& c) { dot = dot || c == '.'; });
    return dot ? "拡張子は最後の「.」より後ろの部分だけを指定してください" : nullptr;
}

const char* FolderStepsProblem(const std::string& piece) {
    if (const char* problem = NameProblem(piece, true))
        return problem;
    for (const std::string& step : Pieces(piece, '\\')) {
        if (step.empty() || step == "." || step == "..")
            return "空のフォルダ名や「.」「..」は使えません";
        std::vector<size_t> starts = CharacterStarts(step);
        char last = step[starts.back()];
        if (starts.back() + 1 == step.size() && (last == '.' || last == ' '))
            return "フォルダ名の終わりに「.」や空白は使えません";
    }
    return nullptr;
}

// A piece that stays unusable whatever is taken off keeps the spelling it was
// given (blanks aside), so that its refusal names what the user wrote.
std::string NormalExtension(std::string piece) {
    piece = Trimmed(piece);
    // Blanks after the dot too (". txt"): the normal form is its own normal form.
    std::string extension = Trimmed(piece.compare(0, 2, "*.") == 0  ? piece.substr(2)
                                    : piece.compare(0, 1, ".") == 0 ? piece.substr(1)
                                                                    : piece);
    return ExtensionProblem(extension) == nullptr ? extension : piece;
}

std::string NormalFolder(std::string piece) {
    piece = Trimmed(piece);
    ForEachSingleByte(piece, [](char& c) {
        if (c == '/')
            c = '\\';
    });
    if (IsFullPathOrDrive(piece))
        return WithoutTrailingBackslash(piece); // taken as a folder by CheckJobLists
    // Backslashes are single bytes, so they can be taken off the front, and off
    // the end as long as the character before is not a double-byte one.
    size_t start = piece.find_first_not_of('\\');
    std::string folder = start == std::string::npos ? std::string() : piece.substr(start);
    while (EndsWithBackslash(folder))
        folder.pop_back();
    folder = Trimmed(folder); // blanks inside the backslashes: "\ tmp \"
    return folder.empty() || FolderStepsProblem(folder) == nullptr ? folder : piece;
}

std::wstring Lowered(const std::string& text) {
    std::wstring wide = AnsiToWide(text);
    if (!wide.empty())
        CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return wide;
}

// The path relative to the folder when it lies inside it; `inside` false
// otherwise. The folder itself gives an empty relative path.
bool RelativeInside(const std::string& path, const std::string& folder, std::string& relative) {
    if (folder.empty())
        return false;
    std::wstring lowPath = Lowered(path);
    std::wstring lowFolder = Lowered(folder);
    if (lowPath == lowFolder) {
        relative.clear();
        return true;
    }
    if (lowFolder.back() != L'\\')
        lowFolder += L'\\';
    if (lowPath.compare(0, lowFolder.size(), lowFolder) != 0)
        return false;
    std::wstring wide = AnsiToWide(path);
    relative = WideToAnsi(wide.data() + lowFolder.size(), wide.size() - lowFolder.size());
    return true;
}

// A full path as the relative folder it names inside one of the job's
// folders, or the reason it cannot be used.
const char* TakeFullPath(const JobSettings& job, std::string& piece) {
    if (!IsAbsolutePath(piece))
        return "ドライブ名を付けるときは、処理フォルダか参照フォルダの中のフォルダを"
               "フルパスで指定してください";
    std::string full = WithoutTrailingBackslash(MakeAbsolute(piece));
    std::string relative;
    if (!RelativeInside(full, job.processingFolder, relative) &&
        !RelativeInside(full, job.referenceFolder, relative))
        return "処理フォルダと参照フォルダのどちらの中のフォルダでもありません";
    if (relative.empty())
        return "処理フォルダや参照フォルダそのものは除外できません";
    piece = relative;
    return nullptr;
}

const char* PieceProblem(const JobSettings& job, JobListKind kind, std::string& piece) {
    if (kind == JobListKind::Extensions)
        return ExtensionProblem(piece);
    if (IsFullPathOrDrive(piece))
        if (const char* problem = TakeFullPath(job, piece))
            return problem;
    return FolderStepsProblem(piece);
}

void CheckList(JobSettings& job, const JobKey& key, std::vector<JobProblem>& problems) {
    std::string& text = job.*key.text;
    if (text.empty())
        return; // no list at all
    std::vector<std::string> pieces = Pieces(text);
    for (std::string& piece : pieces) {
        if (piece.empty())
            continue; // the designed meaning of an empty piece
        std::string given = piece;
        if (const char* problem = PieceProblem(job, key.list, piece))
            problems.push_back({key.name, std::string(key.label) + "（" + key.name + "）の「" +
                                              EscapeForText(given) + "」は使えません: " + problem});
    }
    text = Joined(pieces);
}

} // namespace

std::string NormaliseList(JobListKind kind, const std::string& text) {
    if (kind == JobListKind::None)
        return text;
    std::vector<std::string> pieces = Pieces(text);
    for (std::string& piece : pieces)
        piece = kind == JobListKind::Extensions ? NormalExtension(piece) : NormalFolder(piece);
    // A text of blanks alone is no list, as an empty one.
    if (pieces.size() == 1 && pieces[0].empty())
        return std::string();
    return Joined(pieces);
}

void NormaliseJobLists(JobSettings& job) {
    for (const JobKey& key : JobKeys())
        if (key.list != JobListKind::None)
            job.*key.text = NormaliseList(key.list, job.*key.text);
}

std::vector<JobProblem> CheckJobLists(JobSettings& job) {
    std::vector<JobProblem> problems;
    for (const JobKey& key : JobKeys()) {
        if (key.list == JobListKind::None)
            continue;
        if (key.list == JobListKind::Folders && job.includeSubfolders == 0)
            continue;
        CheckList(job, key, problems);
    }
    return problems;
}
