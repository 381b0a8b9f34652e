// Every message, caption and title the program shows, exactly as the user
// sees it. Texts that belong to a table row (release labels, platform tab
// captions, library labels) stand in their tables in catalogue.cpp and
// platforms.cpp.
#pragma once

#include <string_view>

namespace ombrisk::texts {

// Application
inline constexpr std::u16string_view kAppTitle = u"Ombrisk";
inline constexpr std::u16string_view kMainFormCaption = u"Ombrisk";

// Single instance
inline constexpr std::u16string_view kAlreadyRunning = u"既に起動しています。";
inline constexpr std::u16string_view kConfirmCaption = u"確認";

// Registry errors; %s is the key path or the value name.
inline constexpr std::u16string_view kRegistryCreateKeyFailed = u"キー %s の作成に失敗しました";
inline constexpr std::u16string_view kRegistryWriteFailed = u"'%s' の設定に失敗しました";
inline constexpr std::u16string_view kRegistryInvalidType = u"'%s' のデータ型が不正です";
inline constexpr std::u16string_view kRegistryReadFailed = u"'%s' の取得に失敗しました";

// Settings file errors; %s is the full path, then the system's description.
inline constexpr std::u16string_view kSettingsReadFailed = u"ファイル %s は開けません。 %s ";
inline constexpr std::u16string_view kSettingsWriteFailed = u"ファイル \"%s\" を作成できません。%s";

inline constexpr std::u16string_view kErrorCaption = u"エラー";
// An error of no type the program knows.
inline constexpr std::u16string_view kUnexpectedError = u"予期しないエラーが発生しました";

// Search
inline constexpr std::u16string_view kNoMatch = u"一致するデータがありませんでした。";
inline constexpr std::u16string_view kNoProfiles = u"プロファイルが存在しません。";

// Delete; %s is the profile name.
inline constexpr std::u16string_view kDeleteProfileQuestion = u"プロファイル [%s] を削除してよろしいですか？";

// Launch; %s is the profile name.
inline constexpr std::u16string_view kProfileNotFound = u"プロファイル [%s] が見つかりません";
// A launch from the command line whose IDE did not start; %s is the
// executable.
inline constexpr std::u16string_view kIdeStartFailed = u"IDE を起動できません: %s";

// Launch backups. kBackupFailed: %s is the file or folder and the system's
// description. kBackupRefused: %s is the file. kRestoreQuestion: the release
// and key, then the backup's time.
inline constexpr std::u16string_view kBackupFailed = u"バックアップを作成できません: %s";
inline constexpr std::u16string_view kBackupRefused = u"このファイルは復元できません: %s";
inline constexpr std::u16string_view kRestoreQuestion = u"%s の設定を %s の状態に戻します。よろしいですか？";
inline constexpr std::u16string_view kRestoreCaption = u"起動前の設定に戻す";
inline constexpr std::u16string_view kRestoreButton = u"元に戻す(&R)";
inline constexpr std::u16string_view kCancelButton = u"キャンセル";

// The command line
inline constexpr std::u16string_view kUsage = u"使い方: Ombrisk.exe [/launch プロファイル名]";

// A profile's shortcut; %s is the shortcut's name.
inline constexpr std::u16string_view kShortcutExists = u"ショートカット [%s] は既に存在します。上書きしますか？";
inline constexpr std::u16string_view kShortcutFailed = u"ショートカット [%s] を作成できません";

// The profile editor
inline constexpr std::u16string_view kEditProfileCaption = u"プロファイルの編集";
inline constexpr std::u16string_view kNewProfileCaption = u"プロファイルの新規作成";
inline constexpr std::u16string_view kNewProfileName = u"新規プロファイル";
inline constexpr std::u16string_view kCopyNamePrefix = u"コピー ～ ";
inline constexpr std::u16string_view kDuplicateProfile = u"同名のプロファイルが存在します";
inline constexpr std::u16string_view kEmptyProfileName = u"プロファイル名が空白です";
inline constexpr std::u16string_view kEmptyAltReg = u"代替レジストリキーが空白です";
inline constexpr std::u16string_view kMultiLinePreProcess = u"プリプロセッサのコマンドは 1 行で入力してください";
// Placeholders of the new profile's empty edits.
inline constexpr std::u16string_view kNameHint = u"一意なプロファイル名を入力してください (必須)";
inline constexpr std::u16string_view kDescriptionHint = u"備考を入力してください (任意)";
inline constexpr std::u16string_view kParametersHint =
    u"プロジェクトファイル (*.dpr,*.dproj, *.dpk) 等を指定できます (任意)";
inline constexpr std::u16string_view kAltRegHint = u"代替レジストリ(必須)";

}  // namespace ombrisk::texts
