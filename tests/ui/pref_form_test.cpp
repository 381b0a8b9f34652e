// The profile editor reached as a person reaches it, through Add, Edit and
// Copy of the main window, on the real registry and settings file of the
// test prefix. Its modal run is the real one; the steps of a test run inside
// it, one after each of its idle updates, as the user's actions would.
#include "ui/pref_form.h"

#include <windowsx.h>

#include <sstream>

#include <gtest/gtest.h>

#include "core/texts.h"
#include "support/layout_checks.h"
#include "ui/controls.h"
#include "ui/main_form_fixture.h"

namespace ombrisk {
namespace {

using enum TPREF_FORM::Id;
using Step = std::function<void(TPREF_FORM&)>;

// Runs the steps one at a time from inside the dialog's modal loop, each
// once the dialog has handled every message before it and made its idle
// update, as between two actions of a person, however busy the machine is.
// A dialog still open after the last step is closed with Cancel, and
// leftOpen tells so.
class ModalScript {
 public:
  explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {}

  int operator()(TPREF_FORM& dialog) {
    dialog_ = &dialog;
    ran = true;
    const int result = dialog.ShowModal();
    dialog_ = nullptr;
    return result;
  }

  // The dialog's loop calls this after each idle update.
  void AfterIdle() {
    if (dialog_ == nullptr || dialog_->ModalResult() != 0) return;
    if (next_ < steps_.size()) {
      steps_[next_++](*dialog_);
      // The loop goes on to handle what the step did, then is idle again.
      PostMessageW(dialog_->Handle(), WM_NULL, 0, 0);
    } else if (!leftOpen) {
      leftOpen = true;
      PostMessageW(dialog_->Handle(), WM_CLOSE, 0, 0);
    }
  }

  bool ran = false;
  bool leftOpen = false;

 private:
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  TPREF_FORM* dialog_ = nullptr;
};

Rect BoundsInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::u16string Text(HWND window) { return ControlText(window); }
void SetText(HWND window, std::u16string_view text) { SetWindowTextW(window, Wide(text).c_str()); }
bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

// A left click in the middle of a rectangle of the window.
void ClickAt(HWND window, RECT area) {
  const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
}

void ClickTab(HWND tabs, int index) {
  RECT item;
  TabCtrl_GetItemRect(tabs, index, &item);
  ClickAt(tabs, item);
}

// A click on a column header, as the list view reports it to its parent.
void ClickHeader(HWND view, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = view;
  click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view));
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageW(GetParent(view), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

std::vector<std::u16string> TabCaptions(HWND tabs) {
  std::vector<std::u16string> captions;
  for (int index = 0; index < TabCtrl_GetItemCount(tabs); ++index) {
    wchar_t text[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(tabs, index, &item);
    captions.push_back(FromWide(text) + u"/" + DecimalText(item.iImage));
  }
  return captions;
}

class Editor : public MainForm {
 protected:
  // A value of the IDE's settings key of the release (its default key, or
  // the alternate one when named).
  void Ide(VersionCode code, std::u16string_view relative, std::u16string_view name, std::u16string_view text,
           std::u16string_view altReg = u"") {
    WinRegistry registry;
    ASSERT_TRUE(registry.OpenKey(IdeRegistryKey(code, !altReg.empty(), altReg) + std::u16string(relative), true));
    registry.WriteString(name, text);
  }
  // Every library value of the platform: "<tab caption>:<value name>".
  void LibraryKey(VersionCode code, TPlatformType platform) {
    for (const LibrarySetting& setting : LibrarySettings) {
      const std::u16string name(RegistryValueName(setting, code));
      Ide(code, LibraryKeyName(platform), name, std::u16string(PlatformTabCaption(platform)) + u":" + name);
    }
  }

  // Runs a command of the main window with the steps inside the editor.
  ModalScript& Run(TMAIN_FORM::Action action, std::vector<Step> steps) {
    script = std::make_unique<ModalScript>(std::move(steps));
    runModal = [this](ModalDialog& dialog) { return (*script)(dynamic_cast<TPREF_FORM&>(dialog)); };
    afterIdle = [this](HWND) { script->AfterIdle(); };
    // As the button or the menu sends it, so errors meet the window's own
    // error boundary.
    SendMessageW(form_->Handle(), WM_COMMAND, TMAIN_FORM::CommandId(action), 0);
    testing::PumpMessages();
    return *script;
  }

  static HWND C(TPREF_FORM& dialog, int id) { return dialog.Control(id); }
  std::u16string Message(std::u16string_view text) { return Concat({texts::kErrorCaption, u"|", text, u"|8208"}); }
  std::vector<std::u16string> Packages(TPREF_FORM& dialog) {
    HWND view = C(dialog, kLV1);
    std::vector<std::u16string> rows;
    for (int row = 0; row < ListView_GetItemCount(view); ++row) {
      rows.push_back(testing::ListItemText(view, row, 0) + u"|" + testing::ListItemText(view, row, 1) +
                     (ListView_GetCheckState(view, row) ? u"|on" : u"|off"));
    }
    return rows;
  }
  void UserSelectsRelease(TPREF_FORM& dialog, VersionCode code) {
    HWND combo = C(dialog, kCB01);
    for (int index = 0; index < ComboBox_GetCount(combo); ++index) {
      if (static_cast<VersionCode>(ComboBox_GetItemData(combo, index)) == code) ComboBox_SetCurSel(combo, index);
    }
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }

  std::unique_ptr<ModalScript> script;
};

TEST_F(Editor, AddShowsTheNewProfileDialogLaidOut) {
  Install(7);
  Install(2017);
  Settings(u"[PREF_Seven]\r\nVersion=7\r\n[PREF_Six]\r\nVersion=2017\r\n");
  TMAIN_FORM& main = NewForm();
  RECT mainBounds;
  GetWindowRect(main.Handle(), &mainBounds);
  const ModalScript& run =
      Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
            HWND window = dialog.Handle();
            EXPECT_EQ(Text(window), std::u16string(texts::kNewProfileCaption));
            EXPECT_FALSE(IsWindowEnabled(main.Handle())) << "the owner is disabled while the editor runs";
            EXPECT_EQ(GetWindow(window, GW_OWNER), main.Handle());
            const auto style = GetWindowLongPtrW(window, GWL_STYLE);
            EXPECT_TRUE((style & WS_SYSMENU) && (style & WS_CAPTION));
            EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
            RECT client;
            GetClientRect(window, &client);
            EXPECT_EQ(client.right, 600);
            EXPECT_EQ(client.bottom, 400);
            RECT bounds;
            GetWindowRect(window, &bounds);
            EXPECT_NEAR((bounds.left + bounds.right) / 2, (mainBounds.left + mainBounds.right) / 2, 1);
            EXPECT_NEAR((bounds.top + bounds.bottom) / 2, (mainBounds.top + mainBounds.bottom) / 2, 1);

            EXPECT_EQ(Text(C(dialog, kED01)), std::u16string(texts::kNewProfileName));
            EXPECT_EQ(dialog.Profiles(), (std::vector<std::u16string>{u"Seven", u"Six"}));
            HWND combo = C(dialog, kCB01);
            ASSERT_EQ(ComboBox_GetCount(combo), 2);
            EXPECT_EQ(ComboBox_GetCurSel(combo), 0) << "the newest release";
            EXPECT_EQ(dialog.SelectedVersion(), 2017);
            EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
            EXPECT_EQ(Text(window), std::u16string(texts::kNewProfileCaption));
            EXPECT_EQ(TabCaptions(C(dialog, kPC1)),
                      (std::vector<std::u16string>{
                          Concat({texts::kEditorPages[0], u"/-1"}), Concat({texts::kEditorPages[1], u"/-1"}),
                          Concat({texts::kEditorPages[2], u"/-1"}), Concat({texts::kEditorPages[3], u"/-1"}),
                          Concat({texts::kEditorPages[4], u"/-1"})}));
            EXPECT_EQ(TabCtrl_GetCurSel(C(dialog, kPC1)), 0);
            EXPECT_TRUE(IsWindowVisible(C(dialog, kTabSheet1)));
            EXPECT_FALSE(IsWindowVisible(C(dialog, kTsPackage)));

            const std::pair<int, UiText> captions[] = {{kLabel1, texts::kNameLabel},
                                                       {kLabel2, texts::kVersionLabel},
                                                       {kLabel3, texts::kDescriptionLabel},
                                                       {kLabel10, texts::kParametersLabel},
                                                       {kBtnRef, texts::kBrowseButton},
                                                       {kCHB1, texts::kDelphiOnlyBox},
                                                       {kCHB2, texts::kNoSplashBox},
                                                       {kCHB3, texts::kNoProjectBox},
                                                       {kChbEmbedded, texts::kEmbeddedDesignerBox},
                                                       {kChbIde64, texts::kIde64Box},
                                                       {kCHB6, texts::kRunAsAdminBox},
                                                       {kCHB4, texts::kNoCacheBox},
                                                       {kCHB5, texts::kAltRegBox},
                                                       {kBtnCopyKey, texts::kCopyBaseKeyButton},
                                                       {kChbAltRegInit, texts::kAltRegInitBox},
                                                       {kLabel4, texts::kMacroNote},
                                                       {kButton4, texts::kOkButton},
                                                       {kButton5, texts::kCancelButton}};
            for (const auto& [id, caption] : captions) EXPECT_EQ(Text(C(dialog, id)), caption.View()) << id;

            // Placeholders of a new profile; ED01 holds a name, so its own shows only
            // once emptied.
            const std::pair<int, UiText> hints[] = {{kED01, texts::kNameHint},
                                                    {kED02, texts::kDescriptionHint},
                                                    {kED09, texts::kParametersHint},
                                                    {kED10, texts::kAltRegHint}};
            for (const auto& [id, hint] : hints) {
              wchar_t text[128] = L"";
              SendMessageW(C(dialog, id), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(text), 128);
              EXPECT_EQ(FromWide(text), hint.View()) << id;
            }
            EXPECT_TRUE(GetWindowLongPtrW(C(dialog, kED10), GWL_STYLE) & ES_UPPERCASE);
            const auto memo = GetWindowLongPtrW(C(dialog, kMemo1), GWL_STYLE);
            EXPECT_TRUE((memo & ES_MULTILINE) && (memo & ES_WANTRETURN));
            EXPECT_FALSE(memo & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL));
            EXPECT_TRUE(ListView_GetExtendedListViewStyle(C(dialog, kLV1)) & LVS_EX_CHECKBOXES);
            EXPECT_EQ(ListView_GetColumnWidth(C(dialog, kLV1), 0), 430);
            EXPECT_EQ(ListView_GetColumnWidth(C(dialog, kLV1), 1), 410);

            // The focus starts on the name; Tab goes through the general page, the
            // buttons and the tab strip.
            EXPECT_EQ(GetFocus(), C(dialog, kED01));
            std::vector<int> order;
            HWND control = C(dialog, kED01);
            for (int step = 0; step < 16; ++step) {
              control = GetNextDlgTabItem(window, control, FALSE);
              order.push_back(GetDlgCtrlID(control));
            }
            EXPECT_EQ(order, (std::vector<int>{kCB01, kED02, kED09, kBtnRef, kCHB1, kCHB2, kCHB3, kChbEmbedded, kCHB6,
                                               kCHB4, kCHB5, kButton4, kButton5, kPC1, kED01, kCB01}))
                << "ED10 is disabled until CHB5 is checked";
            // Every page laid out: inside their parents, nothing overlapping,
            // every caption fitting.
            for (int page : {1, 2, 3, 0}) {
              EXPECT_EQ(testing::LayoutProblems(window), std::vector<std::string>{}) << "page " << page;
              ClickTab(C(dialog, kPC1), page);
            }
            Click(C(dialog, kButton5));
          }});
  EXPECT_TRUE(run.ran);
  EXPECT_FALSE(run.leftOpen);
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  EXPECT_EQ(RowCount(), 2);
  EXPECT_EQ(SettingsText().substr(1).find(Concat({u"[PREF_", texts::kNewProfileName})), std::u16string::npos);
  EXPECT_NE(SettingsText().find(u"[PrefForm]\r\nListViewColumnWidths=430,410\r\n"), std::u16string::npos);
}

