#include "ui/ResultCells.h"

#include <ctime>

#include "base/NameText.h"
#include "engine/CompareNoCase.h"
#include "engine/NameOrder.h"
#include "engine/SyncItem.h"
#include "run/PlanSummary.h"
#include "ui/ProgressTexts.h"

const char* OperationText(int operation) {
    switch (operation) {
    case Copy:
        return "コピー";
    case Create:
        return "作成";
    case Delete:
        return "削除";
    case Conflict:
        return "衝突";
    case Move:
        return "移動";
    }
    return "";
}

// Every kind of item carries a reason, and its text does not depend on the operation.
const char* ReasonText(int, int reason) {
    switch (reason) {
    case Date:
        return "日付";
    case Existence:
        return "存在";
    case SizeDiffers:
        return "サイズ";
    case Deleted:
        return "削除済";
    case Undo:
        return "元に戻す";
    case UndoChanged:
        return "実行後に変更";
    case UndoFromBin:
        return "ごみ箱から手で戻す";
    case UndoLost:
        return "元の版なし";
    case SameContent:
        return "内容が同じ";
    case NameCase:
        return "大文字小文字";
    case KindChanged:
        return "種類の変更";
    case MovedOut:
        return "中身を移動";
    }
    return "";
}

// A copy shows where the file goes; a creation or deletion shows the side it happens on.
const char* DirectionText(int operation, int direction) {
    bool toReference = direction == ProcessingToReference;
    if (direction != ProcessingToReference && direction != ReferenceToProcessing)
        return "";
    switch (operation) {
    case Copy:
        return toReference ? "処→参" : "参→処";
    case Create:
    case Delete:
    case Move:
        return toReference ? "参" : "処";
    case Conflict:
        return "処⇔参";
    }
    return "";
}

std::string LocalTimeText(const FILETIME& utc) {
    FILETIME local = {};
    SYSTEMTIME fields = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &fields))
        return std::string();
    time_t calendar = 0;
    if (fields.wYear >= 1900) {
        // Read as local standard time: the daylight flag is given, not guessed.
        tm broken = {};
        broken.tm_year = fields.wYear - 1900;
        broken.tm_mon = fields.wMonth - 1;
        broken.tm_mday = fields.wDay;
        broken.tm_hour = fields.wHour;
        broken.tm_min = fields.wMinute;
        broken.tm_sec = fields.wSecond;
        broken.tm_isdst = 0;
        calendar = mktime(&broken);
        if (calendar == static_cast<time_t>(-1))
            return std::string();
    }
    const tm* shown = localtime(&calendar);
    if (shown == nullptr)
        return std::string();
    char text[128] = {};
    strftime(text, sizeof text, "%Y/%m/%d %H:%M\"%S", shown);
    return text;
}

// A conflict's cells: both sides' times and sizes (a side without the entry: "なし").
std::string ConflictSideText(const FileEntry& entry) {
    if (entry.name.empty())
        return "なし";
    if (entry.IsFolder())
        return "フォルダ";
    return LocalTimeText(entry.lastWriteTime) + " " +
           GroupedNumber(static_cast<long long>(entry.Size())) + " B";
}

