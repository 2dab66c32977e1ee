#include "exec/RunRecord.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "base/LocalData.h"
#include "base/NameText.h"
#include "base/WideFiles.h"

namespace {

const char kSignature[] = "Orvane run record 1 ";
const size_t kSignatureLength = sizeof kSignature - 1;
// A record is a line per row; anything larger is not one of ours.
const DWORD kLargestRecord = 256u << 20;
const unsigned long long kTicksPerDay = 10000000ull * 60 * 60 * 24;

unsigned long long Bits(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME TimeOf(unsigned long long bits) {
    return {static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
}

std::string Hex(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llx", value);
    return text;
}

// Hexadecimal digits only, at most 16 of them.
bool ReadHex(std::string_view text, unsigned long long* value) {
    if (text.empty() || text.size() > 16)
        return false;
    *value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return false;
        *value = *value << 4 | static_cast<unsigned>(digit);
    }
    return true;
}

char NetLetter(OldVersions::Net net) {
    return net == OldVersions::Net::Versions     ? 'V'
           : net == OldVersions::Net::RecycleBin ? 'B'
                                                 : 'N';
}

std::vector<std::string_view> Fields(std::string_view body) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = body.find('\t', start);
        fields.push_back(body.substr(start, tab == body.npos ? tab : tab - start));
        if (tab == body.npos)
            return fields;
        start = tab + 1;
    }
}

std::string RowBody(const RecordedRow& row) {
    return std::string("row\t") + static_cast<char>(row.action) + "\t" +
           (row.processingSide ? "P" : "R") + "\t" + row.relativePath + "\t" + Hex(row.size) +
           "\t" + Hex(Bits(row.time)) + "\t" + NetLetter(row.net) + "\t" + row.saved + "\t" +
           Hex(row.oldSize) + "\t" + Hex(Bits(row.oldTime)) + "\t" + row.from;
}

bool ReadRow(const std::vector<std::string_view>& fields, RecordedRow* row) {
    unsigned long long time = 0, oldTime = 0;
    if (fields.size() != 11 || fields[1].size() != 1 ||
        std::string_view("CRMDXNG").find(fields[1][0]) == std::string_view::npos ||
        (fields[2] != "P" && fields[2] != "R") || fields[3].empty() ||
        !ReadHex(fields[4], &row->size) || !ReadHex(fields[5], &time) ||
        (fields[6] != "V" && fields[6] != "B" && fields[6] != "N") ||
        !ReadHex(fields[8], &row->oldSize) || !ReadHex(fields[9], &oldTime))
        return false;
    row->action = static_cast<RecordedRow::Action>(fields[1][0]);
    row->processingSide = fields[2] == "P";
    row->relativePath = std::string(fields[3]);
    row->time = TimeOf(time);
    row->net = fields[6] == "V"   ? OldVersions::Net::Versions
               : fields[6] == "B" ? OldVersions::Net::RecycleBin
                                  : OldVersions::Net::Permanent;
    row->saved = std::string(fields[7]);
    row->oldTime = TimeOf(oldTime);
    row->from = std::string(fields[10]);
    const bool moved = row->action == RecordedRow::Moved || row->action == RecordedRow::MovedFolder;
    return moved != row->from.empty();
}

std::vector<std::string> HeaderBodies(const RunRecordHeader& header) {
    std::vector<std::string> bodies = {
        "start\t" + header.start, "job\t" + header.jobPath,
        "pair\t" + header.processingFolder + "\t" + header.referenceFolder,
        "versions\t" + header.processingVersions + "\t" + header.referenceVersions};
    if (!header.undoes.empty())
        bodies.push_back("undoes\t" + header.undoes);
    return bodies;
}

std::string SealedLine(const std::string& body, const std::string& number, const UserSeal& seal) {
    std::string tag = seal.Tag(number + "\n" + body);
    return body + "\t" + (tag.empty() ? "-" : tag) + "\r\n";
}

} // namespace

bool RecordedRow::operator==(const RecordedRow& other) const {
    return RowBody(*this) == RowBody(other);
}

std::string RunRecordText(const RunRecord& record, const std::string& number,
                          const UserSeal& seal) {
    std::string text = kSignature + number + "\r\n";
    for (const std::string& body : HeaderBodies(record.header))
        text += SealedLine(body, number, seal);
    for (const RecordedRow& row : record.rows)
        text += SealedLine(RowBody(row), number, seal);
    return text;
}