TEST_F(Editor, KeyboardMnemonicsEnterAndEsc) {
  Install(2017);
  NewForm();
  const auto key = [](UINT message, WPARAM code) {
    PostMessageW(GetFocus(), message, code, message == WM_SYSCHAR ? (1 << 29) : 0);
  };
  // The letter after "&", as typed.
  const auto mnemonic = [](std::u16string_view caption) {
    return static_cast<WPARAM>(AsciiUpper(caption.substr(caption.find(u'&') + 1, 1))[0] | 0x20);
  };
  const ModalScript& run = Run(
      TMAIN_FORM::AL_ADD, {[&](TPREF_FORM&) { key(WM_SYSCHAR, mnemonic(texts::kVersionLabel)); },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(GetFocus(), C(dialog, kCB01)) << "a label's mnemonic moves to its control";
                             key(WM_SYSCHAR, mnemonic(texts::kNoSplashBox));
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_TRUE(Checked(C(dialog, kCHB2))) << "a check box's mnemonic toggles it";
                             SetFocus(C(dialog, kED02));
                             key(WM_KEYDOWN, VK_RETURN);
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(dialog.ModalResult(), 0) << "no default button: Enter in an edit does nothing";
                             SetFocus(C(dialog, kED01));
                             key(WM_KEYDOWN, VK_ESCAPE);
                           }});
  EXPECT_FALSE(run.leftOpen) << "Esc closes";
  EXPECT_EQ(RowCount(), 0);

  // Enter on the focused OK button presses it.
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
        SetFocus(C(dialog, kButton4));
        key(WM_KEYDOWN, VK_RETURN);
      }});
  EXPECT_FALSE(script->leftOpen);
  EXPECT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, 0), Wide(texts::kNewProfileName));
  EXPECT_TRUE(errors.empty());
}

TEST_F(Editor, OkChecksTheNameTheAlternateKeyAndTheCommand) {
  Install(2017);
  Settings(u"[PREF_Alpha]\r\nVersion=2017\r\n[PREF_Hidden]\r\nVersion=3\r\n");
  NewForm();
  const auto pressOk = [](TPREF_FORM& dialog) { Click(dialog.Control(kButton4)); };
  const auto refused = [this](TPREF_FORM& dialog, std::u16string_view message, int focus, int page) {
    EXPECT_EQ(dialog.ModalResult(), 0);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], Message(message));
    dialogs.clear();
    EXPECT_EQ(GetFocus(), C(dialog, focus));
    EXPECT_EQ(TabCtrl_GetCurSel(C(dialog, kPC1)), page);
    EXPECT_TRUE(IsWindowVisible(C(dialog, focus)));
  };
  Run(TMAIN_FORM::AL_ADD,
      {[&](TPREF_FORM& dialog) {
         SetText(C(dialog, kED01), u"alpha ");
         ClickTab(C(dialog, kPC1), 2);
         pressOk(dialog);
         refused(dialog, std::u16string(texts::kDuplicateProfile), kED01, 0);
         SetText(C(dialog, kED01), u"HIDDEN");
         pressOk(dialog);
         refused(dialog, std::u16string(texts::kDuplicateProfile), kED01, 0);
         SetText(C(dialog, kED01), u" \t ");
         pressOk(dialog);
         refused(dialog, std::u16string(texts::kEmptyProfileName), kED01, 0);
         SetText(C(dialog, kED01), u"New ");
         Click(C(dialog, kCHB5));
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_TRUE(IsWindowEnabled(C(dialog, kED10))) << "enabled at idle once CHB5 is checked";
         SetText(C(dialog, kED10), u"  ");
         pressOk(dialog);
         refused(dialog, std::u16string(texts::kEmptyAltReg), kED10, 0);
         SetText(C(dialog, kED10), u"BDS\\");
         pressOk(dialog);
         refused(dialog, Format(texts::kAltRegInvalid, {u"BDS\\"}), kED10, 0);
         SetText(C(dialog, kED10), u"BDS\\14.0");
         pressOk(dialog);
         refused(dialog, Format(texts::kAltRegOverlaps, {u"BDS\\14.0", u"Delphi XE6 / RAD Studio XE6"}), kED10, 0);
         SetText(C(dialog, kED10), u"alt");
         SetText(C(dialog, kMemo1), u"copy a b\r\ncopy c d");
         pressOk(dialog);
         refused(dialog, std::u16string(texts::kMultiLinePreProcess), kMemo1, 4);
         EXPECT_EQ(Text(C(dialog, kMemo1)), u"copy a b\r\ncopy c d") << "nothing typed is lost";
         SetText(C(dialog, kMemo1), u"copy a b");
         pressOk(dialog);
       }});
  EXPECT_FALSE(script->leftOpen);
  EXPECT_TRUE(dialogs.empty());
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(1, 0), L"New") << "stored without its trailing blank";
  EXPECT_EQ(Cell(1, 1), L"Delphi XE6 / RAD Studio XE6");
  const std::u16string text = SettingsText();
  EXPECT_NE(text.find(u"[PREF_New]\r\nVersion=2017\r\nDescription=\r\nDelphiOnly=0\r\nNoSplash=0\r\nNoProject=0\r\n"
                      u"NoCache=0\r\nUseAltReg=1\r\nRunAsAdmin=0\r\nAltReg=ALT\r\nParameters=\r\n"
                      u"Embedded_Designer=False\r\nPKG_Count=0\r\nPreProcess=copy a b\r\n"),
            std::u16string::npos)
      << ToUtf8(text);
  EXPECT_NE(text.find(u"[PREF_Hidden]\r\nVersion=3\r\n"), std::u16string::npos) << "the unlisted profile is kept";
}

