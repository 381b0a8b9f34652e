// The main window's tables: its actions and its components, as a form
// designer lists them. Included by main_form.cpp alone.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <array>

#include "ui/actions.h"
#include "ui/components.h"
#include "ui/controls.h"
#include "ui/main_form.h"

namespace ombrisk {
namespace {

constexpr int kFirstActionCommand = 1000;
constexpr int kListId = 200;
constexpr DWORD kPanel = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

constexpr int Command(TMAIN_FORM::Action action) { return kFirstActionCommand + action; }

// The actions table: caption, image in IL1 (-1 none), shortcut and its text.
constexpr ActionInfo kActions[TMAIN_FORM::kActionCount] = {
    {u"追加(&A)", 2, FVIRTKEY, VK_INSERT, u"Ins"},
    {u"編集(&E)", 3, 0, 0, u""},
    {u"削除(&D)", 4, FVIRTKEY, VK_DELETE, u"Del"},
    {u"起動(&L)", 0, 0, 0, u""},
    {u"キャンセル", -1, 0, 0, u""},
    {u"コピーを作成(&C)", -1, 0, 0, u""},
    {u"検索", 1, FVIRTKEY | FCONTROL, 'F', u"Ctrl+F"},
    {u"ショートカットを作成(&S)", 5, 0, 0, u""},
    {u"起動前の設定に戻す(&B)...", -1, 0, 0, u""},
};

// PopupMenu1 from top to bottom; -1 is a separator (N1, N3, N2).
constexpr int kPopupItems[] = {TMAIN_FORM::AL_ADD,
                               TMAIN_FORM::AL_EDIT,
                               TMAIN_FORM::AL_DELETE,
                               -1,
                               TMAIN_FORM::AL_COPY,
                               TMAIN_FORM::AL_SHORTCUT,
                               -1,
                               TMAIN_FORM::AL_FIND,
                               -1,
                               TMAIN_FORM::AL_LAUNCH,
                               TMAIN_FORM::AL_RESTORE};

constexpr unsigned kBottomEdge = akLeft | akRight | akBottom;
constexpr unsigned kTopRight = akTop | akRight;

// The components at the design size, in Tab order. The list's top and
// height count from the group box's caption, added at creation.
constexpr std::array<ComponentRow, 11> kComponents{{
    {L"pnlMain", nullptr, kPanelClass, u"", {0, 0, 512, 283}, akAll, kPanel, WS_EX_CONTROLPARENT, 0, kPlain},
    // Above the group box, so the list is drawn over it and comes first.
    {L"LV1",
     L"pnlMain",
     WC_LISTVIEWW,
     u"",
     {4 + 2 + 8, 4 + 2 + 8, 504 - 20, 242 - 4 - 16},
     akAll,
     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA,
     WS_EX_CLIENTEDGE,
     kListId,
     kPlain},
    {L"gbProfileList",
     L"pnlMain",
     L"BUTTON",
     u"プロファイルリスト",
     {4, 4, 504, 242},
     akAll,
     BS_GROUPBOX | WS_CLIPSIBLINGS,
     0,
     0,
     kPlain},
    {L"pnlOparation",
     L"pnlMain",
     kPanelClass,
     u"",
     {4, 246, 504, 33},
     kBottomEdge,
     kPanel,
     WS_EX_CONTROLPARENT,
     0,
     kPlain},
    {L"btnAdd",
     L"pnlOparation",
     L"BUTTON",
     kActions[TMAIN_FORM::AL_ADD].caption,
     {10, 6, 88, 25},
     akLeft | akTop,
     kButton,
     0,
     Command(TMAIN_FORM::AL_ADD),
     kPlain},
    {L"btnEdit",
     L"pnlOparation",
     L"BUTTON",
     kActions[TMAIN_FORM::AL_EDIT].caption,
     {101, 6, 88, 25},
     akLeft | akTop,
     kButton,
     0,
     Command(TMAIN_FORM::AL_EDIT),
     kPlain},
    {L"btnDelete",
     L"pnlOparation",
     L"BUTTON",
     kActions[TMAIN_FORM::AL_DELETE].caption,
     {192, 6, 88, 25},
     akLeft | akTop,
     kButton,
     0,
     Command(TMAIN_FORM::AL_DELETE),
     kPlain},
    {L"pnlBottom", nullptr, kPanelClass, u"", {0, 283, 512, 37}, kBottomEdge, kPanel, WS_EX_CONTROLPARENT, 0, kPlain},
    {L"Bevel1", L"pnlBottom", L"STATIC", u"", {0, 0, 512, 10}, akLeft | akTop | akRight, SS_ETCHEDHORZ, 0, 0, kPlain},
    {L"btnLaunch",
     L"pnlBottom",
     L"BUTTON",
     kActions[TMAIN_FORM::AL_LAUNCH].caption,
     {308, 6, 96, 25},
     kTopRight,
     kButton,
     0,
     Command(TMAIN_FORM::AL_LAUNCH),
     kPlain},
    {L"btnCancel",
     L"pnlBottom",
     L"BUTTON",
     kActions[TMAIN_FORM::AL_CANCEL].caption,
     {408, 6, 96, 25},
     kTopRight,
     kButton,
     0,
     Command(TMAIN_FORM::AL_CANCEL),
     kPlain},
}};
constexpr std::size_t kLV1Row = 1;
// The panels that hold every other component.
constexpr const wchar_t* kPanels[] = {L"pnlMain", L"pnlBottom"};

}  // namespace
}  // namespace ombrisk
