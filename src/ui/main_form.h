// TMAIN_FORM, the program's main window. Closing it ends the program.
#pragma once

#include <windows.h>

#include "core/catalogue.h"
#include "ui/services.h"
#include "ui/ui_font.h"
#include "ui/window.h"

namespace ombrisk {

class TMAIN_FORM : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TMAIN_FORM";
  static constexpr SIZE kDesignClientSize{512, 320};
  static constexpr SIZE kMinimumSize{284, 200};

  // Registers the window class once per process.
  static void RegisterWindowClass(HINSTANCE instance);

  explicit TMAIN_FORM(Services services);

  // Creates the window hidden, at its design size, centred on the screen.
  void Create();
  void Show();

  HFONT Font() const { return font_.Get(); }
  InstalledVersionSet InstalledVersions() const { return installedVersions_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return services_.reportError; }

 private:
  void FormShow();
  void FormDestroy();

  Services services_;
  UiFont font_;
  bool shown_ = false;
  InstalledVersionSet installedVersions_ = 0;
};

}  // namespace ombrisk
