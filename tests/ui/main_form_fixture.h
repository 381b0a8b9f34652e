// The main window created in this process on the real registry and files of
// the test prefix, with recording message dialogs, process starts and
// editor runs; shared by the tests of the main window and of the editor.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/key_identity.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/texts.h"
#include "support/win_test_support.h"
#include "ui/main_form.h"
#include "ui/pref_form.h"
#include "ui/restore_form.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

namespace ombrisk {

// Records the starts instead of starting anything.
class RecordingStarter : public ProcessStarter {
 public:
  explicit RecordingStarter(std::vector<std::u16string>& log) : log_(log) {}
  std::uint32_t RunAndWait(std::u16string_view commandLine, bool) override {
    log_.push_back(u"run " + std::u16string(commandLine));
    return 0;
  }
  bool RunElevated(std::u16string_view file, std::u16string_view parameters) override {
    log_.push_back(u"runas " + std::u16string(file) + u" " + std::u16string(parameters));
    return true;
  }
  bool Open(std::u16string_view file, std::u16string_view parameters) override {
    log_.push_back(u"open " + std::u16string(file) + u" " + std::u16string(parameters));
    return true;
  }
  bool SupportsElevation() override { return true; }

 private:
  std::vector<std::u16string>& log_;
};

struct Rect {
  int left, top, width, height;
  bool operator==(const Rect&) const = default;
};

inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << r.left << "," << r.top << " " << r.width << "x" << r.height;
}

class MainForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    TMAIN_FORM::RegisterWindowClass(GetModuleHandleW(nullptr));
  }

  void TearDown() override {
    form_.reset();
    testing::PumpMessages();
    DiscardQuit();
  }

  std::wstring SettingsPath() const { return folder / L"Ombrisk.env"; }

  // Releases installed for the test: an executable file and its record.
  void Install(VersionCode code) {
    const std::wstring exe = folder / (L"ide" + std::to_wstring(code) + L".exe");
    testing::WriteBytes(exe, "MZ");
    WinRegistry registry;
    registry.SetRootKey(InstallationRoot(code));
    ASSERT_TRUE(registry.OpenKey(InstallationKey(code), true));
    registry.WriteString(ExecutableValueName(code), FromWide(exe));
  }

  void Settings(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    testing::WriteBytes(SettingsPath(), bytes);
  }

  std::u16string SettingsText() {
    const std::string bytes = testing::ReadBytes(SettingsPath());
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
  }

  TMAIN_FORM& NewForm(bool show = true) {
    form_ = std::make_unique<TMAIN_FORM>(Services{
        registries, files, comparer, FromWide(folder / L"Ombrisk.exe"),
        [this](std::u16string_view message) { errors.emplace_back(message); },
        [this](HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags) {
          dialogs.push_back(std::u16string(caption) + u"|" + std::u16string(text) + u"|" + DecimalText(flags));
          EXPECT_TRUE(owner == form_->Handle() || owner == form_->FindDialog() ||
                      testing::ClassName(owner) == L"TPREF_FORM" || testing::ClassName(owner) == L"TRESTORE_FORM");
          if (onMessage) onMessage();
          return answer;
        },
        [this](HWND) -> std::unique_ptr<ProcessStarter> { return std::make_unique<RecordingStarter>(starts); },
        [this](ModalDialog& dialog) { return runModal ? runModal(dialog) : dialog.ShowModal(); },
        [this](OPENFILENAMEW& dialog) { return openFile ? openFile(dialog) : false; },
        [this](HWND window) {
          if (afterIdle) afterIdle(window);
        }});
    form_->Create();
    if (show) form_->Show();
    testing::PumpMessages();
    return *form_;
  }

  static bool DiscardQuit() {
    MSG message;
    bool quit = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit = true;
      } else {
        DispatchMessageW(&message);
      }
    }
    return quit;
  }

  // Closes the form through its message and waits for the loop's end.
  bool CloseAndWait() {
    PostMessageW(form_->Handle(), WM_CLOSE, 0, 0);
    return testing::WaitForQuit();
  }

  HWND LV1() const { return form_->Control(TMAIN_FORM::kLV1); }
  int RowCount() const { return ListView_GetItemCount(LV1()); }
  int Selected() const { return ListView_GetNextItem(LV1(), -1, LVNI_SELECTED); }
  std::wstring Cell(int row, int column) const {
    wchar_t text[512] = L"";
    ListView_GetItemText(LV1(), row, column, text, 512);
    return text;
  }
  std::vector<std::wstring> Column(int column) const {
    std::vector<std::wstring> cells;
    for (int row = 0; row < RowCount(); ++row) cells.push_back(Cell(row, column));
    return cells;
  }
  Rect Bounds(int id) const {
    HWND window = form_->Control(id);
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  void ClickColumn(int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = LV1();
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(LV1()));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(form_->Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  }
  // The background the window gives a row as it is painted.
  COLORREF RowBackground(int row) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = LV1();
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrTextBk = CLR_DEFAULT;
    SendMessageW(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
    return draw.clrTextBk;
  }
  // A left click in the list at a row (or below the rows for -1).
  void ClickRow(int row) {
    RECT item{};
    if (row >= 0) {
      ListView_GetItemRect(LV1(), row, &item, LVIR_LABEL);
    } else {
      RECT client;
      GetClientRect(LV1(), &client);
      item = RECT{5, client.bottom - 6, 6, client.bottom - 5};
    }
    const LPARAM at = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
    PostMessageW(LV1(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(LV1(), WM_LBUTTONUP, 0, at);
    testing::PumpMessages();
  }

  // The Windows registry, in which a test may name a key that cannot be
  // deleted, as another program's permissions on it would make it (Wine
  // keeps none on keys); its deletion fails as the real one's does.
  class Registries : public RegistryFactory {
   public:
    std::unique_ptr<Registry> Create() override { return std::make_unique<Guarded>(*this); }
    std::u16string undeletable;

   private:
    class Guarded : public WinRegistry {
     public:
      explicit Guarded(const Registries& owner) : owner_(owner) {}
      bool DeleteKey(std::u16string_view path) override {
        if (!owner_.undeletable.empty() && path == owner_.undeletable && KeyExists(path)) {
          throw AppError(KeyDeleteFailedMessage(path, SystemErrorMessage(ERROR_ACCESS_DENIED)));
        }
        return WinRegistry::DeleteKey(path);
      }

     private:
      const Registries& owner_;
    };
  };

  testing::RegistryCleaner cleaner{{L"Software\\Borland", L"Software\\CodeGear", L"Software\\Embarcadero"}};
  testing::TempFolder folder;
  Registries registries;
  WinFileSystem files;
  WinTextComparer comparer;
  std::vector<std::u16string> errors;
  std::vector<std::u16string> dialogs;
  std::vector<std::u16string> starts;
  int answer = IDNO;
  // Runs while a message dialog is shown.
  std::function<void()> onMessage;
  // The modal dialogs' run (the editor's, the backups' dialog's) and the
  // file dialog; unset, the real run and a cancelled file dialog.
  ModalRunner runModal;
  FileOpenDialog openFile;
  // Runs after each idle update of the editor's modal loop.
  std::function<void(HWND)> afterIdle;
  std::unique_ptr<TMAIN_FORM> form_;
};

}  // namespace ombrisk