TEST_F(Editor, CancelEscAndTheCloseBoxCloseWithoutChecks) {
  Install(7);
  NewForm();
  const std::vector<Step> closers = {
      [](TPREF_FORM& dialog) { Click(dialog.Control(kButton5)); },
      [](TPREF_FORM& dialog) { PostMessageW(dialog.Control(kED02), WM_KEYDOWN, VK_ESCAPE, 0); },
      [](TPREF_FORM& dialog) { SendMessageW(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](TPREF_FORM& dialog) {
        // Esc inside the multi-line memo, which takes every key.
        SetFocus(dialog.Control(kMemo1));
        PostMessageW(dialog.Control(kMemo1), WM_KEYDOWN, VK_ESCAPE, 0);
      }};
  for (const Step& close : closers) {
    Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
                               SetText(dialog.Control(kED01), u"");
                               close(dialog);
                             },
                             [](TPREF_FORM& dialog) { EXPECT_NE(dialog.ModalResult(), 0); }});
    EXPECT_FALSE(script->leftOpen);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(RowCount(), 0);
  }
}

TEST_F(Editor, ImportFillsTabsPackagesAndSwitchesOfTheChosenRelease) {
  for (VersionCode code : {2, 3, 7, 2006, 2017}) Install(code);
  LibraryKey(2, TPlatformType::pftNone);
  LibraryKey(3, TPlatformType::pftNone);
  LibraryKey(7, TPlatformType::pftNone);
  LibraryKey(2006, TPlatformType::pftNone);
  for (TPlatformType platform : VersionPlatforms(2017)) {
    if (platform != TPlatformType::pftWin64) LibraryKey(2017, platform);
  }
  Ide(2006, u"Form Design", u"Embedded Designer", u"False");
  Ide(2017, u"Form Design", u"Embedded Designer", u"false");
  Ide(2017, u"Known Packages", u"C:\\pkg\\zeta.bpl", u"Zeta");
  Ide(2017, u"Known Packages", u"C:\\pkg\\alpha.bpl", u"alpha");
  Ide(2017, u"Known Packages", u"C:\\pkg\\Beta.bpl", u"Beta");
  Ide(2017, u"Disabled Packages", u"C:\\PKG\\BETA.BPL", u"");
  NewForm();

  const auto rowsEnabled = [](TframeLibrary& frame) {
    std::u16string states;
    for (int row = 0; row < TframeLibrary::kRows; ++row) {
      const bool edit = IsWindowEnabled(frame.Edit(row)) != FALSE;
      EXPECT_EQ(edit, IsWindowEnabled(frame.Label(row)) != FALSE) << "row " << row;
      EXPECT_EQ(Text(frame.Edit(row)).empty(), !edit) << "row " << row;
      states += edit ? u'1' : u'0';
    }
    return states;
  };
  const auto modernControls = [](TPREF_FORM& dialog) {
    std::u16string states;
    for (const int id : {kLV1, kCHB1, kCHB4, kCHB5, kChbEmbedded}) {
      HWND control = dialog.Control(id);
      // The package list lies on a page that is not shown: its own state.
      const bool on =
          id == kLV1 ? (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0 : IsWindowEnabled(control) != FALSE;
      states += on ? u'1' : u'0';
    }
    return states;
  };
  Run(TMAIN_FORM::AL_ADD,
      {[&](TPREF_FORM& dialog) {
         // XE6, imported when shown: no Win64 key, so OSX32 is the second tab.
         EXPECT_EQ(TabCaptions(C(dialog, kPcLibrary)),
                   (std::vector<std::u16string>{u"Win32/0", u"OSX32/1", u"iOS Device/3", u"iOS Simulator/3",
                                                u"Android32/4"}));
         ASSERT_EQ(dialog.LibrarySheetCount(), 5);
         EXPECT_EQ(dialog.SheetFrame(1).Tag(), TPlatformType::pftOSX32);
         EXPECT_EQ(Text(dialog.SheetFrame(1).Edit(0)), u"OSX32:Search Path");
         EXPECT_EQ(Text(dialog.SheetFrame(1).Edit(11)), u"OSX32:HPP Output Directory");
         EXPECT_EQ(rowsEnabled(dialog.SheetFrame(0)), u"111111111111");
         EXPECT_EQ(Packages(dialog),
                   (std::vector<std::u16string>{u"alpha|C:\\pkg\\alpha.bpl|on", u"Beta|C:\\pkg\\Beta.bpl|off",
                                                u"Zeta|C:\\pkg\\zeta.bpl|on"}));
         EXPECT_TRUE(Checked(C(dialog, kChbEmbedded))) << "only the exact text False clears it";
         EXPECT_EQ(modernControls(dialog), u"11111");
         Click(C(dialog, kCHB1));
         Click(C(dialog, kCHB5));
         SetText(dialog.SheetFrame(0).Edit(0), u"typed");
         UserSelectsRelease(dialog, 7);
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_EQ(TabCaptions(C(dialog, kPcLibrary)), (std::vector<std::u16string>{u"Win32/0"}));
         EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(0)), u"Win32:Search Path");
         EXPECT_EQ(rowsEnabled(dialog.SheetFrame(0)), u"111111000000");
         EXPECT_EQ(modernControls(dialog), u"00000");
         EXPECT_FALSE(Checked(C(dialog, kCHB1)) || Checked(C(dialog, kCHB5)) || Checked(C(dialog, kChbEmbedded)));
         EXPECT_FALSE(IsWindowEnabled(C(dialog, kED10)));
         EXPECT_EQ(ListView_GetItemCount(C(dialog, kLV1)), 0);
         UserSelectsRelease(dialog, 2);
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(0)), u"Win32:SearchPath");
         EXPECT_EQ(rowsEnabled(dialog.SheetFrame(0)), u"100000000000");
         UserSelectsRelease(dialog, 3);
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(0)), u"Win32:SearchPath");
         EXPECT_EQ(rowsEnabled(dialog.SheetFrame(0)), u"100000000000");
         UserSelectsRelease(dialog, 2006);
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_EQ(TabCaptions(C(dialog, kPcLibrary)), (std::vector<std::u16string>{u"Win32/0"}));
         EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(0)), u"Win32:Search Path");
         EXPECT_EQ(rowsEnabled(dialog.SheetFrame(0)), u"111111100000");
         EXPECT_EQ(modernControls(dialog), u"11111");
         EXPECT_FALSE(Checked(C(dialog, kChbEmbedded)));
         UserSelectsRelease(dialog, 2017);
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_EQ(dialog.LibrarySheetCount(), 5);
         EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(0)), u"Win32:Search Path") << "what was typed is gone";
         EXPECT_FALSE(dialog.Changed());
       }});
  EXPECT_TRUE(errors.empty());
}

