// The base of the program's modal dialogs (the editor, the backups'
// dialog and those still to come): its window class registered when first
// used, its creation from its components table at the owner's DPI, Enter,
// Esc and the close box, the modal loop with its idle update, a move to a
// monitor of another scale, and the error boundary of every handler.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string_view>

#include "ui/components.h"
#include "ui/error_boundary.h"
#include "ui/ui_font.h"
#include "ui/window.h"

namespace ombrisk {

class ModalDialog : public Window {
 public:
  // A dialog's frame: a caption with the close box, no sizing border.
  static constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  // A small dialog's frame, without the icon of a window.
  static constexpr DWORD kSmallDialogExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
  // Called by the modal loop right after each idle update, once every
  // message before it has been handled (Services::afterIdle).
  using IdleObserver = std::function<void(HWND window)>;

  // Creates the hidden dialog owned by the window, with the caption, its
  // client area of the design size and its components, at the DPI of the
  // owner's monitor.
  void Create(HWND owner, std::u16string_view caption);
  // Shows the dialog centred over its owner with the focus on its first
  // control, disables the owner and runs until Close ends it (or the
  // program ends: IDCANCEL); returns the result given to Close.
  int ShowModal();
  // How the modal run ended so far: 0 while it goes on.
  int ModalResult() const { return modalResult_; }
  // The window of the component with the identity.
  HWND Control(int id) const { return components_.Find(id); }
  int Dpi() const { return components_.Dpi(); }
  HFONT Font() const { return font_.Get(); }

 protected:
  ModalDialog(const wchar_t* className, DWORD style, DWORD exStyle, SIZE design,
              std::span<const ComponentRow> components, const ErrorReporter& report, IdleObserver afterIdle);

  // The dialog's parts, each run inside the error boundary.
  // After the components exist: what the table does not say.
  virtual void OnCreate() {}
  // Before each modal run, once the dialog has its size.
  virtual void OnShow() {}
  // The control that has the focus when the run starts.
  virtual int FirstControl() const = 0;
  // Whenever the loop has handled every message (UpdateActions).
  virtual void OnIdle() {}
  // Whether the dialog may close with the result (FormCloseQuery).
  virtual bool CanClose(int) { return true; }
  // A control's command or notification; Enter outside a push button.
  virtual void OnCommand(int, WORD) {}
  virtual LRESULT OnNotify(NMHDR*) { return 0; }
  virtual void OnEnter() {}
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous page.
  virtual void SwitchPage(int) {}
  // The components and images took the new DPI; what depends on it
  // besides them.
  virtual void OnDpiChanged(int /*previousDpi*/) {}
  // Creates the components from the table; a dialog whose components sit
  // on pages made in between creates them itself.
  virtual void CreateComponents();

  // Ends the modal run with the result, when CanClose allows it.
  void Close(int result);
  ComponentSet& Components() { return components_; }
  std::span<const ComponentRow> Table() const { return table_; }
  SIZE Design() const { return design_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return report_; }

 private:
  void Rescale(int dpi, const RECT& suggested);

  const wchar_t* className_;
  DWORD style_;
  DWORD exStyle_;
  SIZE design_;
  std::span<const ComponentRow> table_;
  const ErrorReporter& report_;
  IdleObserver afterIdle_;
  UiFont font_;
  ComponentSet components_;
  bool shown_ = false;
  int modalResult_ = 0;
};

}  // namespace ombrisk
