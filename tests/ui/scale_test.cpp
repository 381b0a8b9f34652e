// The windows at the display scale of the test run: the system DPI of its
// prefix, 96 in the ui level and 120, 144 and 192 in the ui_scale level
// (tests/ui/scale_runs.sh), which names it in OMBRISK_TEST_DPI. Each window
// is checked for properties of its layout, not for coordinates.
#include <cstdlib>

#include "core/profile_store.h"
#include "core/texts.h"
#include "support/layout_checks.h"
#include "ui/changes_form.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/main_form_fixture.h"
#include "ui/open_form.h"
#include "win32/win_text_comparer.h"

namespace ombrisk {
namespace {

// The DPI the run was started for; the system's when none is named.
int RunDpi() {
  const char* named = std::getenv("OMBRISK_TEST_DPI");
  return named != nullptr ? std::atoi(named) : DpiAt(POINT{0, 0});
}

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

// The character height of the interface's font at the DPI: 13 pixels at
// 96 DPI of the Japanese faces, or the system's message font made for it.
int CharacterHeight(int dpi) {
  if (TextLanguage() == Language::Japanese) return MulDiv(13, dpi, 96);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const HDC screen = GetDC(nullptr);
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, GetDeviceCaps(screen, LOGPIXELSY));
  const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  const HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW text{};
  GetTextMetricsW(screen, &text);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return text.tmHeight - text.tmInternalLeading;
}

// What is off in a window laid out for the DPI: its client area against
// the design's size (a pixel of rounding either way), its font's character
// height against the design's, and its layout.
std::vector<std::string> ScaleProblems(HWND window, SIZE design, int dpi, HWND textControl) {
  std::vector<std::string> problems = testing::LayoutProblems(window, dpi);
  const SIZE client = ClientSize(window);
  if (std::abs(client.cx - MulDiv(design.cx, dpi, 96)) > 1 || std::abs(client.cy - MulDiv(design.cy, dpi, 96)) > 1) {
    problems.push_back("client " + std::to_string(client.cx) + "x" + std::to_string(client.cy));
  }
  const TEXTMETRICW metrics = testing::FontMetrics(textControl);
  if (std::abs(metrics.tmHeight - metrics.tmInternalLeading - CharacterHeight(dpi)) > 1) {
    problems.push_back("character height " + std::to_string(metrics.tmHeight - metrics.tmInternalLeading));
  }
  return problems;
}

// A list's rows hold its images: the images drawn for the DPI, and rows at
// least as high.
void ExpectRowsHoldImages(HWND list, int dpi) {
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_SMALL), &width, &height);
  EXPECT_EQ(height, ImageSizeFor(dpi));
  RECT row{};
  ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
  EXPECT_GE(row.bottom - row.top, height);
}

// A move from a monitor of one scale to one of another, as the system
// tells it: the client area scaled in the rectangle it suggests. (Wine draws
// every frame at the system's DPI, so the frame stays as it is.)
void MoveToScale(HWND window, int from, int dpi) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  const SIZE client = ClientSize(window);
  const SIZE frame{bounds.right - bounds.left - client.cx, bounds.bottom - bounds.top - client.cy};
  RECT suggested{bounds.left, bounds.top, bounds.left + MulDiv(client.cx, dpi, from) + frame.cx,
                 bounds.top + MulDiv(client.cy, dpi, from) + frame.cy};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

int OtherDpi(int dpi) { return dpi == 192 ? 96 : 192; }

// The main window opens at the design's size scaled, or at the stored
// size, which is a size at 96 DPI and stays so when the window closes.
TEST_F(MainForm, ScaleTheMainWindowAtTheRunsDpi) {
  const int dpi = RunDpi();
  Install(2017);
  const std::u16string profiles = u"[PREF_XE6]\r\nVersion=2017\r\n";
  const std::u16string stored =
      u"[MainForm]\r\nClientWidth=600\r\nClientHeight=350\r\nWindowState=0\r\nTop=40\r\nLeft=30\r\n"
      u"ListViewColumnWidths=150,180,200\r\n";
  for (const bool geometry : {false, true}) {
    SCOPED_TRACE(geometry ? "stored geometry" : "none stored");
    Settings(profiles + (geometry ? stored : u""));
    TMAIN_FORM& form = NewForm();
    EXPECT_EQ(form.Dpi(), dpi);
    const SIZE design = geometry ? SIZE{600, 350} : TMAIN_FORM::kDesignClientSize;
    EXPECT_EQ(ScaleProblems(form.Handle(), design, dpi, form.Control(TMAIN_FORM::kBtnAdd)), std::vector<std::string>{});
    ExpectRowsHoldImages(LV1(), dpi);
    if (geometry) {
      EXPECT_EQ(ListView_GetColumnWidth(LV1(), 1), MulDiv(180, dpi, 96));
    }
    ASSERT_TRUE(CloseAndWait());
    if (geometry) {
      EXPECT_NE(SettingsText().find(stored), std::u16string::npos) << ToUtf8(SettingsText());
    }
  }
}

// Widths stored at 96 DPI that a window gave back, each within the one
// pixel that rounding at two scales may cost.
void ExpectWidthsKept(const std::vector<int>& stored, const std::vector<int>& written) {
  ASSERT_EQ(written.size(), stored.size());
  for (std::size_t column = 0; column < stored.size(); ++column) EXPECT_NEAR(written[column], stored[column], 1);
}

