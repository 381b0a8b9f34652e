#include "ui/components.h"

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

void ComponentSet::Create(HWND owner, SIZE ownerDesign, std::span<const ComponentSpec> specs, HFONT font) {
  owner_ = owner;
  ownerDesign_ = ownerDesign;
  specs_ = specs;
  windows_.assign(specs.size(), nullptr);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (std::size_t index = 0; index < specs.size(); ++index) {
    const ComponentSpec& spec = specs[index];
    const Bounds bounds = BoundsOf(index);
    const HWND parent = spec.parent < 0 ? owner : windows_[static_cast<std::size_t>(spec.parent)];
    windows_[index] =
        CreateWindowExW(spec.exStyle, spec.className, Wide(spec.caption).c_str(), WS_CHILD | WS_VISIBLE | spec.style,
                        bounds.left, bounds.top, bounds.width, bounds.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    SendMessageW(windows_[index], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void ComponentSet::Layout() const {
  for (std::size_t index = 0; index < specs_.size(); ++index) {
    const Bounds bounds = BoundsOf(index);
    SetWindowPos(windows_[index], nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND ComponentSet::Find(std::wstring_view name) const {
  for (std::size_t index = 0; index < specs_.size(); ++index) {
    if (name == specs_[index].name) return windows_[index];
  }
  return nullptr;
}

HWND ComponentSet::FindId(int id) const {
  for (std::size_t index = 0; index < specs_.size(); ++index) {
    if (id != 0 && specs_[index].id == id) return windows_[index];
  }
  return nullptr;
}

SIZE ComponentSet::DesignSize(int index) const {
  if (index < 0) return ownerDesign_;
  const Bounds& design = specs_[static_cast<std::size_t>(index)].design;
  return SIZE{design.width, design.height};
}

SIZE ComponentSet::PresentSize(int index) const {
  if (index < 0) {
    RECT client;
    GetClientRect(owner_, &client);
    return SIZE{client.right, client.bottom};
  }
  const Bounds bounds = BoundsOf(static_cast<std::size_t>(index));
  return SIZE{bounds.width, bounds.height};
}

Bounds ComponentSet::BoundsOf(std::size_t index) const {
  const ComponentSpec& spec = specs_[index];
  return Anchored(spec.design, spec.anchors, DesignSize(spec.parent), PresentSize(spec.parent));
}

}  // namespace ombrisk
