// A tab control with one page per tab. The pages are panels beside the tab
// control, laid over its display area, and only the selected one is visible.
// As in property sheets, the tab strip comes after the pages in the Tab
// order: the pages lie above the tab control, which stays at the bottom.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace ombrisk {

class PageControl {
 public:
  // Takes the tab control; pages get the font.
  void Attach(HWND tabs, HFONT font);
  HWND Handle() const { return tabs_; }

  // Appends a tab and its page (hidden unless it is the only one); image -1
  // for none.
  HWND AddPage(std::u16string_view caption, int image);
  // Removes the last tab and destroys its page with everything on it.
  void DeleteLastPage();
  int PageCount() const { return static_cast<int>(pages_.size()); }
  HWND Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }
  int ActivePageIndex() const;
  // Selects the tab and shows its page without a change notification, as
  // the program does.
  void SetActivePage(int index);
  // Shows the page of the tab the user selected (on TCN_SELCHANGE).
  void ShowSelectedPage();
  // The tab control's display area, which the pages fill.
  RECT PageBounds() const;
  // After the tab control changed its size or font: the pages fill its
  // display area again, and take the font.
  void FitPages(HFONT font);

 private:
  HWND tabs_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<HWND> pages_;
};

}  // namespace ombrisk
