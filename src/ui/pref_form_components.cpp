// The editor's components, as a form designer lists them, and the controls
// that hold a profile's settings.
#include "core/texts.h"
#include "ui/pref_form.h"

namespace ombrisk {

namespace {

using enum TPREF_FORM::Id;
using namespace texts;

// PC1 first; its pages are made by the page control and lie above it. Then
// every control in Tab order: each label right before the control its
// mnemonic moves to. A label is as large as its text; a check box grows
// where the font needs more room for its caption. FormShow sets the width
// of ED09 and places btnRef beside it. CB01's height includes its list.
constexpr ComponentRow kComponents[] = {
    TabStrip(kPC1, "PC1", 0, {0, 0, 600, 363}),
    Label(kLabel1, "Label1", kTabSheet1, kNameLabel, {20, 24}),
    Edit(kED01, "ED01", kTabSheet1, {20, 39, 549, 21}),
    Label(kLabel2, "Label2", kTabSheet1, kVersionLabel, {20, 71}),
    DropDownList(kCB01, "CB01", kTabSheet1, {20, 86, 545, 300}).With(0, kImeOff),
    Label(kLabel3, "Label3", kTabSheet1, kDescriptionLabel, {20, 124}),
    Edit(kED02, "ED02", kTabSheet1, {20, 139, 545, 21}),
    Label(kLabel10, "Label10", kTabSheet1, kParametersLabel, {20, 168}),
    Edit(kED09, "ED09", kTabSheet1, {20, 183, 528, 21}).With(0, kImeOff),
    Button(kBtnRef, "btnRef", kTabSheet1, kBrowseButton, {548, 183, 21, 21}).With(BS_NOTIFY),
    CheckBox(kCHB1, "CHB1", kTabSheet1, kDelphiOnlyBox, {20, 220, 201, 17}),
    CheckBox(kCHB2, "CHB2", kTabSheet1, kNoSplashBox, {20, 243, 201, 17}),
    CheckBox(kCHB3, "CHB3", kTabSheet1, kNoProjectBox, {20, 266, 201, 17}),
    CheckBox(kChbEmbedded, "chbEmbedded", kTabSheet1, kEmbeddedDesignerBox, {20, 289, 201, 17}),
    CheckBox(kChbIde64, "chbIde64", kTabSheet1, kIde64Box, {20, 312, 201, 17}),
    CheckBox(kCHB6, "CHB6", kTabSheet1, kRunAsAdminBox, {285, 220, 201, 17}),
    CheckBox(kCHB4, "CHB4", kTabSheet1, kNoCacheBox, {285, 243, 201, 17}),
    CheckBox(kCHB5, "CHB5", kTabSheet1, kAltRegBox, {285, 266, 201, 17}),
    Edit(kED10, "ED10", kTabSheet1, {285, 289, 126, 21}).With(ES_UPPERCASE, kImeOff),
    Button(kBtnCopyKey, "btnCopyKey", kTabSheet1, kCopyBaseKeyButton, {415, 288, 154, 23}).With(BS_NOTIFY),
    CheckBox(kChbAltRegInit, "chbAltRegInit", kTabSheet1, kAltRegInitBox, {301, 314, 268, 17}),
    ReportList(kLV1, "LV1", kTsPackage, {}).With(0, kFillParent),
    TabStrip(kPcLibrary, "pcLibrary", kTsLibrary, {}).With(0, kFillParent),
    Label(kLabelEnvironment, "LabelEnvironment", kTsEnvironment, kEnvironmentLabel, {4, 8}),
    // A line is a variable: long values scroll rather than wrap.
    Memo(kMemoEnvironment, "MemoEnvironment", kTsEnvironment, {3, 24, 582, 304})
        .With(ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL),
    Memo(kMemo1, "Memo1", kTabSheet2, {3, 8, 582, 272}).With(ES_AUTOVSCROLL, kImeOff),
    Text(kLabel4, "Label4", kTabSheet2, kMacroNote, {4, 289, 581, 42}),
    Panel(kPanel1, "Panel1", 0, {0, 363, 600, 37}),
    Button(kButton4, "Button4", kPanel1, kOkButton, {394, 6, 96, 25}).With(BS_NOTIFY),
    Button(kButton5, "Button5", kPanel1, kCancelButton, {496, 6, 96, 25}).With(BS_NOTIFY),
};

// The end-to-end session waits for ED10 to be enabled by this id.
static_assert(kED10 == 123, "tests/e2e/session_e2e.sh names ED10 by its id");

using namespace profile_keys;
constexpr FieldBinding kBindings[] = {
    {&kDescription, kED02},         {&kDelphiOnly, kCHB1},  {&kNoSplash, kCHB2},
    {&kNoProject, kCHB3},           {&kNoCache, kCHB4},     {&kUseAltReg, kCHB5},
    {&kRunAsAdmin, kCHB6},          {&kAltReg, kED10},      {&kParameters, kED09},
    {&kIde64, kChbIde64},           {&kPreProcess, kMemo1}, {&kEmbeddedDesigner, kChbEmbedded},
    {&kAltRegInit, kChbAltRegInit},
};

}  // namespace

std::span<const ComponentRow> PrefFormComponents() { return kComponents; }
std::span<const FieldBinding> PrefFormBindings() { return kBindings; }

}  // namespace ombrisk
