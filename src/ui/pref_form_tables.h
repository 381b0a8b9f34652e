// The editor's tables: its components, as a form designer lists them, and
// the controls that hold a profile's fields. Included by pref_form.cpp
// alone.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "core/profile_store.h"
#include "ui/components.h"
#include "ui/controls.h"

namespace ombrisk {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// The pages of PC1, in order.
enum Page : int { kGeneralPage, kPackagePage, kLibraryPage, kPreProcessPage };
constexpr const wchar_t* kPages[] = {L"TabSheet1", L"tsPackage", L"tsLibrary", L"TabSheet2"};
constexpr std::u16string_view kPageCaptions[] = {u"全般", u"パッケージ", u"ライブラリ", u"プリプロセッサ"};

// Control ids start above IDOK and IDCANCEL, which Enter and Esc send.
enum ControlId : int {
  kPC1 = 100,
  kPcLibrary,
  kED01,
  kCB01,
  kED02,
  kED09,
  kBtnRef,
  kCHB1,
  kCHB2,
  kCHB3,
  kChbEmbedded,
  kChbIde64,
  kCHB6,
  kCHB4,
  kCHB5,
  kED10,
  kLV1,
  kMemo1,
  kButton4,
  kButton5,
};

constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
constexpr unsigned kFixed = akLeft | akTop;

// PC1 first; its pages are made by the page control and lie above it. Then
// every control in Tab order: each label right before the control its
// mnemonic moves to. A label is as large as its text; a check box grows
// where the system's font needs more room for its caption. FormShow sets the
// width of ED09 and places btnRef beside it.
constexpr ComponentRow kComponents[] = {
    {L"PC1",
     nullptr,
     WC_TABCONTROLW,
     u"",
     {0, 0, 600, 363},
     kFixed,
     WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN,
     0,
     kPC1,
     kPlain},
    {L"Label1", L"TabSheet1", L"STATIC", u"プロファイル名(&E):", {20, 24, 0, 0}, kFixed, SS_LEFT, 0, 0, kFitText},
    {L"ED01", L"TabSheet1", L"EDIT", u"", {20, 39, 549, 21}, kFixed, kEdit, WS_EX_CLIENTEDGE, kED01, kPlain},
    {L"Label2", L"TabSheet1", L"STATIC", u"バージョン(&V):", {20, 71, 0, 0}, kFixed, SS_LEFT, 0, 0, kFitText},
    // The height includes the dropped-down list.
    {L"CB01",
     L"TabSheet1",
     L"COMBOBOX",
     u"",
     {20, 86, 545, 300},
     kFixed,
     WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
     0,
     kCB01,
     kImeOff},
    {L"Label3", L"TabSheet1", L"STATIC", u"備考(&D):", {20, 124, 0, 0}, kFixed, SS_LEFT, 0, 0, kFitText},
    {L"ED02", L"TabSheet1", L"EDIT", u"", {20, 139, 545, 21}, kFixed, kEdit, WS_EX_CLIENTEDGE, kED02, kPlain},
    {L"Label10", L"TabSheet1", L"STATIC", u"起動パラメータ(&P):", {20, 168, 0, 0}, kFixed, SS_LEFT, 0, 0, kFitText},
    {L"ED09", L"TabSheet1", L"EDIT", u"", {20, 183, 528, 21}, kFixed, kEdit, WS_EX_CLIENTEDGE, kED09, kImeOff},
    {L"btnRef", L"TabSheet1", L"BUTTON", u"…", {548, 183, 21, 21}, kFixed, kButton, 0, kBtnRef, kPlain},
    {L"CHB1",
     L"TabSheet1",
     L"BUTTON",
     u"Delphi パーソナリティのみ起動(&D)",
     {20, 220, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kCHB1,
     kFitText},
    {L"CHB2",
     L"TabSheet1",
     L"BUTTON",
     u"スプラッシュを表示しない(&N)",
     {20, 243, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kCHB2,
     kFitText},
    {L"CHB3",
     L"TabSheet1",
     L"BUTTON",
     u"プロジェクトを読み込まない(&R)",
     {20, 266, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kCHB3,
     kFitText},
    {L"chbEmbedded",
     L"TabSheet1",
     L"BUTTON",
     u"埋め込みデザイナ(&M)",
     {20, 289, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kChbEmbedded,
     kFitText},
    {L"chbIde64",
     L"TabSheet1",
     L"BUTTON",
     u"64 ビット版 IDE(&6)",
     {20, 312, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kChbIde64,
     kFitText},
    {L"CHB6",
     L"TabSheet1",
     L"BUTTON",
     u"管理者権限で起動(&U)",
     {285, 220, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kCHB6,
     kFitText},
    {L"CHB4",
     L"TabSheet1",
     L"BUTTON",
     u"キャッシュを利用しない(&C)",
     {285, 243, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kCHB4,
     kFitText},
    {L"CHB5",
     L"TabSheet1",
     L"BUTTON",
     u"代替レジストリを使用する(&A)",
     {285, 266, 201, 17},
     kFixed,
     kCheckBox,
     0,
     kCHB5,
     kFitText},
    {L"ED10",
     L"TabSheet1",
     L"EDIT",
     u"",
     {304, 289, 153, 21},
     kFixed,
     kEdit | ES_UPPERCASE,
     WS_EX_CLIENTEDGE,
     kED10,
     kImeOff},
    {L"LV1",
     L"tsPackage",
     WC_LISTVIEWW,
     u"",
     {0, 0, 0, 0},
     kFixed,
     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE,
     kLV1,
     kFillParent},
    {L"pcLibrary",
     L"tsLibrary",
     WC_TABCONTROLW,
     u"",
     {0, 0, 0, 0},
     kFixed,
     WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN,
     0,
     kPcLibrary,
     kFillParent},
    {L"Memo1",
     L"TabSheet2",
     L"EDIT",
     u"",
     {3, 8, 582, 272},
     kFixed,
     WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
     WS_EX_CLIENTEDGE,
     kMemo1,
     kImeOff},
    {L"Label4",
     L"TabSheet2",
     L"STATIC",
     u"以下のマクロ文字列が利用可能です。\r\n@$(DELPHI)@ , @$(BDS)@",
     {4, 289, 581, 42},
     kFixed,
     SS_LEFT,
     0,
     0,
     kPlain},
    {L"Panel1", nullptr, kPanelClass, u"", {0, 363, 600, 37}, kFixed, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, kPlain},
    {L"Button4", L"Panel1", L"BUTTON", u"OK", {394, 6, 96, 25}, kFixed, kButton, 0, kButton4, kPlain},
    {L"Button5", L"Panel1", L"BUTTON", u"キャンセル", {496, 6, 96, 25}, kFixed, kButton, 0, kButton5, kPlain},
};

// The controls that hold the profile's settings: a check box's state or an
// edit's text, each bound to its setting's row.
struct FieldBinding {
  const ProfileKey* key;
  int control;
};
constexpr FieldBinding kBindings[] = {
    {&profile_keys::kDescription, kED02}, {&profile_keys::kDelphiOnly, kCHB1},
    {&profile_keys::kNoSplash, kCHB2},    {&profile_keys::kNoProject, kCHB3},
    {&profile_keys::kNoCache, kCHB4},     {&profile_keys::kUseAltReg, kCHB5},
    {&profile_keys::kRunAsAdmin, kCHB6},  {&profile_keys::kAltReg, kED10},
    {&profile_keys::kParameters, kED09},  {&profile_keys::kEmbeddedDesigner, kChbEmbedded},
    {&profile_keys::kIde64, kChbIde64},   {&profile_keys::kPreProcess, kMemo1},
};

}  // namespace
}  // namespace ombrisk
