// The main window's tables: its actions and its components, as a form
// designer lists them.
#include "core/texts.h"
#include "ui/main_form.h"

namespace ombrisk {

namespace {

using enum TMAIN_FORM::Id;
using enum TMAIN_FORM::Action;
using namespace texts;

// The actions table: caption, image in IL1 (-1 none), shortcut and its text.
constexpr ActionInfo kActions[TMAIN_FORM::kActionCount] = {
    {kAddAction, 2, FVIRTKEY, VK_INSERT, u"Ins"},
    {kEditAction, 3, 0, 0, u""},
    {kDeleteAction, 4, FVIRTKEY, VK_DELETE, u"Del"},
    {kLaunchAction, 0, 0, 0, u""},
    {kCancelButton, -1, 0, 0, u""},
    {kCopyAction, -1, 0, 0, u""},
    {kFindAction, 1, FVIRTKEY | FCONTROL, 'F', u"Ctrl+F"},
    {kShortcutAction, 5, 0, 0, u""},
    {kRestoreAction, -1, 0, 0, u""},
    {kExplorerAction, -1, 0, 0, u""},
    {kExportAction, -1, 0, 0, u""},
    {kExportAllAction, -1, 0, 0, u""},
    {kImportAction, -1, 0, 0, u""},
};

// PopupMenu1 from top to bottom; -1 is a separator.
constexpr int kPopupItems[] = {AL_ADD,    AL_EDIT,       AL_DELETE, -1, AL_COPY, AL_SHORTCUT, AL_EXPLORER, -1,
                               AL_EXPORT, AL_EXPORT_ALL, AL_IMPORT, -1, AL_FIND, -1,          AL_LAUNCH,   AL_RESTORE};

constexpr unsigned kBottomEdge = akLeft | akRight | akBottom;
constexpr unsigned kTopRight = akTop | akRight;
constexpr DWORD kClipped = WS_CLIPSIBLINGS;

// The components at the design size, in Tab order; the list comes before the
// group box, so it is drawn over it and comes first. The list's top and
// height count from the group box's caption, added at creation.
constexpr ComponentRow kComponents[] = {
    Panel(kPnlMain, "pnlMain", 0, {0, 0, 512, 283}).Anchor(akAll).With(kClipped),
    ReportList(kLV1, "LV1", kPnlMain, {4 + 2 + 8, 4 + 2 + 8, 504 - 20, 242 - 4 - 16})
        .Anchor(akAll)
        .With(LVS_SHAREIMAGELISTS | LVS_OWNERDATA)
        .WithExtended(WS_EX_ACCEPTFILES),  // files dropped onto a row
    GroupBox(kGbProfileList, "gbProfileList", kPnlMain, kProfileListGroup, {4, 4, 504, 242}).Anchor(akAll),
    Panel(kPnlOparation, "pnlOparation", kPnlMain, {4, 246, 504, 33}).Anchor(kBottomEdge).With(kClipped),
    Button(kBtnAdd, "btnAdd", kPnlOparation, kAddAction, {10, 6, 88, 25}),
    Button(kBtnEdit, "btnEdit", kPnlOparation, kEditAction, {101, 6, 88, 25}),
    Button(kBtnDelete, "btnDelete", kPnlOparation, kDeleteAction, {192, 6, 88, 25}),
    Panel(kPnlBottom, "pnlBottom", 0, {0, 283, 512, 37}).Anchor(kBottomEdge).With(kClipped),
    Text(kBevel1, "Bevel1", kPnlBottom, u"", {0, 0, 512, 10}).Anchor(akLeft | akTop | akRight).With(SS_ETCHEDHORZ),
    Button(kBtnLaunch, "btnLaunch", kPnlBottom, kLaunchAction, {308, 6, 96, 25}).Anchor(kTopRight),
    Button(kBtnCancel, "btnCancel", kPnlBottom, kCancelButton, {408, 6, 96, 25}).Anchor(kTopRight),
};

}  // namespace

std::span<const ComponentRow> MainFormComponents() { return kComponents; }
std::span<const ActionInfo> MainFormActions() { return kActions; }
std::span<const int> MainFormPopupItems() { return kPopupItems; }

}  // namespace ombrisk
