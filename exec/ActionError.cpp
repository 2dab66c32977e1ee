#include "exec/ActionError.h"

#include "engine/SystemText.h"

namespace {

// What could not be done, with %s standing for the path.
const char* StepText(ActionStep step) {
    switch (step) {
    case ActionStep::ReadSource:
        return "「%s」を読めません";
    case ActionStep::CreateTemporary:
        return "「%s」にコピー用の一時ファイルを作成できません";
    case ActionStep::WriteCopy:
        return "「%s」へのコピーを書き込めません";
    case ActionStep::ReplaceTarget:
        return "「%s」をコピーした新しい版に置き換えられません";
    case ActionStep::ShellCopy:
        return "「%s」をコピーできません";
    case ActionStep::CreateFolder:
        return "フォルダ「%s」を作成できません";
    case ActionStep::Delete:
        return "「%s」を削除できません";
    case ActionStep::MoveToRecycleBin:
        return "「%s」をごみ箱に移せません";
    case ActionStep::ChangedSinceSearch:
        return "「%s」は検索の後で変更されたか、なくなっています";
    case ActionStep::Declined:
        return "「%s」は削除しないことが選ばれました";
    case ActionStep::None:
        break;
    }
    return "%s";
}

std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

ActionError StepFailed(ActionStep step, const std::string& path) {
    return StepFailed(step, path, GetLastError());
}

ActionError StepFailed(ActionStep step, const std::string& path, DWORD code) {
    ActionError error;
    error.step = step;
    error.path = path;
    error.code = code;
    return error;
}

std::string ActionErrorText(const ActionError& error) {
    std::string text = StepText(error.step);
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, error.path);
    if (error.code != 0) {
        std::string system = WithoutLineEnd(LastErrorText(error.code));
        text += ": " + (system.empty() ? "エラー " + std::to_string(error.code) : system);
    }
    return text;
}
