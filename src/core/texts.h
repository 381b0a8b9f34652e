// Every message, caption and title the program shows, exactly as the user
// sees it, each once. The release labels and the platforms' tab captions
// are facts of their rows and stand in catalogue.cpp and platforms.cpp.
#pragma once

#include <array>
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
// A file to open with a launch that is not there; %s is its path.
inline constexpr std::u16string_view kFileNotFound = u"ファイル [%s] が見つかりません";
// A launch from the command line whose IDE did not start; %s is the
// executable.
inline constexpr std::u16string_view kIdeStartFailed = u"IDE を起動できません: %s";

// An IDE running with the key a launch writes or a restore replaces: the
// release's label, then the key below HKEY_CURRENT_USER.
inline constexpr std::u16string_view kIdeRunningQuestion =
    u"%s は既に実行中です (キー: %s)。実行中の IDE "
    u"は終了するときに設定を書き戻すため、この起動で書き込む設定が上書きされることがあります。起動しますか？";
inline constexpr std::u16string_view kIdeRunningRefusal =
    u"%s が実行中です (キー: %s)。IDE を終了してからやり直してください。";

// An alternate key made from the base key or deleted with its profile: %s
// are keys below HKEY_CURRENT_USER, the alternate one first.
inline constexpr std::u16string_view kReplaceAltKeyQuestion =
    u"代替レジストリキー [%s] を [%s] の内容で置き換えます。よろしいですか？";
inline constexpr std::u16string_view kDeleteAltKeyQuestion = u"代替レジストリキー [%s] も削除しますか？";
// An alternate key name that is no plain key name: %s is the name as typed.
inline constexpr std::u16string_view kAltRegInvalid = u"代替レジストリキー名 [%s] は使用できません";
// An alternate key that is, holds or lies inside another settings key: the
// name, then the release (or the profile) whose key it is.
inline constexpr std::u16string_view kAltRegOverlaps =
    u"代替レジストリキー [%s] は %s の設定キーと重なるため使用できません";
// A key that could not be deleted: the key below HKEY_CURRENT_USER; the
// system's description follows on a line of its own.
inline constexpr std::u16string_view kAltKeyDeleteFailed = u"代替レジストリキー [%s] を削除できませんでした";

// Launch backups. kBackupFailed: %s is the file or folder and the system's
// description. kBackupRefused: %s is the file. kRestoreQuestion: the release
// and key, then the backup's time.
inline constexpr std::u16string_view kBackupFailed = u"バックアップを作成できません: %s";
inline constexpr std::u16string_view kBackupRefused = u"このファイルは復元できません: %s";
inline constexpr std::u16string_view kRestoreQuestion = u"%s の設定を %s の状態に戻します。よろしいですか？";
inline constexpr std::u16string_view kRestoreCaption = u"起動前の設定に戻す";
inline constexpr std::u16string_view kRestoreButton = u"元に戻す(&R)";
inline constexpr std::array<std::u16string_view, 4> kBackupHeaders{u"日時", u"バージョン", u"キー", u"プロファイル"};

// The settings the IDE changed since the last launch. kChangedPackage: the
// package's description (its path where it has none); kChangedVariable: the
// variable's name; kChangedLibrary: the platform's tab, then the row's label.
inline constexpr std::u16string_view kChangesCaption = u"IDE で変更された設定";
inline constexpr std::u16string_view kChangesLabel =
    u"前回の起動の後に、次の設定が IDE またはインストーラーによって変更されました。"
    u"プロファイルに取り込む変更を選んでください。";
inline constexpr std::array<std::u16string_view, 3> kChangesHeaders{u"設定", u"前回書き込んだ値", u"現在の値"};
inline constexpr std::u16string_view kTakeInButton = u"取り込んで起動(&T)";
inline constexpr std::u16string_view kLaunchAsStoredButton = u"取り込まずに起動(&L)";
inline constexpr std::u16string_view kChangedPackage = u"無効パッケージ [%s]";
inline constexpr std::u16string_view kChangedVariable = u"環境変数 [%s]";
inline constexpr std::u16string_view kChangedLibrary = u"%s: %s";
inline constexpr std::u16string_view kPackageDisabled = u"無効";
inline constexpr std::u16string_view kPackageEnabled = u"有効";
inline constexpr std::u16string_view kSettingOn = u"オン";
inline constexpr std::u16string_view kSettingOff = u"オフ";
inline constexpr std::u16string_view kValueMissing = u"(なし)";

