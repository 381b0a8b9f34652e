#include "ui/modal_dialog.h"

#include "core/texts.h"
#include "ui/dialog_keys.h"
#include "ui/dpi.h"
#include "ui/message_loop.h"
#include "ui/services.h"
#include "win32/wide.h"

namespace ombrisk {

int ShowModally(ModalDialog& dialog) { return dialog.ShowModal(); }

bool AskYesNo(const Services& services, HWND owner, std::u16string_view question) {
  return services.showMessage(owner, texts::kConfirmCaption, question,
                              MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

ModalDialog::ModalDialog(const wchar_t* className, DWORD style, DWORD exStyle, SIZE design,
                         std::span<const ComponentRow> components, const ErrorReporter& report, IdleObserver afterIdle)
    : className_(className),
      style_(style),
      exStyle_(exStyle),
      design_(design),
      table_(components),
      report_(report),
      afterIdle_(std::move(afterIdle)) {}

void ModalDialog::Create(HWND owner, std::u16string_view caption) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (!GetClassInfoExW(instance, className_, &known)) RegisterFormClass(instance, className_, 0);
  const int dpi = owner != nullptr ? WindowDpi(owner) : DpiAt(POINT{0, 0});
  if (dpi != USER_DEFAULT_SCREEN_DPI) font_.Rescale(dpi);
  const SIZE size = WindowSizeForClient(SIZE{Scaled(design_.cx, dpi), Scaled(design_.cy, dpi)}, style_, exStyle_, dpi);
  CreateHandle(className_, Wide(caption).c_str(), style_, exStyle_, RECT{0, 0, size.cx, size.cy}, owner);
  CreateComponents();
  OnCreate();
}

void ModalDialog::CreateComponents() {
  components_.Create(Handle(), design_, table_, font_.Get(), WindowDpi(Handle()));
}

int ModalDialog::ShowModal() {
  if (!shown_) {
    shown_ = true;
    OnShow();
  }
  CentreOverOwner(Handle());
  modalResult_ = 0;
  FocusDialogControl(Control(FirstControl()));
  modalResult_ = RunModalLoop(
      Handle(), modalResult_,
      [this] {
        RunHandler(report_, [this] { OnIdle(); });
        if (afterIdle_) afterIdle_(Handle());
      },
      [this](MSG& message) {
        return PreTranslateDialogMessage(Handle(), message,
                                         [this](int step) { RunHandler(report_, [&] { SwitchPage(step); }); });
      });
  return modalResult_;
}

void ModalDialog::Close(int result) {
  if (CanClose(result)) modalResult_ = result;
}

void ModalDialog::Rescale(int dpi, const RECT& suggested) {
  const int previous = Dpi();
  font_.Rescale(dpi);
  components_.Rescale(font_.Get(), dpi);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  OnDpiChanged(previous);
}

LRESULT ModalDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const auto control = reinterpret_cast<HWND>(lParam);
      const WORD id = LOWORD(wParam);
      if (control == nullptr) {
        // Enter and Esc, as the dialog navigation sends them.
        if (id == IDOK) OnEnter();
        if (id == IDCANCEL) Close(IDCANCEL);
        return 0;
      }
      if (!DrawFocusedButtonAsDefault(control, HIWORD(wParam))) OnCommand(id, HIWORD(wParam));
      return 0;
    }
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NEXTDLGCTL:
      FocusDialogControl(NextControl(Handle(), wParam, lParam));
      return 0;
    case WM_CLOSE:
      Close(IDCANCEL);
      return 0;
    case WM_DPICHANGED:
      Rescale(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace ombrisk
