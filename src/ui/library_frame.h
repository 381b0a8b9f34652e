// TframeLibrary: the content of one library tab of the editor, the twelve
// library path settings of one platform as label and edit pairs in a box
// that scrolls when the tab is smaller than its content.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "core/platforms.h"
#include "ui/components.h"

namespace ombrisk {

class TframeLibrary {
 public:
  static constexpr int kRows = static_cast<int>(LibrarySettings.size());

  // Registers the scrolling box's window class once per process.
  static void RegisterWindowClass(HINSTANCE instance);

  // Creates the frame on the page at the DPI, filling it. The page owns the
  // windows.
  TframeLibrary(HWND page, HFONT font, TPlatformType platform, int dpi);

  // The platform of the tab.
  TPlatformType Tag() const { return platform_; }
  HWND Handle() const;
  HWND ScrollBox1() const;
  HWND Edit(int row) const;
  HWND Label(int row) const;
  HWND lblDmy() const;

  // The font and the DPI of a move to a monitor of another scale.
  void Rescale(HFONT font, int dpi);
  // Enables or disables a row's edit together with its label.
  void SetRowEnabled(int row, bool enabled);
  std::array<std::u16string, kRows> Values() const;
  void SetValues(const std::array<std::u16string, kRows>& values);

 private:
  void UpdateContentHeight();

  TPlatformType platform_;
  ComponentSet components_;
};

}  // namespace ombrisk