// Choosing the profile a file opens in (/open). kOpenLabel: the file's name.
inline constexpr std::u16string_view kOpenCaption = u"プロファイルの選択";
inline constexpr std::u16string_view kOpenLabel = u"[%s] を開くプロファイルを選んでください。";
inline constexpr std::u16string_view kRememberBox = u"次回からこのプロファイルで開く(&R)";
inline constexpr std::u16string_view kOpenButton = u"開く(&O)";

// Buttons of more than one window.
inline constexpr std::u16string_view kOkButton = u"OK";
inline constexpr std::u16string_view kCancelButton = u"キャンセル";

// The main window: its group, the list's columns and the actions.
inline constexpr std::u16string_view kProfileListGroup = u"プロファイルリスト";
inline constexpr std::array<std::u16string_view, 3> kProfileHeaders{u"プロファイル名", u"バージョン", u"備考"};
inline constexpr std::u16string_view kAddAction = u"追加(&A)";
inline constexpr std::u16string_view kEditAction = u"編集(&E)";
inline constexpr std::u16string_view kDeleteAction = u"削除(&D)";
inline constexpr std::u16string_view kLaunchAction = u"起動(&L)";
inline constexpr std::u16string_view kCopyAction = u"コピーを作成(&C)";
inline constexpr std::u16string_view kFindAction = u"検索";
inline constexpr std::u16string_view kShortcutAction = u"ショートカットを作成(&S)";
inline constexpr std::u16string_view kRestoreAction = u"起動前の設定に戻す(&B)...";
inline constexpr std::u16string_view kExplorerAction = u"エクスプローラーから開けるようにする(&O)";
// The entry in Explorer's context menu of project files, and the message of
// one that cannot be changed (%s: the system's description).
inline constexpr std::u16string_view kExplorerVerb = u"Ombrisk で開く";
inline constexpr std::u16string_view kExplorerEntryFailed = u"エクスプローラーのメニューを変更できません: %s";

// Profiles exported to a file and imported from one. kNotProfileFile: the
// file; kImportReplaceQuestion, kImportLeftOut: the profile's name;
// kImported, kImportedNotInstalled, kExported: a number.
inline constexpr std::u16string_view kExportAction = u"エクスポート(&X)...";
inline constexpr std::u16string_view kExportAllAction = u"すべてエクスポート(&W)...";
inline constexpr std::u16string_view kImportAction = u"インポート(&I)...";
inline constexpr std::u16string_view kProfileFileFilter = u"Ombrisk プロファイル (*.ombrisk)";
inline constexpr std::u16string_view kImportReplaceQuestion = u"プロファイル [%s] は既にあります。置き換えますか？";
inline constexpr std::u16string_view kImported = u"%d 件のプロファイルをインポートしました";
inline constexpr std::u16string_view kImportedNotInstalled = u"%d 件はインストールされていないリリースのものです";
inline constexpr std::u16string_view kNotProfileFile = u"ファイル [%s] は Ombrisk のプロファイルではありません";
inline constexpr std::u16string_view kImportLeftOut = u"プロファイル [%s] は既にあるため、インポートしませんでした";
inline constexpr std::u16string_view kExported = u"%d 件のプロファイルをエクスポートしました";

// The command line. kApplied: the profile's name. kChangesRefusal is
// followed by the changes, one a line.
inline constexpr std::u16string_view kUsage =
    u"使い方: Ombrisk.exe [/launch プロファイル名 [ファイル] | /open ファイル | /apply プロファイル名 | "
    u"/export ファイル [プロファイル名 ...] | /import ファイル]";
