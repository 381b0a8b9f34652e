#include "ui/components.h"

#include <imm.h>

#include <algorithm>

#include "ui/controls.h"
#include "ui/dpi.h"
#include "win32/wide.h"

namespace ombrisk {

Bounds Anchored(const Bounds& design, unsigned anchors, SIZE parentDesign, SIZE parent) {
  const auto axis = [](int start, int length, bool first, bool second, int designExtent, int extent) {
    const int grow = extent - designExtent;
    if (first && second) return std::pair{start, length + grow};
    if (second) return std::pair{start + grow, length};
    if (!first) return std::pair{start + grow / 2, length};  // neither: stays centred
    return std::pair{start, length};
  };
  const auto [left, width] =
      axis(design.left, design.width, (anchors & akLeft) != 0, (anchors & akRight) != 0, parentDesign.cx, parent.cx);
  const auto [top, height] =
      axis(design.top, design.height, (anchors & akTop) != 0, (anchors & akBottom) != 0, parentDesign.cy, parent.cy);
  return Bounds{left, top, width, height};
}

namespace {

// The bounds a component takes at the DPI before anchoring: the design's
// scaled, a label as wide and as high as its text, a check box wide enough
// for its caption (the text measured in the font made for the DPI).
Bounds Fitted(const ComponentRow& row, HWND owner, HFONT font, int dpi) {
  // Edges are scaled, not lengths, so components that meet in the design
  // meet at every scale.
  const int left = Scaled(row.design.left, dpi);
  const int top = Scaled(row.design.top, dpi);
  Bounds bounds{left, top, Scaled(row.design.left + row.design.width, dpi) - left,
                Scaled(row.design.top + row.design.height, dpi) - top};
  if ((row.traits & kFitText) == 0) return bounds;
  const int text = TextWidth(owner, font, row.caption);
  if ((row.style & BS_TYPEMASK) == BS_AUTOCHECKBOX && std::wstring_view(row.className) == L"BUTTON") {
    bounds.width = std::max(bounds.width, text + SystemMetricForDpi(SM_CXMENUCHECK, dpi) + Scaled(8, dpi));
  } else {
    bounds.width = text + Scaled(2, dpi);
    bounds.height = TextHeight(owner, font);
  }
  return bounds;
}

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

}  // namespace

void ComponentSet::Create(HWND owner, SIZE ownerDesign, std::span<const ComponentRow> rows, HFONT font, int dpi) {
  owner_ = owner;
  ownerDesign_ = ownerDesign;
  font_ = font;
  dpi_ = dpi;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ComponentRow& row : rows) {
    const Bounds bounds = BoundsOf(row);
    const Entry* parent = row.parent == 0 ? nullptr : Of(row.parent);
    const HWND window = CreateWindowExW(row.exStyle, row.className, Wide(row.caption).c_str(),
                                        WS_CHILD | WS_VISIBLE | row.style, bounds.left, bounds.top, bounds.width,
                                        bounds.height, parent == nullptr ? owner : parent->window,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
    // A control that sizes itself as it is made (an etched line takes the
    // height of its edge) gets the table's size back.
    RECT made{};
    GetWindowRect(window, &made);
    if (made.right - made.left != bounds.width || made.bottom - made.top != bounds.height) {
      SetWindowPos(window, nullptr, 0, 0, bounds.width, bounds.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if ((row.traits & kImeOff) != 0) ImmAssociateContext(window, nullptr);
    entries_.push_back(Entry{row.id, window, &row});
  }
  placedFor_ = ClientSize(owner);
}

void ComponentSet::Adopt(int id, HWND window) { entries_.push_back(Entry{id, window, nullptr}); }

void ComponentSet::Resized() {
  const SIZE size = ClientSize(owner_);
  if (size.cx != placedFor_.cx || size.cy != placedFor_.cy) Layout();
}

void ComponentSet::Layout() {
  placedFor_ = ClientSize(owner_);
  for (const Entry& entry : entries_) {
    if (entry.row == nullptr) continue;
    const Bounds bounds = BoundsOf(*entry.row);
    SetWindowPos(entry.window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ComponentSet::Rescale(HFONT font, int dpi) {
  font_ = font;
  dpi_ = dpi;
  for (const Entry& entry : entries_) SendMessageW(entry.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  Layout();
}

HWND ComponentSet::Find(int id) const {
  const Entry* entry = Of(id);
  return entry == nullptr ? nullptr : entry->window;
}

const ComponentSet::Entry* ComponentSet::Of(int id) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
  return found == entries_.end() ? nullptr : &*found;
}

SIZE ComponentSet::DesignSize(int parent) const {
  const Entry* entry = parent == 0 ? nullptr : Of(parent);
  if (entry == nullptr) return SIZE{Scaled(ownerDesign_.cx, dpi_), Scaled(ownerDesign_.cy, dpi_)};
  if (entry->row == nullptr) return PresentSize(parent);
  const Bounds design = Fitted(*entry->row, owner_, font_, dpi_);
  return SIZE{design.width, design.height};
}

SIZE ComponentSet::PresentSize(int parent) const {
  const Entry* entry = parent == 0 ? nullptr : Of(parent);
  if (entry == nullptr || entry->row == nullptr) return ClientSize(entry == nullptr ? owner_ : entry->window);
  const Bounds bounds = BoundsOf(*entry->row);
  return SIZE{bounds.width, bounds.height};
}

Bounds ComponentSet::BoundsOf(const ComponentRow& row) const {
  if ((row.traits & kFillParent) != 0) {
    const SIZE parent = PresentSize(row.parent);
    return Bounds{0, 0, parent.cx, parent.cy};
  }
  return Anchored(Fitted(row, owner_, font_, dpi_), row.anchors, DesignSize(row.parent), PresentSize(row.parent));
}

}  // namespace ombrisk