// From Delphi 11 on the designer option is gone; from 12 on a 64-bit IDE
// may stand beside the 32-bit one, with packages of its own.
TEST_F(Editor, TheNewestReleasesDropTheDesignerAndOfferTheSixtyFourBitIde) {
  for (VersionCode code : {2024, 2025, 2026, 2027}) {
    Install(code);
    Ide(code, u"Form Design", u"Embedded Designer", u"True");
  }
  const std::wstring ide64 = folder / L"bds64.exe";
  testing::WriteBytes(ide64, "MZ");
  Ide(2027, u"", u"App x64", FromWide(ide64));
  Ide(2026, u"", u"App x64", FromWide(folder / L"missing.exe"));
  for (TPlatformType platform : {TPlatformType::pftWin32, TPlatformType::pftWin64x, TPlatformType::pftAndroid64}) {
    LibraryKey(2027, platform);
  }
  Ide(2027, u"Known Packages", u"C:\\pkg\\a32.bpl", u"A32");
  Ide(2027, u"Known Packages x64", u"C:\\pkg\\b64.bpl", u"B64");
  Ide(2027, u"Known Packages x64", u"C:\\pkg\\a64.bpl", u"A64");
  Ide(2027, u"Disabled Packages x64", u"C:\\PKG\\B64.BPL", u"");
  NewForm();
  // "<enabled><checked>" of the designer and the 64-bit boxes.
  const auto boxes = [](TPREF_FORM& dialog) {
    std::u16string states;
    for (const int id : {kChbEmbedded, kChbIde64}) {
      states += IsWindowEnabled(C(dialog, id)) ? u'1' : u'0';
      states += Checked(C(dialog, id)) ? u'1' : u'0';
    }
    return states;
  };
  const std::vector<std::u16string> packages64{u"A64|C:\\pkg\\a64.bpl|on", u"B64|C:\\pkg\\b64.bpl|off"};
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
                             EXPECT_EQ(dialog.SelectedVersion(), 2027);
                             EXPECT_EQ(TabCaptions(C(dialog, kPcLibrary)),
                                       (std::vector<std::u16string>{u"Win32/0", u"Win64 (Modern)/0", u"Android64/4"}));
                             EXPECT_EQ(boxes(dialog), u"0010");
                             EXPECT_EQ(Packages(dialog), (std::vector<std::u16string>{u"A32|C:\\pkg\\a32.bpl|on"}));
                             SetText(dialog.SheetFrame(1).Edit(0), u"typed");
                             Click(C(dialog, kChbIde64));
                             EXPECT_EQ(Packages(dialog), packages64);
                             EXPECT_EQ(Text(dialog.SheetFrame(1).Edit(0)), u"typed")
                                 << "only the packages are read again";
                             UserSelectsRelease(dialog, 2026);
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(boxes(dialog), u"0000") << "App x64 names no file";
                             UserSelectsRelease(dialog, 2025);
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(boxes(dialog), u"0000");
                             UserSelectsRelease(dialog, 2024);
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(boxes(dialog), u"1100");
                             UserSelectsRelease(dialog, 2027);
                           },
                           [&](TPREF_FORM& dialog) {
                             Click(C(dialog, kChbIde64));
                             SetText(C(dialog, kED01), u"Florence");
                             Click(C(dialog, kButton4));
                           }});
  EXPECT_FALSE(script->leftOpen);
  const std::u16string text = SettingsText();
  EXPECT_NE(text.find(u"RunAsAdmin=0\r\nIDE64=1\r\nAltReg=\r\nParameters=\r\nPKG_PATH1=C:\\pkg\\b64.bpl\r\n"),
            std::u16string::npos)
      << ToUtf8(text);
  EXPECT_EQ(text.find(u"Embedded_Designer"), std::u16string::npos);

  ASSERT_EQ(Column(0), std::vector<std::wstring>{L"Florence"});
  ListView_SetItemState(LV1(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) {
        EXPECT_EQ(boxes(dialog), u"0011");
        EXPECT_EQ(Packages(dialog), packages64);
        Click(C(dialog, kButton5));
      }});
  EXPECT_TRUE(errors.empty());
}