inline constexpr std::u16string_view kApplied = u"プロファイル [%s] を適用しました";
inline constexpr std::u16string_view kChangesRefusal =
    u"前回の起動の後に、次の設定が IDE またはインストーラーによって変更されています。"
    u"プロファイルを起動して、変更を取り込むかどうかを選んでからやり直してください。";

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
// The environment page's refusals: %d is the line's number from 1, %s the
// variable's name.
inline constexpr std::u16string_view kEnvironmentLineFormat = u"環境変数の %d 行目は 名前=値 の形式で入力してください";
inline constexpr std::u16string_view kEnvironmentDuplicate = u"環境変数 [%s] が重複しています";
inline constexpr std::u16string_view kEnvironmentValueTooLong = u"環境変数 [%s] の値が長すぎます";
// The editor's pages, labels, boxes and lists.
inline constexpr std::array<std::u16string_view, 5> kEditorPages{u"全般", u"パッケージ", u"ライブラリ", u"環境変数",
                                                                 u"プリプロセッサ"};
inline constexpr std::u16string_view kEnvironmentLabel = u"環境変数 (1 行に 1 つ、名前=値)(&B):";
inline constexpr std::u16string_view kNameLabel = u"プロファイル名(&E):";
inline constexpr std::u16string_view kVersionLabel = u"バージョン(&V):";
inline constexpr std::u16string_view kDescriptionLabel = u"備考(&D):";
inline constexpr std::u16string_view kParametersLabel = u"起動パラメータ(&P):";
inline constexpr std::u16string_view kBrowseButton = u"…";
inline constexpr std::u16string_view kDelphiOnlyBox = u"Delphi パーソナリティのみ起動(&D)";
inline constexpr std::u16string_view kNoSplashBox = u"スプラッシュを表示しない(&N)";
inline constexpr std::u16string_view kNoProjectBox = u"プロジェクトを読み込まない(&R)";
inline constexpr std::u16string_view kEmbeddedDesignerBox = u"埋め込みデザイナ(&M)";
inline constexpr std::u16string_view kIde64Box = u"64 ビット版 IDE(&6)";
inline constexpr std::u16string_view kRunAsAdminBox = u"管理者権限で起動(&U)";
inline constexpr std::u16string_view kNoCacheBox = u"キャッシュを利用しない(&C)";
inline constexpr std::u16string_view kAltRegBox = u"代替レジストリを使用する(&A)";
inline constexpr std::u16string_view kCopyBaseKeyButton = u"既定のキーからコピー(&Y)...";
inline constexpr std::u16string_view kAltRegInitBox = u"代替キーがなければ既定のキーから作成する(&I)";
inline constexpr std::u16string_view kMacroNote = u"以下のマクロ文字列が利用可能です。\r\n@$(DELPHI)@ , @$(BDS)@";
inline constexpr std::array<std::u16string_view, 2> kPackageHeaders{u"パッケージ名", u"パス"};
// The labels of a library tab's twelve rows, in the order of LibrarySettings.
inline constexpr std::array<std::u16string_view, 12> kLibraryLabels{
    u"ライブラリパス(&B):",         u"パッケージ出力ディレクトリ(&K):",
    u"DCP 出力ディレクトリ(&R):",   u"ブラウザ検索パス(&W):",
    u"パッケージ検索パス(&P):",     u"ユニットスコープ名 / 名前空間プレフィクス(&U):",
    u"デバッグ DCU パス(&D):",      u"言語ライブラリパス(&L):",
    u"翻訳済みライブラリパス(&T):", u"翻訳済みデバッグ DCU パス(&D):",
    u"翻訳済みリソースパス(&R):",   u"HPP 出力ディレクトリ(&H):",
};
// Placeholders of the new profile's empty edits.
inline constexpr std::u16string_view kNameHint = u"一意なプロファイル名を入力してください (必須)";
inline constexpr std::u16string_view kDescriptionHint = u"備考を入力してください (任意)";
inline constexpr std::u16string_view kParametersHint =
    u"プロジェクトファイル (*.dpr,*.dproj, *.dpk) 等を指定できます (任意)";
inline constexpr std::u16string_view kAltRegHint = u"代替レジストリ(必須)";

}  // namespace ombrisk::texts
