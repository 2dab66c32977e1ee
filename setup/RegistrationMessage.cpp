#include "setup/RegistrationMessage.h"

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
