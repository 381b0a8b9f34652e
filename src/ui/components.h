// A window's components as one table, as a form designer lists them: name,
// parent, window class, caption, bounds at the design size with the edges
// anchored to the parent, style, id and a few traits. One routine creates
// them in table order (which is the Tab order), one lays them out for the
// parent's present size, and names find their windows.
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

// Traits of a component beyond its window style.
enum Traits : unsigned {
  kPlain = 0,
  kFitText = 1,     // at least as wide as its caption needs (a label takes exactly that)
  kImeOff = 2,      // no input method
  kFillParent = 4,  // fills its parent's client area
};

struct Bounds {
  int left, top, width, height;
};

struct ComponentRow {
  const wchar_t* name;
  const wchar_t* parent;  // a component named before, or nullptr for the window itself
  const wchar_t* className;
  std::u16string_view caption;
  Bounds design;  // within the parent, at the parent's design size
  unsigned anchors;
  DWORD style;  // WS_CHILD and WS_VISIBLE are added
  DWORD exStyle;
  int id;
  unsigned traits;
};

// The component at the parent's size, given the parent's design size.
Bounds Anchored(const Bounds& design, unsigned anchors, SIZE parentDesign, SIZE parent);

class ComponentSet {
 public:
  // Creates the components in table order, with the font, at their bounds
  // for the owner's present client size; may be called again for more rows
  // (the table must outlive the set).
  void Create(HWND owner, SIZE ownerDesign, std::span<const ComponentRow> rows, HFONT font);
  // Names a window made elsewhere (a page of a tab control), so components
  // can sit on it and it can be found.
  void Adopt(const wchar_t* name, HWND window);
  // Places every component of the tables for the owner's present client size.
  void Layout() const;
  // The window of the named component; nullptr for an unknown name.
  HWND Find(std::wstring_view name) const;
  // The window of the component with the id; nullptr when none has it.
  HWND FindId(int id) const;

 private:
  struct Entry {
    const wchar_t* name;
    HWND window;
    const ComponentRow* row;  // nullptr for an adopted window
  };
  const Entry* Named(const wchar_t* name) const;
  SIZE DesignSize(const wchar_t* parent) const;
  SIZE PresentSize(const wchar_t* parent) const;
  Bounds BoundsOf(const ComponentRow& row) const;

  HWND owner_ = nullptr;
  SIZE ownerDesign_{};
  HFONT font_ = nullptr;
  std::vector<Entry> entries_;
};

}  // namespace ombrisk