std::string CellText(int column, const SyncItem& item) {
    if (item.UndoesARun()) {
        // An undo's row: the reason says which; a copy comes from the versions
        // folder, so it shows the side it goes to, like a creation or deletion;
        // a conflict shows what the run left beside what is there now.
        if (column == 2)
            return ReasonText(item.operation, item.reason);
        if (column == 3)
            return DirectionText(Delete, item.direction != 0 ? ReferenceToProcessing
                                                             : ProcessingToReference);
        if (item.operation == Conflict && (column == 4 || column == 5))
            return ConflictSideText(column == 4 ? item.counterpart : item.subject);
    }
    if (item.operation == Conflict && (column == 2 || column == 4 || column == 5)) {
        if (column == 2)
            return item.reason == Deleted       ? "削除と変更"
                   : item.reason == KindChanged ? "種類の違い"
                                                : "両方で変更";
        // The old/new columns show the processing and the reference side.
        bool subjectIsProcessing = item.direction == ProcessingToReference;
        bool processingColumn = column == 4;
        return ConflictSideText(subjectIsProcessing == processingColumn ? item.subject
                                                                        : item.counterpart);
    }
    bool dateCopy = item.Replaces();
    switch (column) {
    case 0: // a move names where it was and where it goes
        return item.operation == Move
                   ? item.counterpart.RelativePath() + " → " + item.subject.RelativePath()
                   : item.subject.RelativePath();
    case 1:
        return OperationText(item.operation);
    case 2: // a creation or deletion is always about existence, but for its own reasons
        if (item.operation == Move ||
            (item.operation == Delete &&
             (item.reason == Deleted || item.reason == KindChanged || item.reason == MovedOut)))
            return ReasonText(item.operation, item.reason);
        if (item.operation == Create || item.operation == Delete)
            return ReasonText(item.operation, Existence);
        return item.operation == Copy ? ReasonText(item.operation, item.reason) : "";
    case 3: // any direction but 0 counts as towards the processing side
        return DirectionText(item.operation,
                             item.direction != 0 ? ReferenceToProcessing : ProcessingToReference);
    case 4:
        return dateCopy ? LocalTimeText(item.counterpart.lastWriteTime) : std::string();
    case 5:
        return dateCopy ? LocalTimeText(item.subject.lastWriteTime) : std::string();
    default:
        return std::string();
    }
}

bool CellMatches(const std::string& cell, const std::string& typed, bool whole) {
    if (typed.empty())
        return false;
    // A name without an ANSI form is matched on its UTF-16 text, folded as
    // names are compared (CAFÉ finds café).
    if (!IsPlainAnsi(cell) || !IsPlainAnsi(typed)) {
        std::wstring wideCell = FoldedName(WideFromText(cell));
        std::wstring wideTyped = FoldedName(WideFromText(typed));
        if (wideCell.size() < wideTyped.size() || (whole && wideCell.size() != wideTyped.size()))
            return false;
        return wideCell.compare(0, wideTyped.size(), wideTyped) == 0;
    }
    if (cell.size() < typed.size() || (whole && cell.size() != typed.size()))
        return false;
    // The cell is a relative path: matched as the program matches paths.
    return CompareNoCase(std::string_view(cell).substr(0, typed.size()), typed) == 0;
}

namespace {

void AddCount(std::string& text, const char* what, int count) {
    if (count == 0)
        return;
    text += (text.empty() ? "" : "、") + std::string(what) + " " + GroupedNumber(count) + " 件";
}

std::string SideText(const char* direction, const SideSummary& side) {
    if (side.IsEmpty())
        return std::string();
    std::string parts;
    AddCount(parts, "コピー", side.copies);
    if (side.copies > 0)
        parts += "（" + SizeText(side.copyBytes) + "）";
    AddCount(parts, "フォルダ作成", side.folderCreations);
    AddCount(parts, "ファイル削除", side.fileDeletions);
    AddCount(parts, "フォルダ削除", side.folderDeletions);
    AddCount(parts, "移動", side.moves);
    return std::string(direction) + ": " + parts;
}

} // namespace

std::string PlanSummaryText(const PlanSummary& summary) {
    std::string text;
    for (const std::string& part :
         {SideText("処→参", summary.toReference), SideText("参→処", summary.toProcessing),
          summary.conflicts > 0 ? "衝突 " + GroupedNumber(summary.conflicts) + " 件"
                                : std::string(),
          summary.leftOut > 0 ? "対象外 " + GroupedNumber(summary.leftOut) + " 件" : std::string()})
        if (!part.empty())
            text += (text.empty() ? "" : "　／　") + part;
    return text.empty() ? "予定の処理はありません" : text;
}