TEST_F(Editor, AlternateKeyIsImportedAgainOnAPageChangeButNotOnOk) {
  Install(2017);
  Ide(2017, u"Known Packages", u"C:\\default.bpl", u"Default");
  Ide(2017, u"Known Packages", u"C:\\alternate.bpl", u"Alternate", u"ALT");
  Ide(2017, u"Known Packages", u"C:\\other.bpl", u"Other", u"OTHER");
  NewForm();
  Run(TMAIN_FORM::AL_ADD,
      {[&](TPREF_FORM& dialog) {
         EXPECT_EQ(Packages(dialog), (std::vector<std::u16string>{u"Default|C:\\default.bpl|on"}));
         EXPECT_FALSE(dialog.Changed());
         Click(C(dialog, kCHB5));
         EXPECT_TRUE(dialog.Changed());
       },
       [&](TPREF_FORM& dialog) {
         SetText(C(dialog, kED10), u"alt");
         EXPECT_EQ(Text(C(dialog, kED10)), u"ALT");
         ClickTab(C(dialog, kPC1), 1);
         EXPECT_EQ(Packages(dialog), (std::vector<std::u16string>{u"Alternate|C:\\alternate.bpl|on"}));
         EXPECT_FALSE(dialog.Changed());
         // A page change without a change of the key imports nothing.
         ListView_SetCheckState(C(dialog, kLV1), 0, FALSE);
         ClickTab(C(dialog, kPC1), 0);
         EXPECT_EQ(Packages(dialog), (std::vector<std::u16string>{u"Alternate|C:\\alternate.bpl|off"}));
         // Unchecked, the key is emptied and disabled at the next idle moment.
         Click(C(dialog, kCHB5));
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_FALSE(IsWindowEnabled(C(dialog, kED10)));
         EXPECT_EQ(Text(C(dialog, kED10)), u"");
         ClickTab(C(dialog, kPC1), 3);
         EXPECT_EQ(Packages(dialog), (std::vector<std::u16string>{u"Default|C:\\default.bpl|on"}));
         ClickTab(C(dialog, kPC1), 0);
         Click(C(dialog, kCHB5));
       },
       [&](TPREF_FORM& dialog) {
         SetText(C(dialog, kED10), u"other");
         Click(C(dialog, kButton4));
       }});
  EXPECT_FALSE(script->leftOpen);
  const std::u16string text = SettingsText();
  EXPECT_NE(text.find(u"AltReg=OTHER\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"C:\\other.bpl"), std::u16string::npos);
  EXPECT_NE(text.find(u"PKG_Count=0\r\n"), std::u16string::npos) << "the rows of the earlier import, all enabled";
}

// The alternate key's start from the base key: checked for a new profile and
// enabled with the key; the copy button only for a named key other than the
// base key (a name that may not be used refused with its reason). The copy
// asks before it replaces a key (No keeps it), then
// backs it up, copies and imports the copy; the backups' dialog gives the
// old key back.
TEST_F(Editor, TheCopyButtonMakesTheAlternateKeyACopyOfTheBaseKey) {
  Install(2017);
  Ide(2017, u"Known Packages", u"C:\\base.bpl", u"Base");
  Ide(2017, u"Known Packages", u"C:\\old.bpl", u"Old", u"TEST");
  const auto dump = [] { return testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero\\TEST"); };
  const std::string before = dump();
  const auto enabled = [](TPREF_FORM& dialog, int id) { return IsWindowEnabled(C(dialog, id)) != FALSE; };
  NewForm();
  Run(TMAIN_FORM::AL_ADD,
      {[&](TPREF_FORM& dialog) {
         EXPECT_TRUE(Checked(C(dialog, kChbAltRegInit)));
         EXPECT_FALSE(enabled(dialog, kChbAltRegInit));
         EXPECT_FALSE(enabled(dialog, kBtnCopyKey));
         Click(C(dialog, kCHB5));
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_TRUE(enabled(dialog, kChbAltRegInit));
         EXPECT_FALSE(enabled(dialog, kBtnCopyKey)) << "no key named";
         SetText(C(dialog, kED10), u" bds ");
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_FALSE(enabled(dialog, kBtnCopyKey)) << "never into the base key";
         SetText(C(dialog, kED10), u"BDS\\");
       },
       [&](TPREF_FORM& dialog) {
         ASSERT_TRUE(enabled(dialog, kBtnCopyKey)) << "offered, to say why not";
         Click(C(dialog, kBtnCopyKey));
         EXPECT_EQ(dialogs, std::vector<std::u16string>{
                                Concat({texts::kErrorCaption, u"|", Format(texts::kAltRegInvalid, {u"BDS\\"}), u"|"}) +
                                DecimalText(MB_TASKMODAL | MB_ICONERROR | MB_OK)});
         dialogs.clear();
         SetText(C(dialog, kED10), u"test");
         SetText(C(dialog, kED01), u"Mine");
         ClickTab(C(dialog, kPC1), 1);
         ClickTab(C(dialog, kPC1), 0);
       },
       [&](TPREF_FORM& dialog) {
         EXPECT_EQ(Packages(dialog), std::vector<std::u16string>{u"Old|C:\\old.bpl|on"});
         ASSERT_TRUE(enabled(dialog, kBtnCopyKey));
         Click(C(dialog, kBtnCopyKey));
         EXPECT_EQ(dialogs, std::vector<std::u16string>{
                                Concat({texts::kConfirmCaption, u"|",
                                        Format(texts::kReplaceAltKeyQuestion, {u"Software\\Embarcadero\\TEST\\14.0",
                                                                               u"Software\\Embarcadero\\BDS\\14.0"}),
                                        u"|"}) +
                                DecimalText(MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2)});
         EXPECT_EQ(dump(), before) << "No keeps the key";
         answer = IDYES;
         Click(C(dialog, kBtnCopyKey));
         EXPECT_EQ(Packages(dialog), std::vector<std::u16string>{u"Base|C:\\base.bpl|on"}) << "the copy imported";
         Click(C(dialog, kButton5));
       }});
  EXPECT_FALSE(script->leftOpen);
  EXPECT_EQ(dump().find("old.bpl"), std::string::npos);
  EXPECT_NE(dump().find("base.bpl"), std::string::npos);
  EXPECT_TRUE(errors.empty());

  runModal = [&](ModalDialog& dialog) {
    const HWND list = dialog.Control(TRESTORE_FORM::kLV1);
    EXPECT_EQ(testing::ListItemText(list, 0, 2) + u"|" + testing::ListItemText(list, 0, 3), u"TEST|Mine");
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    return dialog.ShowModal();
  };
  form_->Execute(TMAIN_FORM::AL_RESTORE);
  EXPECT_EQ(dump(), before) << "the backup gives the old key back";
}

// The environment page imports the IDE's variables; what OK refuses is told
// with the page shown and the caret on the line; the saved profile starts
// the IDE (the real program, the fake IDE) with exactly its variables. A
// profile stored before variables were leaves the IDE's as they are.
TEST_F(Editor, EnvironmentVariablesAreEditedRefusedAtTheirLineAndLaunched) {
  Install(2017);
  for (const auto& [name, value] : {std::pair{u"A_ONE", u"1"}, {u"B_TWO", u"2"}, {u"C_THREE", u"3"}}) {
    Ide(2017, u"Environment Variables", name, value);
  }
  Settings(u"[PREF_Old]\r\nVersion=2017\r\nPKG_Count=0\r\n");
  const std::wstring ide = folder / L"ide2017.exe";
  ASSERT_TRUE(CopyFileW((testing::ExecutableFolder() + L"\\fake_ide.exe").c_str(), ide.c_str(), FALSE));
  ASSERT_TRUE(
      CopyFileW((testing::ExecutableFolder() + L"\\Ombrisk.exe").c_str(), (folder / L"Ombrisk.exe").c_str(), FALSE));
  // The variables the fake IDE found at its start.
  const auto launched = [&](const std::wstring& profile) {
    testing::Process program(L"\"" + (folder / L"Ombrisk.exe") + L"\" /launch " + profile);
    EXPECT_EQ(program.WaitForExit(), 0u);
    std::string found;
    std::istringstream report(testing::ReadWrittenFile(ide + L".txt"));
    for (std::string line; std::getline(report, line);) {
      if (line.starts_with("Environment Variables|")) found += line.substr(22) + ";";
    }
    DeleteFileW((ide + L".txt").c_str());
    return found;
  };
  EXPECT_EQ(launched(L"Old"), "A_ONE=1;B_TWO=2;C_THREE=3;");

  NewForm();
  const auto refused = [&](TPREF_FORM& dialog, std::u16string_view text, std::u16string_view message, int line) {
    SetText(C(dialog, kMemoEnvironment), text);
    ClickTab(C(dialog, kPC1), 0);
    Click(C(dialog, kButton4));
    ASSERT_FALSE(dialogs.empty());
    EXPECT_EQ(dialogs.back(), Message(message));
    EXPECT_EQ(TabCtrl_GetCurSel(C(dialog, kPC1)), 3);
    EXPECT_EQ(GetFocus(), C(dialog, kMemoEnvironment));
    DWORD caret = 0;
    SendMessageW(C(dialog, kMemoEnvironment), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(SendMessageW(C(dialog, kMemoEnvironment), EM_LINEFROMCHAR, caret, 0), line);
    EXPECT_EQ(Text(C(dialog, kMemoEnvironment)), text) << "nothing typed is lost";
  };
  const std::u16string longest(32767, u'x');
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
        EXPECT_EQ(Text(C(dialog, kLabelEnvironment)), std::u16string(texts::kEnvironmentLabel));
        EXPECT_EQ(Text(C(dialog, kMemoEnvironment)), u"A_ONE=1\r\nB_TWO=2\r\nC_THREE=3");
        SetText(C(dialog, kED01), u"Mine");
        refused(dialog, u"A=1\r\n\r\nno equals", Format(texts::kEnvironmentLineFormat, {u"3"}), 2);
        refused(dialog, u"Path=1\r\nPATH=2", Format(texts::kEnvironmentDuplicate, {u"PATH"}), 1);
        refused(dialog, u"LONG=" + longest + u"y", Format(texts::kEnvironmentValueTooLong, {u"LONG"}), 0);
        SetText(C(dialog, kMemoEnvironment), u"A_ONE=1\r\nB_TWO= two ;\"q\"\r\nC_THREE=3\r\n\r\nD_FOUR=" + longest);
        Click(C(dialog, kButton4));
      }});
  EXPECT_FALSE(script->leftOpen);
  EXPECT_EQ(launched(L"Mine"), "A_ONE=1;B_TWO= two ;\"q\";C_THREE=3;D_FOUR=" + std::string(32767, 'x') + ";");
  EXPECT_TRUE(errors.empty());
}

// The variables a profile holds or the user typed stay through an import of
// the 64-bit IDE's; a profile stored before variables were shows those of
// its own key and, with the page left as shown, still holds none.
TEST_F(Editor, AnImportKeepsTheVariablesTheProfileHoldsOrTheUserTyped) {
  Install(2027);
  const std::wstring ide64 = folder / L"bds64.exe";
  testing::WriteBytes(ide64, "MZ");
  Ide(2027, u"", u"App x64", FromWide(ide64));
  Ide(2027, u"Environment Variables", u"PATH", u"base32");
  Ide(2027, u"Environment Variables x64", u"PATH", u"base64");
  Ide(2027, u"Environment Variables", u"PATH", u"alt32", u"ALT");
  Settings(
      u"[PREF_Held]\r\nVersion=2027\r\nENV_NAME1=MINE\r\nENV_VALUE1=1\r\nENV_Count=1\r\n"
      u"[PREF_Old]\r\nVersion=2027\r\nUseAltReg=1\r\nAltReg=ALT\r\n");
  NewForm();
  const auto page = [](TPREF_FORM& dialog) { return Text(C(dialog, kMemoEnvironment)); };
  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) {
                              EXPECT_EQ(page(dialog), u"MINE=1");
                              Click(C(dialog, kChbIde64));
                            },
                            [&](TPREF_FORM& dialog) {
                              EXPECT_EQ(page(dialog), u"MINE=1") << "the profile's own";
                              Click(C(dialog, kButton4));
                            }});
  ClickRow(1);
  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) {
        EXPECT_EQ(page(dialog), u"PATH=alt32") << "its own key's";
        Click(C(dialog, kButton4));
      }});
  const std::u16string text = SettingsText();
  ASSERT_NE(text.find(u"[PREF_Old]"), std::u16string::npos);
  EXPECT_EQ(text.find(u"ENV_Count", text.find(u"[PREF_Old]")), std::u16string::npos) << "still none";
  EXPECT_NE(text.find(u"ENV_VALUE1=1"), std::u16string::npos);
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
                             EXPECT_EQ(page(dialog), u"PATH=base32");
                             Click(C(dialog, kChbIde64));
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(page(dialog), u"PATH=base64") << "a page as shown follows the IDE";
                             SetText(C(dialog, kMemoEnvironment), u"TYPED=1");
                             Click(C(dialog, kChbIde64));
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(page(dialog), u"TYPED=1") << "what the user typed stays";
                             Click(C(dialog, kButton5));
                           }});
  EXPECT_FALSE(script->leftOpen);
  EXPECT_TRUE(errors.empty());
}