bool ReadRunRecordText(std::string_view text, const UserSeal& seal, RunRecord* record) {
    *record = RunRecord();
    size_t end = text.find("\r\n");
    if (text.substr(0, kSignatureLength) != kSignature || end == text.npos)
        return false;
    const std::string number(text.substr(kSignatureLength, end - kSignatureLength));
    bool hasStart = false, hasPair = false, hasVersions = false;
    for (size_t at = end + 2; at < text.size();) {
        end = text.find("\r\n", at);
        // A line without its end was cut by a kill: it records nothing done.
        if (end == text.npos)
            break;
        std::string_view line = text.substr(at, end - at);
        at = end + 2;
        size_t lastTab = line.rfind('\t');
        if (lastTab == line.npos ||
            !seal.Checks(number + "\n" + std::string(line.substr(0, lastTab)),
                         line.substr(lastTab + 1)))
            return false;
        std::vector<std::string_view> fields = Fields(line.substr(0, lastTab));
        const std::string_view kind = fields[0];
        RunRecordHeader& header = record->header;
        if (kind == "row") {
            RecordedRow row;
            if (!hasStart || !hasPair || !hasVersions || !ReadRow(fields, &row))
                return false;
            record->rows.push_back(std::move(row));
        } else if (kind == "start" && fields.size() == 2 &&
                   IsRunFolderName(std::string(fields[1]))) {
            header.start = std::string(fields[1]);
            hasStart = true;
        } else if (kind == "job" && fields.size() == 2) {
            header.jobPath = std::string(fields[1]);
        } else if (kind == "pair" && fields.size() == 3) {
            header.processingFolder = std::string(fields[1]);
            header.referenceFolder = std::string(fields[2]);
            hasPair = true;
        } else if (kind == "versions" && fields.size() == 3) {
            header.processingVersions = std::string(fields[1]);
            header.referenceVersions = std::string(fields[2]);
            hasVersions = true;
        } else if (kind == "undoes" && fields.size() == 2 &&
                   IsRunFolderName(std::string(fields[1]))) {
            header.undoes = std::string(fields[1]);
        } else {
            return false;
        }
    }
    return hasStart && hasPair && hasVersions;
}

RunRecorder::RunRecorder(std::string folder, RunRecordHeader header, const UserSeal& seal)
    : folder_(std::move(folder)), header_(std::move(header)), seal_(seal), number_(RandomHex(16)) {}

bool RunRecorder::Open() {
    if (file_.IsOpen())
        return true;
    if (failed_ || folder_.empty() || !MakeFolderPath(folder_))
        return failed_ = true, false;
    // A run of the same second gets "-2": each record is a new file.
    for (int number = 1; number < 1000 && !file_.IsOpen(); ++number) {
        std::string name = header_.start;
        if (number > 1)
            name += '-' + std::to_string(number);
        path_ = folder_ + "\\" + name + ".run";
        file_ = FileHandle(
            OpenPath(path_, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        if (!file_.IsOpen() && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            break;
        if (file_.IsOpen())
            header_.start = name;
    }
    if (!file_.IsOpen())
        return failed_ = true, false;
    std::string first = kSignature + number_ + "\r\n";
    DWORD written = 0;
    if (!WriteFile(file_.Get(), first.data(), static_cast<DWORD>(first.size()), &written, nullptr))
        return failed_ = true, false;
    for (const std::string& body : HeaderBodies(header_))
        if (!WriteLine(body))
            return false;
    return true;
}

bool RunRecorder::WriteLine(const std::string& body) {
    std::string line = SealedLine(body, number_, seal_);
    DWORD written = 0;
    if (!WriteFile(file_.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size() || !FlushFileBuffers(file_.Get()))
        return failed_ = true, false;
    return true;
}

bool RunRecorder::Add(const RecordedRow& row) {
    return Open() && WriteLine(RowBody(row));
}

std::vector<RunRecord> ReadRunRecords(const std::string& folder, const UserSeal& seal) {
    std::vector<RunRecord> records;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(folder + "\\*.run").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return records;
    do {
        std::string path =
            folder + "\\" + TextFromWide(found.cFileName, std::wcslen(found.cFileName));
        FileHandle file(OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
        LARGE_INTEGER size = {};
        if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestRecord)
            continue;
        std::string text(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (!text.empty() &&
            !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr))
            continue;
        text.resize(got);
        RunRecord record;
        if (ReadRunRecordText(text, seal, &record)) {
            record.path = path;
            records.push_back(std::move(record));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    // Newest first; a run of the same second with a number after the earlier one.
    std::sort(records.begin(), records.end(), [](const RunRecord& a, const RunRecord& b) {
        const std::string &x = a.header.start, &y = b.header.start;
        return x.size() != y.size() && x.compare(0, 15, y, 0, 15) == 0 ? x.size() > y.size()
                                                                       : x > y;
    });
    return records;
}

void PruneRunRecords(const std::string& folder, int days, int runs, const SYSTEMTIME& now) {
    if (days <= 0 && runs <= 0)
        return;
    FILETIME nowTime;
    SystemTimeToFileTime(&now, &nowTime);
    std::vector<std::pair<unsigned long long, std::string>> found; // start, path
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(WidePath(folder + "\\*.run").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = TextFromWide(entry.cFileName, std::wcslen(entry.cFileName));
        FILETIME start;
        if (name.size() > 4 && RunFolderStart(name.substr(0, name.size() - 4), &start))
            found.push_back({Bits(start), folder + "\\" + name});
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second > b.second;
    });
    for (size_t i = 0; i < found.size(); ++i) {
        bool tooOld = days > 0 && found[i].first + days * kTicksPerDay < Bits(nowTime);
        // Pruned as a run starts: its own record is the last of those kept.
        bool tooMany = runs > 0 && i + 1 >= static_cast<size_t>(runs);
        if (tooOld || tooMany)
            DeleteFileAt(found[i].second);
    }
}
