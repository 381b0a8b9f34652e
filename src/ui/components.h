// A window's components as one table, as a form designer lists them: name,
// parent, window class, caption, bounds at the design size with the edges
// anchored to the parent, style and id. One routine creates them in table
// order (which is the Tab order), one lays them out for the parent's
// present size, and names find their windows.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

namespace ombrisk {

// The edges of a component that keep their distance to the parent's edges
// when the parent's size differs from its design size.
enum Anchors : unsigned {
  akLeft = 1,
  akTop = 2,
  akRight = 4,
  akBottom = 8,
  akAll = akLeft | akTop | akRight | akBottom,
};

struct Bounds {
  int left, top, width, height;
};

struct ComponentSpec {
  const wchar_t* name;
  int parent;  // index of an earlier row; -1 for the window itself
  const wchar_t* className;
  std::u16string_view caption;
  Bounds design;  // within the parent, at the parent's design size
  unsigned anchors;
  DWORD style;  // WS_CHILD and WS_VISIBLE are added
  DWORD exStyle;
  int id;
};

// The component at the parent's size, given the parent's design size.
Bounds Anchored(const Bounds& design, unsigned anchors, SIZE parentDesign, SIZE parent);

class ComponentSet {
 public:
  // Creates every component in table order, with the font, at the bounds
  // of the owner's present client size. The table must outlive the set.
  void Create(HWND owner, SIZE ownerDesign, std::span<const ComponentSpec> specs, HFONT font);
  // Places every component for the owner's present client size.
  void Layout() const;
  // The window of the named component; nullptr for an unknown name.
  HWND Find(std::wstring_view name) const;
  // The window of the component with the id; nullptr when none has it.
  HWND FindId(int id) const;
  HWND operator[](std::size_t index) const { return windows_[index]; }

 private:
  SIZE DesignSize(int index) const;
  SIZE PresentSize(int index) const;
  Bounds BoundsOf(std::size_t index) const;

  HWND owner_ = nullptr;
  SIZE ownerDesign_{};
  std::span<const ComponentSpec> specs_;
  std::vector<HWND> windows_;
};

}  // namespace ombrisk
