// Every message, caption and title the program shows, each once, by its
// identity: the texts themselves stand in the string tables of
// res/texts_*.rc, one per language. The release labels and the platforms'
// tab captions are facts of their rows and stand in catalogue.cpp and
// platforms.cpp; the caption "Ombrisk" is the same in every language.
#pragma once

#include <string_view>

#include "core/ui_text.h"
#include "text_ids.h"

namespace ombrisk::texts {

// Application
inline constexpr std::u16string_view kAppTitle = u"Ombrisk";
inline constexpr std::u16string_view kMainFormCaption = u"Ombrisk";

// Single instance
inline constexpr UiText kAlreadyRunning{IDS_ALREADY_RUNNING};
inline constexpr UiText kConfirmCaption{IDS_CONFIRM_CAPTION};

// Registry errors; %s is the key path or the value name.
inline constexpr UiText kRegistryCreateKeyFailed{IDS_REGISTRY_CREATE_KEY_FAILED};
inline constexpr UiText kRegistryWriteFailed{IDS_REGISTRY_WRITE_FAILED};
inline constexpr UiText kRegistryInvalidType{IDS_REGISTRY_INVALID_TYPE};
inline constexpr UiText kRegistryReadFailed{IDS_REGISTRY_READ_FAILED};

// Settings file errors; %s is the full path, then the system's description.
inline constexpr UiText kSettingsReadFailed{IDS_SETTINGS_READ_FAILED};
inline constexpr UiText kSettingsWriteFailed{IDS_SETTINGS_WRITE_FAILED};

inline constexpr UiText kErrorCaption{IDS_ERROR_CAPTION};
// An error of no type the program knows.
inline constexpr UiText kUnexpectedError{IDS_UNEXPECTED_ERROR};

// Search
inline constexpr UiText kNoMatch{IDS_NO_MATCH};
inline constexpr UiText kNoProfiles{IDS_NO_PROFILES};

// Delete; %s is the profile name.
inline constexpr UiText kDeleteProfileQuestion{IDS_DELETE_PROFILE_QUESTION};

// Launch; %s is the profile name.
inline constexpr UiText kProfileNotFound{IDS_PROFILE_NOT_FOUND};
// A file to open with a launch that is not there; %s is its path.
inline constexpr UiText kFileNotFound{IDS_FILE_NOT_FOUND};
// A launch from the command line whose IDE did not start; %s is the
// executable.
inline constexpr UiText kIdeStartFailed{IDS_IDE_START_FAILED};

// An IDE running with the key a launch writes or a restore replaces: the
// release's label, then the key below HKEY_CURRENT_USER.
inline constexpr UiText kIdeRunningQuestion{IDS_IDE_RUNNING_QUESTION};
inline constexpr UiText kIdeRunningRefusal{IDS_IDE_RUNNING_REFUSAL};

// An alternate key made from the base key or deleted with its profile: %s
// are keys below HKEY_CURRENT_USER, the alternate one first.
inline constexpr UiText kReplaceAltKeyQuestion{IDS_REPLACE_ALT_KEY_QUESTION};
inline constexpr UiText kDeleteAltKeyQuestion{IDS_DELETE_ALT_KEY_QUESTION};
// An alternate key name that is no plain key name: %s is the name as typed.
inline constexpr UiText kAltRegInvalid{IDS_ALT_REG_INVALID};
// An alternate key that is, holds or lies inside another settings key: the
// name, then the release (or the profile) whose key it is.
inline constexpr UiText kAltRegOverlaps{IDS_ALT_REG_OVERLAPS};
// A key that could not be deleted: the key below HKEY_CURRENT_USER; the
// system's description follows on a line of its own.
inline constexpr UiText kAltKeyDeleteFailed{IDS_ALT_KEY_DELETE_FAILED};

// Launch backups. kBackupFailed: %s is the file or folder and the system's
// description. kBackupRefused: %s is the file. kRestoreQuestion: the release
// and key, then the backup's time.
inline constexpr UiText kBackupFailed{IDS_BACKUP_FAILED};
inline constexpr UiText kBackupRefused{IDS_BACKUP_REFUSED};
inline constexpr UiText kRestoreQuestion{IDS_RESTORE_QUESTION};
inline constexpr UiText kRestoreCaption{IDS_RESTORE_CAPTION};
inline constexpr UiText kRestoreButton{IDS_RESTORE_BUTTON};
inline constexpr auto kBackupHeaders = TextRun<4>(IDS_BACKUP_HEADERS);

// The settings the IDE changed since the last launch. kChangedPackage: the
// package's description (its path where it has none); kChangedVariable: the
// variable's name; kChangedLibrary: the platform's tab, then the row's label.
inline constexpr UiText kChangesCaption{IDS_CHANGES_CAPTION};
inline constexpr UiText kChangesLabel{IDS_CHANGES_LABEL};
inline constexpr auto kChangesHeaders = TextRun<3>(IDS_CHANGES_HEADERS);
inline constexpr UiText kTakeInButton{IDS_TAKE_IN_BUTTON};
inline constexpr UiText kLaunchAsStoredButton{IDS_LAUNCH_AS_STORED_BUTTON};
inline constexpr UiText kChangedPackage{IDS_CHANGED_PACKAGE};
inline constexpr UiText kChangedVariable{IDS_CHANGED_VARIABLE};
inline constexpr UiText kChangedLibrary{IDS_CHANGED_LIBRARY};
inline constexpr UiText kPackageDisabled{IDS_PACKAGE_DISABLED};
inline constexpr UiText kPackageEnabled{IDS_PACKAGE_ENABLED};
inline constexpr UiText kSettingOn{IDS_SETTING_ON};
inline constexpr UiText kSettingOff{IDS_SETTING_OFF};
inline constexpr UiText kValueMissing{IDS_VALUE_MISSING};

// Choosing the profile a file opens in (/open). kOpenLabel: the file's name.
inline constexpr UiText kOpenCaption{IDS_OPEN_CAPTION};
inline constexpr UiText kOpenLabel{IDS_OPEN_LABEL};
inline constexpr UiText kRememberBox{IDS_REMEMBER_BOX};
inline constexpr UiText kOpenButton{IDS_OPEN_BUTTON};

// Buttons of more than one window.
inline constexpr UiText kOkButton{IDS_OK_BUTTON};
inline constexpr UiText kCancelButton{IDS_CANCEL_BUTTON};

// The main window: its group, the list's columns and the actions.
inline constexpr UiText kProfileListGroup{IDS_PROFILE_LIST_GROUP};
inline constexpr auto kProfileHeaders = TextRun<3>(IDS_PROFILE_HEADERS);
inline constexpr UiText kAddAction{IDS_ADD_ACTION};
inline constexpr UiText kEditAction{IDS_EDIT_ACTION};
inline constexpr UiText kDeleteAction{IDS_DELETE_ACTION};
inline constexpr UiText kLaunchAction{IDS_LAUNCH_ACTION};
inline constexpr UiText kCopyAction{IDS_COPY_ACTION};
inline constexpr UiText kFindAction{IDS_FIND_ACTION};
inline constexpr UiText kShortcutAction{IDS_SHORTCUT_ACTION};
inline constexpr UiText kRestoreAction{IDS_RESTORE_ACTION};
inline constexpr UiText kExplorerAction{IDS_EXPLORER_ACTION};
// The entry in Explorer's context menu of project files, and the message of
// one that cannot be changed (%s: the system's description).
inline constexpr UiText kExplorerVerb{IDS_EXPLORER_VERB};
inline constexpr UiText kExplorerEntryFailed{IDS_EXPLORER_ENTRY_FAILED};

// Profiles exported to a file and imported from one. kNotProfileFile: the
// file; kImportReplaceQuestion, kImportLeftOut: the profile's name;
// kImported, kImportedNotInstalled, kExported: a number.
inline constexpr UiText kExportAction{IDS_EXPORT_ACTION};
inline constexpr UiText kExportAllAction{IDS_EXPORT_ALL_ACTION};
inline constexpr UiText kImportAction{IDS_IMPORT_ACTION};
inline constexpr UiText kProfileFileFilter{IDS_PROFILE_FILE_FILTER};
inline constexpr UiText kImportReplaceQuestion{IDS_IMPORT_REPLACE_QUESTION};
inline constexpr UiText kImported{IDS_IMPORTED};
inline constexpr UiText kImportedNotInstalled{IDS_IMPORTED_NOT_INSTALLED};
inline constexpr UiText kNotProfileFile{IDS_NOT_PROFILE_FILE};
inline constexpr UiText kImportLeftOut{IDS_IMPORT_LEFT_OUT};
inline constexpr UiText kExported{IDS_EXPORTED};

// The command line. kApplied: the profile's name. kChangesRefusal is
// followed by the changes, one a line.
inline constexpr UiText kUsage{IDS_USAGE};
inline constexpr UiText kApplied{IDS_APPLIED};
inline constexpr UiText kChangesRefusal{IDS_CHANGES_REFUSAL};

// A profile's shortcut; %s is the shortcut's name.
inline constexpr UiText kShortcutExists{IDS_SHORTCUT_EXISTS};
inline constexpr UiText kShortcutFailed{IDS_SHORTCUT_FAILED};

// The file types the browse button offers.
inline constexpr UiText kProjectFilesFilter{IDS_PROJECT_FILES_FILTER};
inline constexpr UiText kPackageFilesFilter{IDS_PACKAGE_FILES_FILTER};
inline constexpr UiText kAllFilesFilter{IDS_ALL_FILES_FILTER};

// The profile editor
inline constexpr UiText kEditProfileCaption{IDS_EDIT_PROFILE_CAPTION};
inline constexpr UiText kNewProfileCaption{IDS_NEW_PROFILE_CAPTION};
inline constexpr UiText kNewProfileName{IDS_NEW_PROFILE_NAME};
inline constexpr UiText kCopyNamePrefix{IDS_COPY_NAME_PREFIX};
inline constexpr UiText kDuplicateProfile{IDS_DUPLICATE_PROFILE};
inline constexpr UiText kEmptyProfileName{IDS_EMPTY_PROFILE_NAME};
inline constexpr UiText kEmptyAltReg{IDS_EMPTY_ALT_REG};
inline constexpr UiText kMultiLinePreProcess{IDS_MULTI_LINE_PRE_PROCESS};
// The environment page's refusals: %d is the line's number from 1, %s the
// variable's name.
inline constexpr UiText kEnvironmentLineFormat{IDS_ENVIRONMENT_LINE_FORMAT};
inline constexpr UiText kEnvironmentDuplicate{IDS_ENVIRONMENT_DUPLICATE};
inline constexpr UiText kEnvironmentValueTooLong{IDS_ENVIRONMENT_VALUE_TOO_LONG};
// The editor's pages, labels, boxes and lists.
inline constexpr auto kEditorPages = TextRun<5>(IDS_EDITOR_PAGES);
inline constexpr UiText kEnvironmentLabel{IDS_ENVIRONMENT_LABEL};
inline constexpr UiText kNameLabel{IDS_NAME_LABEL};
inline constexpr UiText kVersionLabel{IDS_VERSION_LABEL};
inline constexpr UiText kDescriptionLabel{IDS_DESCRIPTION_LABEL};
inline constexpr UiText kParametersLabel{IDS_PARAMETERS_LABEL};
inline constexpr UiText kBrowseButton{IDS_BROWSE_BUTTON};
inline constexpr UiText kDelphiOnlyBox{IDS_DELPHI_ONLY_BOX};
inline constexpr UiText kNoSplashBox{IDS_NO_SPLASH_BOX};
inline constexpr UiText kNoProjectBox{IDS_NO_PROJECT_BOX};
inline constexpr UiText kEmbeddedDesignerBox{IDS_EMBEDDED_DESIGNER_BOX};
inline constexpr UiText kIde64Box{IDS_IDE64_BOX};
inline constexpr UiText kRunAsAdminBox{IDS_RUN_AS_ADMIN_BOX};
inline constexpr UiText kNoCacheBox{IDS_NO_CACHE_BOX};
inline constexpr UiText kAltRegBox{IDS_ALT_REG_BOX};
inline constexpr UiText kCopyBaseKeyButton{IDS_COPY_BASE_KEY_BUTTON};
inline constexpr UiText kAltRegInitBox{IDS_ALT_REG_INIT_BOX};
inline constexpr UiText kMacroNote{IDS_MACRO_NOTE};
inline constexpr auto kPackageHeaders = TextRun<2>(IDS_PACKAGE_HEADERS);
// The labels of a library tab's twelve rows, in the order of LibrarySettings.
inline constexpr auto kLibraryLabels = TextRun<12>(IDS_LIBRARY_LABELS);
// Placeholders of the new profile's empty edits.
inline constexpr UiText kNameHint{IDS_NAME_HINT};
inline constexpr UiText kDescriptionHint{IDS_DESCRIPTION_HINT};
inline constexpr UiText kParametersHint{IDS_PARAMETERS_HINT};
inline constexpr UiText kAltRegHint{IDS_ALT_REG_HINT};

}  // namespace ombrisk::texts
