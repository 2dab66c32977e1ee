#include "setup/RegistrationMessage.h"

#include "setup/ErrorText.h"

std::string InstalledMessage(const std::string& folder) {
    return "インストールが完了しました\n"
           "\n"
           "登録した内容:\n"
           "・拡張子 .orvane のファイルを Orvane で開く関連付け\n"
           "・プログラムの一覧の「フォルダ同期ツール　Orvane」（アンインストール用）\n"
           "\n"
           "ファイルはコピーしていません。プログラムはこのフォルダのまま使います:\n" +
           folder;
}

std::string NotInstalledMessage(const std::vector<RegistrationFailure>& failures) {
    std::string message =
        "インストールを完了できませんでした\n"
        "\n"
        "次のレジストリ キーに書き込めなかったため、登録の一部が行われていません:";
    for (const RegistrationFailure& failure : failures)
        message += "\n" + failure.key + "\n理由: " + ErrorText(failure.status);
    return message;
}
