#include "ui/page_control.h"

#include <commctrl.h>

#include "ui/components.h"
#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

void PageControl::Attach(HWND tabs, HFONT font) {
  tabs_ = tabs;
  font_ = font;
}

HWND PageControl::AddPage(std::u16string_view caption, int image) {
  std::wstring text = Wide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = text.data();
  item.iImage = image;
  const int index = PageCount();
  SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  HWND page = CreateChild(GetParent(tabs_), kPanelClass, u"", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, font_);
  if (index > 0) ShowWindow(page, SW_HIDE);
  const RECT bounds = PageBounds();
  MoveTo(page, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  pages_.push_back(page);
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return page;
}

void PageControl::DeleteLastPage() {
  if (pages_.empty()) return;
  const int last = PageCount() - 1;
  const bool wasActive = ActivePageIndex() == last;
  DestroyWindow(pages_.back());
  pages_.pop_back();
  SendMessageW(tabs_, TCM_DELETEITEM, static_cast<WPARAM>(last), 0);
  if (wasActive && !pages_.empty()) SetActivePage(last - 1);
}

int PageControl::ActivePageIndex() const { return static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)); }

void PageControl::SetActivePage(int index) {
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowSelectedPage();
}

void PageControl::ShowSelectedPage() {
  const int active = ActivePageIndex();
  // The new page appears before the old one goes, so nothing flickers
  // through.
  if (active >= 0 && active < PageCount()) ShowWindow(Page(active), SW_SHOW);
  for (int index = 0; index < PageCount(); ++index) {
    if (index != active) ShowWindow(Page(index), SW_HIDE);
  }
}

void PageControl::FitPages(HFONT font) {
  font_ = font;
  const RECT bounds = PageBounds();
  for (HWND page : pages_) {
    SendMessageW(page, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveTo(page, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  }
}

RECT PageControl::PageBounds() const {
  RECT bounds;
  GetWindowRect(tabs_, &bounds);
  MapWindowPoints(nullptr, GetParent(tabs_), reinterpret_cast<POINT*>(&bounds), 2);
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&bounds));
  return bounds;
}

}  // namespace ombrisk
