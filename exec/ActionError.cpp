#include "exec/ActionError.h"

#include "engine/SystemText.h"

namespace {

// What could not be done, with %s standing for the path, in ActionStep order.
const char* const kStepTexts[] = {
    "%s",
    "「%s」を読めません",
    "「%s」にコピー用の一時ファイルを作成できません",
    "「%s」へのコピーを書き込めません",
    "「%s」をコピーした新しい版に置き換えられません",
    "「%s」をコピーできません",
    "フォルダ「%s」を作成できません",
    "「%s」を削除できません",
    "「%s」をごみ箱に移せません",
    "「%s」は検索の後で変更されたか、なくなっています",
    "「%s」は削除しないことが選ばれました",
    "「%s」を世代管理フォルダに移せません",
    "「%s」を置き換えのために一時的な名前に変えられません",
    "「%s」に実行中の記録を書き込めません",
    "「%s」はリンクなどで同期するフォルダの外を指しているため、手を付けませんでした",
    "「%s」を移動できません",
    "「%s」へのコピーを読み返した内容が元のファイルと一致しません",
};
static_assert(sizeof kStepTexts / sizeof kStepTexts[0] ==
                  static_cast<size_t>(ActionStep::Verify) + 1,
              "one text for each step");

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
    std::string text = kStepTexts[static_cast<size_t>(error.step)];
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, error.path);
    if (error.code != 0) {
        std::string system = WithoutLineEnd(LastErrorText(error.code));
        text += ": " + (system.empty() ? "エラー " + std::to_string(error.code) : system);
    }
    return text;
}