// Whether a column of the package list, as it shows it, stands in the order
// of a click.
bool PackagesSortedOnScreen(HWND view, int column, int direction) {
  for (int row = 1; row < ListView_GetItemCount(view); ++row) {
    if (CompareRowKeys(testing::ListItemText(view, row - 1, column), testing::ListItemText(view, row, column)) *
            direction >
        0) {
      return false;
    }
  }
  return true;
}

TEST_F(Editor, PackageColumnsSortInTheirOwnDirectionsAndRowsAreShaded) {
  Install(2017);
  Ide(2017, u"Known Packages", u"C:\\b\\z.bpl", u"alpha");
  Ide(2017, u"Known Packages", u"C:\\a\\y.bpl", u"Beta");
  Ide(2017, u"Known Packages", u"C:\\c\\x.bpl", u"gamma");
  for (int n = 0; n < 21; ++n) {
    Ide(2017, u"Known Packages", u"$(BDS)\\bin\\" + DecimalText(n * 8 % 21) + u".bpl",
        (n % 2 == 0 ? u"_pkg " : u"Pkg ") + DecimalText(n % 5));
  }
  NewForm();
  // The order of the three named packages by their first letters.
  const auto names = [this](TPREF_FORM& dialog) {
    std::u16string order;
    for (const std::u16string& row : Packages(dialog)) {
      if (row.find(u"kg ") == std::u16string::npos) order += row.substr(0, 1);
    }
    return order;
  };
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
        HWND view = C(dialog, kLV1);
        ClickTab(C(dialog, kPC1), 1);
        ASSERT_EQ(ListView_GetItemCount(view), 24);
        EXPECT_EQ(names(dialog), u"aBg");
        EXPECT_TRUE(PackagesSortedOnScreen(view, 0, 1));
        ClickHeader(view, 1);
        EXPECT_EQ(names(dialog), u"Bag") << "by path ascending";
        EXPECT_TRUE(PackagesSortedOnScreen(view, 1, 1));
        ClickHeader(view, 1);
        EXPECT_EQ(names(dialog), u"gaB");
        EXPECT_TRUE(PackagesSortedOnScreen(view, 1, -1));
        ClickHeader(view, 1);
        EXPECT_EQ(names(dialog), u"Bag");
        ClickHeader(view, 0);
        EXPECT_EQ(names(dialog), u"gBa") << "the name column goes on from its own ascending";
        EXPECT_TRUE(PackagesSortedOnScreen(view, 0, -1));
        EXPECT_EQ(dialog.SortColumn(), 0);

        // Rows 0 and 2 take the line colour; a row being drawn is asked for.
        for (int row = 0; row < 3; ++row) {
          NMLVCUSTOMDRAW draw{};
          draw.nmcd.hdr.hwndFrom = view;
          draw.nmcd.hdr.code = NM_CUSTOMDRAW;
          draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
          draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
          draw.clrTextBk = CLR_DEFAULT;
          EXPECT_EQ(SendMessageW(GetParent(view), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_DODEFAULT);
          EXPECT_EQ(draw.clrTextBk, row % 2 == 0 ? dialog.LineColor() : CLR_DEFAULT) << row;
        }
        EXPECT_EQ(dialog.LineColor(), form_->LineColor());
        Click(C(dialog, kButton5));
      }});
}

TEST_F(Editor, PackageCheckBoxesToggleByMouseAndSpaceAndTheirRowsAreSaved) {
  Install(2017);
  Ide(2017, u"Known Packages", u"C:\\p\\one.bpl", u"b one");
  Ide(2017, u"Known Packages", u"C:\\p\\two.bpl", u"c two");
  Ide(2017, u"Known Packages", u"C:\\p\\three.bpl", u"a three");
  NewForm();
  Run(TMAIN_FORM::AL_ADD,
      {[&](TPREF_FORM& dialog) {
         HWND view = C(dialog, kLV1);
         ClickTab(C(dialog, kPC1), 1);
         // A click on the first row's check box.
         RECT row;
         ListView_GetItemRect(view, 0, &row, LVIR_BOUNDS);
         LVHITTESTINFO hit{};
         for (hit.pt = POINT{row.left, (row.top + row.bottom) / 2}; hit.pt.x < row.right; ++hit.pt.x) {
           if (ListView_HitTest(view, &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0) break;
         }
         ClickAt(view, RECT{hit.pt.x, hit.pt.y, hit.pt.x, hit.pt.y});
         // Space on the third row, twice on the second.
         for (int target : {2, 1, 1}) {
           ListView_SetItemState(view, target, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
           SendMessageW(view, WM_KEYDOWN, VK_SPACE, 0);
           SendMessageW(view, WM_KEYUP, VK_SPACE, 0);
         }
         EXPECT_EQ(Packages(dialog),
                   (std::vector<std::u16string>{u"a three|C:\\p\\three.bpl|off", u"b one|C:\\p\\one.bpl|on",
                                                u"c two|C:\\p\\two.bpl|off"}));
         ClickHeader(view, 1);
         EXPECT_EQ(Packages(dialog).front(), u"b one|C:\\p\\one.bpl|on") << "states move with rows";
       },
       [&](TPREF_FORM& dialog) {
         SetText(C(dialog, kED01), u"Checked");
         Click(C(dialog, kButton4));
       }});
  EXPECT_NE(SettingsText().find(u"PKG_PATH1=C:\\p\\three.bpl\r\nPKG_NAME1=a three\r\n"
                                u"PKG_PATH2=C:\\p\\two.bpl\r\nPKG_NAME2=c two\r\nPKG_Count=2\r\n"),
            std::u16string::npos)
      << "the disabled rows in the list's order";
}

TEST_F(Editor, BrowsePutsTheChosenFileIntoTheParameters) {
  Install(2017);
  NewForm();
  std::vector<std::wstring> seen;
  std::wstring chosen;
  openFile = [&](OPENFILENAMEW& dialog) {
    seen.push_back(dialog.lpstrInitialDir == nullptr ? L"<none>" : dialog.lpstrInitialDir);
    EXPECT_EQ(std::wstring(dialog.lpstrFile), L"");
    EXPECT_EQ(dialog.nFilterIndex, 1u);
    EXPECT_EQ(dialog.Flags & (OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING),
              static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING));
    std::vector<std::wstring> filters;
    for (const wchar_t* part = dialog.lpstrFilter; *part != 0; part += wcslen(part) + 1) filters.emplace_back(part);
    EXPECT_EQ(filters,
              (std::vector<std::wstring>{
                  Wide(texts::kProjectFilesFilter), L"*.dpr;*.dproj;*.proj;*.bdsproj;*.bpg;*.bdsgroup;*.groupproj",
                  Wide(texts::kPackageFilesFilter), L"*.dpk", Wide(texts::kAllFilesFilter), L"*.*"}));
    if (chosen.empty()) return false;
    wcscpy(dialog.lpstrFile, chosen.c_str());
    return true;
  };
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
        HWND parameters = C(dialog, kED09);
        SetText(parameters, u"\"C:\\My Work\\App.dproj\" -debug");
        chosen = L"C:\\Other Dir\\x.dpr";
        Click(C(dialog, kBtnRef));
        EXPECT_EQ(Text(parameters), u"\"C:\\Other Dir\\x.dpr\"");
        chosen = L"C:\\Work\\y.dpk";
        Click(C(dialog, kBtnRef));
        EXPECT_EQ(Text(parameters), u"C:\\Work\\y.dpk");
        chosen.clear();
        Click(C(dialog, kBtnRef));
        EXPECT_EQ(Text(parameters), u"C:\\Work\\y.dpk") << "cancelled: nothing changes";
        SetText(parameters, u"-x");
        Click(C(dialog, kBtnRef));
        Click(C(dialog, kButton5));
      }});
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"C:\\My Work\\", L"C:\\Other Dir\\", L"C:\\Work\\", L"<none>"}));
}

