// The main window created in this process and driven by messages.
#include "ui/main_form.h"

#include <gtest/gtest.h>

#include "support/win_test_support.h"
#include "win32/win_file_system.h"
#include "win32/win_registry.h"

namespace ombrisk {
namespace {

class MainForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TMAIN_FORM::RegisterWindowClass(GetModuleHandleW(nullptr)); }

  void TearDown() override {
    testing::PumpMessages();
    DiscardQuit();
  }

  TMAIN_FORM& NewForm() {
    form_ = std::make_unique<TMAIN_FORM>(
        Services{registries, files, [this](std::u16string_view message) { errors.emplace_back(message); }});
    form_->Create();
    return *form_;
  }

  // True when a WM_QUIT is waiting in this thread's queue; removes it.
  static bool DiscardQuit() {
    MSG message;
    bool quit = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT)
        quit = true;
      else
        DispatchMessageW(&message);
    }
    return quit;
  }

  testing::RegistryCleaner cleaner{{L"Software\\Embarcadero"}};
  testing::TempFolder folder;
  WinRegistryFactory registries;
  WinFileSystem files;
  std::vector<std::u16string> errors;
  std::unique_ptr<TMAIN_FORM> form_;
};

TEST_F(MainForm, CreatedHiddenAtItsDesignSizeCentredOnTheScreen) {
  TMAIN_FORM& form = NewForm();
  HWND window = form.Handle();
  EXPECT_EQ(testing::ClassName(window), L"TMAIN_FORM");
  EXPECT_EQ(testing::WindowText(window), L"Ombrisk");
  EXPECT_FALSE(IsWindowVisible(window));
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 512);
  EXPECT_EQ(client.bottom, 320);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_TRUE(style & WS_THICKFRAME) << "resizable";
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << "owns its task-bar button";

  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 284);
  EXPECT_EQ(limits.ptMinTrackSize.y, 200);
}

TEST_F(MainForm, UsesAnInstalledJapaneseFont13PixelsHigh) {
  TMAIN_FORM& form = NewForm();
  LOGFONTW font{};
  ASSERT_NE(GetObjectW(form.Font(), sizeof font, &font), 0);
  EXPECT_EQ(font.lfHeight, -13);
  EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
  const std::wstring face = font.lfFaceName;
  const auto faces = UiFontFaces();
  EXPECT_NE(std::find(faces.begin(), faces.end(), face), faces.end()) << testing::Narrow(face);
  // The face the window uses is really there, so Japanese text is not shown
  // as boxes: the selected font reports the same face.
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, form.Font());
  wchar_t selected[LF_FACESIZE];
  GetTextFaceW(screen, LF_FACESIZE, selected);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(std::wstring(selected), face);
}

TEST_F(MainForm, FirstShowDetectsInstalledReleasesOnce) {
  testing::WriteBytes(folder / L"bds.exe", "MZ");
  testing::SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0", L"APP", folder / L"bds.exe");
  TMAIN_FORM& form = NewForm();
  EXPECT_EQ(form.InstalledVersions(), 0u);
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  testing::PumpMessages();
  EXPECT_EQ(form.InstalledVersions(), 0x40000u);

  // Shown again after hiding: detection does not run again.
  testing::SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\13.0", L"APP", folder / L"bds.exe");
  ShowWindow(form.Handle(), SW_HIDE);
  form.Show();
  testing::PumpMessages();
  EXPECT_EQ(form.InstalledVersions(), 0x40000u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainForm, ErrorInFirstShowIsReportedAndTheWindowGoesOn) {
  testing::WriteBytes(folder / L"bds.exe", "MZ");
  testing::SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0", L"APP", folder / L"bds.exe");
  const DWORD number = 5;
  testing::SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\12.0", L"APP", REG_DWORD, &number,
                            sizeof number);
  TMAIN_FORM& form = NewForm();
  form.Show();
  testing::PumpMessages();
  EXPECT_EQ(errors, std::vector<std::u16string>{u"'APP' のデータ型が不正です"});
  EXPECT_EQ(form.InstalledVersions(), 0x40000u);
  EXPECT_TRUE(IsWindow(form.Handle()));
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  // The window still answers messages after the error.
  MINMAXINFO limits{};
  SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 284);
}

TEST_F(MainForm, ClosingEndsTheMessageLoop) {
  TMAIN_FORM& form = NewForm();
  form.Show();
  DiscardQuit();
  HWND window = form.Handle();
  PostMessageW(window, WM_CLOSE, 0, 0);
  bool quit = false;
  for (int tries = 0; tries < 100 && !quit; ++tries) {
    quit = DiscardQuit();
    Sleep(10);
  }
  EXPECT_TRUE(quit) << "WM_QUIT posted";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form.Handle(), nullptr);
}

}  // namespace
}  // namespace ombrisk
