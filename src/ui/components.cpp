#include "ui/components.h"

#include <imm.h>

#include <algorithm>

#include "ui/controls.h"
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

// The bounds a component takes at the design size: a label as wide and as
// high as its text, a check box wide enough for its caption.
Bounds Fitted(const ComponentRow& row, HWND owner, HFONT font) {
  Bounds bounds = row.design;
  if ((row.traits & kFitText) == 0) return bounds;
  const int text = TextWidth(owner, font, row.caption);
  if ((row.style & BS_TYPEMASK) == BS_AUTOCHECKBOX && std::wstring_view(row.className) == L"BUTTON") {
    bounds.width = std::max(bounds.width, text + GetSystemMetrics(SM_CXMENUCHECK) + 8);
  } else {
    bounds.width = text + 2;
    bounds.height = TextHeight(owner, font);
  }
  return bounds;
}

}  // namespace

void ComponentSet::Create(HWND owner, SIZE ownerDesign, std::span<const ComponentRow> rows, HFONT font) {
  owner_ = owner;
  ownerDesign_ = ownerDesign;
  font_ = font;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const ComponentRow& row : rows) {
    const Bounds bounds = BoundsOf(row);
    const Entry* parent = row.parent == nullptr ? nullptr : Named(row.parent);
    const HWND window = CreateWindowExW(row.exStyle, row.className, Wide(row.caption).c_str(),
                                        WS_CHILD | WS_VISIBLE | row.style, bounds.left, bounds.top, bounds.width,
                                        bounds.height, parent == nullptr ? owner : parent->window,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if ((row.traits & kImeOff) != 0) ImmAssociateContext(window, nullptr);
    entries_.push_back(Entry{row.name, window, &row});
  }
}

void ComponentSet::Adopt(const wchar_t* name, HWND window) { entries_.push_back(Entry{name, window, nullptr}); }

void ComponentSet::Layout() const {
  for (const Entry& entry : entries_) {
    if (entry.row == nullptr) continue;
    const Bounds bounds = BoundsOf(*entry.row);
    SetWindowPos(entry.window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND ComponentSet::Find(std::wstring_view name) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [name](const Entry& e) { return name == e.name; });
  return found == entries_.end() ? nullptr : found->window;
}

HWND ComponentSet::FindId(int id) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [id](const Entry& e) { return id != 0 && e.row != nullptr && e.row->id == id; });
  return found == entries_.end() ? nullptr : found->window;
}

const ComponentSet::Entry* ComponentSet::Named(const wchar_t* name) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [name](const Entry& e) { return std::wstring_view(name) == e.name; });
  return found == entries_.end() ? nullptr : &*found;
}

SIZE ComponentSet::DesignSize(const wchar_t* parent) const {
  const Entry* entry = parent == nullptr ? nullptr : Named(parent);
  if (entry == nullptr) return ownerDesign_;
  if (entry->row == nullptr) return PresentSize(parent);
  const Bounds design = Fitted(*entry->row, owner_, font_);
  return SIZE{design.width, design.height};
}

SIZE ComponentSet::PresentSize(const wchar_t* parent) const {
  const Entry* entry = parent == nullptr ? nullptr : Named(parent);
  if (entry == nullptr || entry->row == nullptr) {
    RECT client;
    GetClientRect(entry == nullptr ? owner_ : entry->window, &client);
    return SIZE{client.right, client.bottom};
  }
  const Bounds bounds = BoundsOf(*entry->row);
  return SIZE{bounds.width, bounds.height};
}

Bounds ComponentSet::BoundsOf(const ComponentRow& row) const {
  if ((row.traits & kFillParent) != 0) {
    const SIZE parent = PresentSize(row.parent);
    return Bounds{0, 0, parent.cx, parent.cy};
  }
  return Anchored(Fitted(row, owner_, font_), row.anchors, DesignSize(row.parent), PresentSize(row.parent));
}

}  // namespace ombrisk