TEST_F(Editor, CtrlASelectsTheWholeCommand) {
  Install(7);
  NewForm();
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
                             HWND memo = C(dialog, kMemo1);
                             ClickTab(C(dialog, kPC1), 4);
                             SetText(memo, u"copy a b");
                             SetFocus(memo);
                             SendMessageW(memo, EM_SETSEL, 2, 2);
                             PostMessageW(memo, WM_CHAR, 1, 0);
                           },
                           [&](TPREF_FORM& dialog) {
                             DWORD start = 0;
                             DWORD end = 0;
                             SendMessageW(C(dialog, kMemo1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                          reinterpret_cast<LPARAM>(&end));
                             EXPECT_EQ(start, 0u);
                             EXPECT_EQ(end, 8u);
                             EXPECT_EQ(Text(C(dialog, kMemo1)), u"copy a b") << "the key itself is swallowed";
                             Click(C(dialog, kButton5));
                           }});
}

TEST_F(Editor, ColumnWidthsAreStoredAtEveryDestruction) {
  // Nothing installed: the editor is not shown, yet stores its initial widths.
  NewForm();
  Run(TMAIN_FORM::AL_ADD, {});
  EXPECT_FALSE(script->ran);
  EXPECT_NE(SettingsText().find(u"[PrefForm]\r\nListViewColumnWidths=50,50\r\n"), std::u16string::npos);
  EXPECT_EQ(SettingsText().find(u"[PREF_"), std::u16string::npos);
  form_.reset();
  DiscardQuit();

  // Stored widths are the columns' when the editor is shown, and stored
  // again when it goes.
  Install(2017);
  Settings(u"[PrefForm]\r\nListViewColumnWidths=500\r\n");
  NewForm();
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
        HWND view = C(dialog, kLV1);
        EXPECT_EQ(ListView_GetColumnWidth(view, 0), 500);
        EXPECT_EQ(ListView_GetColumnWidth(view, 1), 400);
        Click(C(dialog, kButton5));
      }});
  EXPECT_NE(SettingsText().find(u"ListViewColumnWidths=500,400\r\n"), std::u16string::npos);
}

TEST_F(Editor, EditLoadsTheProfileAndSavesItInPlace) {
  Install(2017);
  LibraryKey(2017, TPlatformType::pftWin32);
  LibraryKey(2017, TPlatformType::pftWin64);
  Ide(2017, u"Known Packages", u"C:\\pkg\\a.bpl", u"A package");
  Ide(2017, u"Known Packages", u"C:\\pkg\\b.bpl", u"B package");
  Ide(2017, u"Form Design", u"Embedded Designer", u"False");
  Settings(
      u"[PREF_A]\r\nVersion=2017\r\nDescription=first\r\nDelphiOnly=1\r\nNoSplash=0\r\nNoProject=1\r\nNoCache=0\r\n"
      u"UseAltReg=0\r\nRunAsAdmin=1\r\nAltReg=\r\nParameters=-d\r\nPKG_Count=1\r\nPKG_PATH1=c:\\PKG\\B.BPL\r\n"
      u"Search_Path=stored\r\nWIN64_Debug_DCU_Path=debug64\r\nPreProcess=echo @$(BDS)@\r\n"
      u"[PREF_B]\r\nVersion=2017\r\n");
  NewForm();
  ASSERT_EQ(Selected(), 0);
  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) {
        EXPECT_EQ(Text(dialog.Handle()), std::u16string(texts::kEditProfileCaption));
        EXPECT_EQ(Text(C(dialog, kED01)), u"A");
        EXPECT_EQ(dialog.Profiles(), (std::vector<std::u16string>{u"B"}));
        EXPECT_EQ(dialog.Mode(), prmEdit);
        EXPECT_EQ(Text(C(dialog, kED02)), u"first");
        EXPECT_EQ(Text(C(dialog, kED09)), u"-d");
        EXPECT_TRUE(Checked(C(dialog, kCHB1)) && Checked(C(dialog, kCHB3)) && Checked(C(dialog, kCHB6)));
        EXPECT_FALSE(Checked(C(dialog, kCHB2)) || Checked(C(dialog, kCHB4)) || Checked(C(dialog, kCHB5)));
        EXPECT_FALSE(Checked(C(dialog, kChbEmbedded))) << "no stored value: the IDE's";
        EXPECT_EQ(Packages(dialog),
                  (std::vector<std::u16string>{u"A package|C:\\pkg\\a.bpl|on", u"B package|C:\\pkg\\b.bpl|off"}));
        ASSERT_EQ(dialog.LibrarySheetCount(), 2);
        EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(0)), u"stored");
        EXPECT_EQ(Text(dialog.SheetFrame(0).Edit(1)), u"") << "the stored profile's, not the IDE's";
        EXPECT_EQ(Text(dialog.SheetFrame(1).Edit(6)), u"debug64");
        EXPECT_EQ(Text(C(dialog, kMemo1)), u"echo @$(BDS)@");
        wchar_t hint[64] = L"";
        SendMessageW(C(dialog, kED01), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 64);
        EXPECT_EQ(std::wstring(hint), L"") << "no placeholders when editing";
        SetText(C(dialog, kED01), u"b");
        Click(C(dialog, kButton4));
        EXPECT_EQ(dialogs, (std::vector<std::u16string>{Message(std::u16string(texts::kDuplicateProfile))}));
        SetText(C(dialog, kED01), u"a");
        SetText(C(dialog, kED02), u"renamed");
        Click(C(dialog, kButton4));
      }});
  EXPECT_FALSE(script->leftOpen);
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"a", L"B"})) << "the row keeps its place";
  EXPECT_EQ(Cell(0, 2), L"renamed");
  EXPECT_EQ(Selected(), 0);
  const std::u16string text = SettingsText();
  EXPECT_EQ(text.find(u"[PREF_A]"), std::u16string::npos);
  const std::size_t renamed = text.find(u"[PREF_a]\r\nVersion=2017\r\nDescription=renamed\r\nDelphiOnly=1\r\n");
  ASSERT_NE(renamed, std::u16string::npos) << ToUtf8(text);
  EXPECT_GT(renamed, text.find(u"[PREF_B]")) << "the section moves to the end";
  EXPECT_NE(text.find(u"Embedded_Designer=False\r\nPKG_PATH1=C:\\pkg\\b.bpl\r\nPKG_NAME1=B package\r\nPKG_Count=1\r\n"
                      u"Search_Path=stored\r\n"),
            std::u16string::npos);
  EXPECT_NE(text.find(u"WIN64_Debug_DCU_Path=debug64\r\n"), std::u16string::npos);
}

TEST_F(Editor, EditToAnEarlierReleaseAndBackRewritesTheSection) {
  Install(7);
  Install(2017);
  LibraryKey(7, TPlatformType::pftNone);
  for (TPlatformType platform : VersionPlatforms(2017)) LibraryKey(2017, platform);
  Ide(2017, u"Known Packages", u"C:\\pkg\\a.bpl", u"A");
  Settings(
      u"[PREF_P]\r\nVersion=2017\r\nEmbedded_Designer=True\r\nPKG_Count=1\r\nPKG_PATH1=C:\\pkg\\a.bpl\r\n"
      u"PKG_NAME1=A\r\n");
  NewForm();
  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) { UserSelectsRelease(dialog, 7); },
                            [&](TPREF_FORM& dialog) { Click(C(dialog, kButton4)); }});
  std::u16string text = SettingsText();
  EXPECT_EQ(text.find(u"Embedded_Designer"), std::u16string::npos) << ToUtf8(text);
  EXPECT_EQ(text.find(u"PKG_"), std::u16string::npos);
  EXPECT_NE(text.find(u"Search_Path=Win32:Search Path\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"WIN64_"), std::u16string::npos);
  EXPECT_EQ(Cell(0, 1), L"Delphi 7 / 7.1");

  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) { UserSelectsRelease(dialog, 2017); },
                            [&](TPREF_FORM& dialog) {
                              ListView_SetCheckState(C(dialog, kLV1), 0, FALSE);
                              Click(C(dialog, kButton4));
                            }});
  text = SettingsText();
  // The designer box stays as release 7 left it: the IDE has no setting.
  EXPECT_NE(text.find(u"Embedded_Designer=False\r\nPKG_PATH1=C:\\pkg\\a.bpl\r\nPKG_NAME1=A\r\nPKG_Count=1\r\n"),
            std::u16string::npos)
      << ToUtf8(text);
  for (TPlatformType platform : VersionPlatforms(2017)) {
    EXPECT_NE(text.find(SettingsKey(platform, LibrarySettings[11]) + u"=" +
                        std::u16string(PlatformTabCaption(platform)) + u":HPP Output Directory\r\n"),
              std::u16string::npos);
  }
  EXPECT_EQ(Cell(0, 1), L"Delphi XE6 / RAD Studio XE6");
}