// Moved to another scale, the window and its columns take it; closed, the
// columns' widths are stored as they were.
TEST_F(MainForm, ScaleTheMainWindowMovedToAnotherScale) {
  Install(2017);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\n[MainForm]\r\nListViewColumnWidths=150,181,200\r\n");
  TMAIN_FORM& form = NewForm();
  const int dpi = OtherDpi(form.Dpi());
  MoveToScale(form.Handle(), form.Dpi(), dpi);
  EXPECT_EQ(form.Dpi(), dpi);
  EXPECT_EQ(ScaleProblems(form.Handle(), TMAIN_FORM::kDesignClientSize, dpi, form.Control(TMAIN_FORM::kBtnAdd)),
            std::vector<std::string>{});
  ExpectRowsHoldImages(LV1(), dpi);
  EXPECT_NEAR(ListView_GetColumnWidth(LV1(), 1), MulDiv(181, dpi, 96), 1);
  ASSERT_TRUE(CloseAndWait());
  const std::unique_ptr<SettingsFile> file = ProfileStore(files, comparer, FromWide(SettingsPath())).Open();
  ExpectWidthsKept({150, 181, 200}, ParseWidthList(file->ReadString(u"MainForm", u"ListViewColumnWidths", u""), 3, 0));
}

// The editor on each page, and again after a move to the other scale.
TEST_F(MainForm, ScaleTheEditorAtTheRunsDpiAndMoved) {
  const int dpi = RunDpi();
  Install(2017);
  Settings(u"[PrefForm]\r\nListViewColumnWidths=431,409\r\n");
  NewForm();
  std::vector<std::vector<std::string>> problems;
  std::vector<int> dpis;
  TPREF_FORM* editor = nullptr;
  runModal = [&](ModalDialog& dialog) {
    editor = &dynamic_cast<TPREF_FORM&>(dialog);
    return dialog.ShowModal();
  };
  afterIdle = [&](HWND window) {
    if (!dpis.empty()) return;
    for (const int target : {editor->Dpi(), OtherDpi(editor->Dpi())}) {
      if (target != editor->Dpi()) MoveToScale(window, editor->Dpi(), target);
      dpis.push_back(editor->Dpi());
      for (int page : {1, 2, 3, 0}) {
        problems.push_back(
            ScaleProblems(window, TPREF_FORM::kClientSize, target, editor->Control(TPREF_FORM::kLabel1)));
        RECT tab;
        TabCtrl_GetItemRect(editor->Control(TPREF_FORM::kPC1), page, &tab);
        const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        SendMessageW(editor->Control(TPREF_FORM::kPC1), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(editor->Control(TPREF_FORM::kPC1), WM_LBUTTONUP, 0, at);
      }
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
  };
  form_->Execute(TMAIN_FORM::AL_ADD);
  EXPECT_EQ(dpis, (std::vector<int>{dpi, OtherDpi(dpi)}));
  ASSERT_EQ(problems.size(), 8u);
  for (const std::vector<std::string>& page : problems) EXPECT_EQ(page, std::vector<std::string>{});
  const std::array<int, 2> written = ProfileStore(files, comparer, FromWide(SettingsPath())).ReadPrefFormColumns();
  ExpectWidthsKept({431, 409}, {written[0], written[1]});
}

TEST(SmallDialogs, ScaleTheBackupsChangesAndOpenDialogsAtTheRunsDpiAndMoved) {
  const int dpi = RunDpi();
  const ErrorReporter report = [](std::u16string_view message) { ADD_FAILURE() << ToUtf8(message); };
  const std::vector<BackupRow> backups{{u"2026/12/09 15:30:12", u"Delphi XE6 / RAD Studio XE6", u"BDS", u"XE6"}};
  const std::vector<ChangeTexts> changes{{u"Win32: ライブラリパス", u"C:\\Lib", u"C:\\Lib;C:\\Installer"}};
  TRESTORE_FORM restore(report, nullptr, backups);
  restore.Create(nullptr);
  TCHANGES_FORM review(report, nullptr, changes);
  review.Create(nullptr);
  const std::vector<ListedProfile> profiles{{u"XE6", u"Delphi XE6 / RAD Studio XE6", u"夜間ビルド", 2017}};
  const WinTextComparer comparer;
  TOPEN_FORM open(report, nullptr, profiles, comparer.Mapping(), RGB(0xEE, 0xEE, 0xFF), u"C:\\Work\\App.dproj");
  open.Create();
  const struct {
    ModalDialog& form;
    SIZE design;
    int button;
  } dialogs[] = {{restore, TRESTORE_FORM::kClientSize, TRESTORE_FORM::kBtnRestore},
                 {review, TCHANGES_FORM::kClientSize, TCHANGES_FORM::kBtnTakeIn},
                 {open, TOPEN_FORM::kClientSize, TOPEN_FORM::kBtnOpen}};
  for (const auto& dialog : dialogs) {
    SCOPED_TRACE(testing::Narrow(testing::ClassName(dialog.form.Handle())));
    EXPECT_EQ(dialog.form.Dpi(), dpi);
    const HWND button = dialog.form.Control(dialog.button);
    EXPECT_EQ(ScaleProblems(dialog.form.Handle(), dialog.design, dpi, button), std::vector<std::string>{});
    MoveToScale(dialog.form.Handle(), dpi, OtherDpi(dpi));
    EXPECT_EQ(ScaleProblems(dialog.form.Handle(), dialog.design, OtherDpi(dpi), button), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace ombrisk