TEST_F(Editor, CopyProposesANewNameAndKeepsTheOriginal) {
  Install(7);
  Settings(u"[PREF_A]\r\nVersion=7\r\nDescription=orig\r\n");
  NewForm();
  Run(TMAIN_FORM::AL_COPY, {[&](TPREF_FORM& dialog) {
        EXPECT_EQ(Text(dialog.Handle()), std::u16string(texts::kNewProfileCaption));
        EXPECT_EQ(Text(C(dialog, kED01)), Concat({texts::kCopyNamePrefix, u"A"}));
        EXPECT_EQ(dialog.Profiles(), (std::vector<std::u16string>{u"A"}));
        EXPECT_EQ(Text(C(dialog, kED02)), u"orig");
        SetText(C(dialog, kED01), u"A");
        Click(C(dialog, kButton4));
        EXPECT_EQ(dialogs, (std::vector<std::u16string>{Message(std::u16string(texts::kDuplicateProfile))}));
        SetText(C(dialog, kED01), u"C");
        Click(C(dialog, kButton4));
      }});
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"A", L"C"}));
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{L"orig", L"orig"}));
  const std::u16string text = SettingsText();
  EXPECT_NE(text.find(u"[PREF_A]\r\nVersion=7\r\nDescription=orig\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"[PREF_C]\r\nVersion=7\r\nDescription=orig\r\n"), std::u16string::npos);
}

TEST_F(Editor, AFailedSaveLeavesTheRowAndTheFileAsTheyWere) {
  Install(7);
  Settings(u"[PREF_A]\r\nVersion=7\r\nDescription=orig\r\n");
  NewForm();
  const std::string before = testing::ReadBytes(SettingsPath());
  Run(TMAIN_FORM::AL_EDIT, {[&](TPREF_FORM& dialog) {
        SetText(C(dialog, kED02), u"changed");
        SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
        Click(C(dialog, kButton4));
      }});
  SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Cell(0, 2), L"orig");
  EXPECT_EQ(testing::ReadBytes(SettingsPath()), before);
  ASSERT_EQ(errors.size(), 2u) << "the save, then the column widths";
  EXPECT_EQ(errors[0].find(Format(texts::kSettingsWriteFailed, {FromWide(SettingsPath()), u""}).substr(0, 8)), 0u)
      << ToUtf8(errors[0]);
}

TEST_F(Editor, LibraryTabsHoldScrollingFramesOfTwelveRows) {
  Install(2017);
  LibraryKey(2017, TPlatformType::pftWin32);
  LibraryKey(2017, TPlatformType::pftAndroid32);
  NewForm();
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
                             ClickTab(C(dialog, kPC1), 2);
                             ASSERT_EQ(dialog.LibrarySheetCount(), 2);
                             TframeLibrary& frame = dialog.SheetFrame(0);
                             // Row under row, each label right above its edit, the edits
                             // aligned with their labels and as wide as each other.
                             EXPECT_EQ(BoundsInParent(frame.ScrollBox1()).top, 0);
                             const Rect first = BoundsInParent(frame.Edit(0));
                             int bottom = 0;
                             for (int row = 0; row < TframeLibrary::kRows; ++row) {
                               const Rect label = BoundsInParent(frame.Label(row));
                               const Rect edit = BoundsInParent(frame.Edit(row));
                               EXPECT_GE(label.top, bottom) << row;
                               EXPECT_GE(edit.top, label.top + label.height) << row;
                               EXPECT_EQ(label.left, edit.left) << row;
                               EXPECT_EQ(edit.left, first.left) << row;
                               EXPECT_EQ(edit.width, first.width) << row;
                               EXPECT_GE(edit.left + edit.width, label.left + label.width)
                                   << "the caption fits " << row;
                               bottom = edit.top + edit.height;
                               EXPECT_EQ(Text(frame.Label(row)), texts::kLibraryLabels[static_cast<std::size_t>(row)]);
                               EXPECT_EQ(GetNextDlgTabItem(dialog.Handle(), frame.Edit(row), FALSE),
                                         row + 1 < TframeLibrary::kRows ? frame.Edit(row + 1) : C(dialog, kPcLibrary))
                                   << "row " << row;
                             }
                             EXPECT_EQ(Text(frame.lblDmy()), u"   ");
                             EXPECT_GE(BoundsInParent(frame.lblDmy()).top, bottom) << "the margin below the last edit";
                             // The content is higher than the tab: the box scrolls, and an edit
                             // that gets the focus comes into view.
                             EXPECT_TRUE(GetWindowLongPtrW(frame.ScrollBox1(), GWL_STYLE) & WS_VSCROLL);
                             SetFocus(frame.Edit(11));
                             RECT box;
                             RECT edit;
                             GetWindowRect(frame.ScrollBox1(), &box);
                             GetWindowRect(frame.Edit(11), &edit);
                             EXPECT_LE(edit.bottom, box.bottom);
                             EXPECT_GE(edit.top, box.top);
                             SetFocus(frame.Edit(0));
                             GetWindowRect(frame.Edit(0), &edit);
                             EXPECT_GE(edit.top, box.top);
                             // A label's mnemonic moves the focus to its edit.
                             PostMessageW(GetFocus(), WM_SYSCHAR, 'h', 1 << 29);
                           },
                           [&](TPREF_FORM& dialog) {
                             EXPECT_EQ(GetFocus(), dialog.SheetFrame(0).Edit(11));
                             // The other tab shows its own frame.
                             ClickTab(C(dialog, kPcLibrary), 1);
                             EXPECT_EQ(dialog.SheetFrame(1).Tag(), TPlatformType::pftAndroid32);
                             EXPECT_TRUE(IsWindowVisible(dialog.SheetFrame(1).Handle()));
                             EXPECT_FALSE(IsWindowVisible(dialog.SheetFrame(0).Handle()));
                             EXPECT_EQ(Text(dialog.SheetFrame(1).Edit(0)), u"Android32:Search Path");
                             Click(C(dialog, kButton5));
                           }});
}

TEST_F(Editor, CtrlTabSwitchesPagesAsTheUsersChange) {
  Install(2017);
  Ide(2017, u"Known Packages", u"C:\\default.bpl", u"Default");
  Ide(2017, u"Known Packages", u"C:\\alternate.bpl", u"Alternate", u"ALT");
  NewForm();
  const auto ctrlTab = [](bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  };
  const auto release = [] {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  };
  Run(TMAIN_FORM::AL_ADD, {[&](TPREF_FORM& dialog) {
                             Click(C(dialog, kCHB5));
                             SetText(C(dialog, kED10), u"alt");
                             ctrlTab(false);
                           },
                           [&](TPREF_FORM& dialog) {
                             release();
                             EXPECT_EQ(TabCtrl_GetCurSel(C(dialog, kPC1)), 1);
                             EXPECT_EQ(Packages(dialog),
                                       (std::vector<std::u16string>{u"Alternate|C:\\alternate.bpl|on"}));
                             ctrlTab(true);
                           },
                           [&](TPREF_FORM& dialog) {
                             release();
                             EXPECT_EQ(TabCtrl_GetCurSel(C(dialog, kPC1)), 0);
                             ctrlTab(true);
                           },
                           [&](TPREF_FORM& dialog) {
                             release();
                             EXPECT_EQ(TabCtrl_GetCurSel(C(dialog, kPC1)), 4) << "from the first to the last";
                             EXPECT_TRUE(IsWindowVisible(C(dialog, kMemo1)));
                           }});
  release();
}

TEST_F(Editor, AnImportErrorEndsTheEditAndStillStoresTheWidths) {
  Install(2017);
  testing::SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0\\Library\\Win32", L"Search Path",
                            REG_DWORD, "\1\0\0\0", 4);
  Settings(u"[PREF_A]\r\nVersion=2017\r\n");
  NewForm();
  Run(TMAIN_FORM::AL_EDIT, {});
  EXPECT_FALSE(script->ran) << "the editor is not shown";
  EXPECT_EQ(errors, (std::vector<std::u16string>{Format(texts::kRegistryInvalidType, {u"Search Path"})}));
  EXPECT_NE(SettingsText().find(u"[PrefForm]\r\nListViewColumnWidths=50,50\r\n"), std::u16string::npos);
  EXPECT_NE(SettingsText().find(u"[PREF_A]\r\nVersion=2017\r\n"), std::u16string::npos) << "the profile is untouched";
}

}  // namespace
}  // namespace ombrisk
