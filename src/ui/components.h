// A window's components as one table, as a form designer lists them: one
// component a line, made with the builders below (a label, an edit, a check
// box ...), each naming its identity, its parent, its caption and its bounds
// in a design at 96 DPI with the edges anchored to the parent. One routine
// creates them in table order (which is the Tab order) at the window's DPI,
// one lays them out for the parent's present size, and an identity finds
// its window.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <span>
#include <string_view>
#include <vector>

#include "core/ui_text.h"

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

// The window class of the program's panels (ui/controls.cpp registers it).
inline constexpr const wchar_t* kPanelClass = L"TPanel";

struct ComponentRow {
  // Its identity in the window, above 0: the control id of its window.
  int id;
  // The component's name in the form, for messages.
  const char* name;
  // A component made before it, or 0 for the window itself.
  int parent;
  const wchar_t* className;
  UiText caption;
  // Within the parent at the parent's design size, in pixels at 96 DPI.
  Bounds design;
  unsigned anchors = akLeft | akTop;
  DWORD style = 0;  // WS_CHILD and WS_VISIBLE are added
  DWORD exStyle = 0;
  unsigned traits = kPlain;

  constexpr ComponentRow Anchor(unsigned edges) const {
    ComponentRow row = *this;
    row.anchors = edges;
    return row;
  }
  constexpr ComponentRow With(DWORD moreStyle, unsigned moreTraits = kPlain) const {
    ComponentRow row = *this;
    row.style |= moreStyle;
    row.traits |= moreTraits;
    return row;
  }
  constexpr ComponentRow WithExtended(DWORD moreExStyle) const {
    ComponentRow row = *this;
    row.exStyle |= moreExStyle;
    return row;
  }
};

// The builders: each component's kind with the style and traits it always
// has.
constexpr ComponentRow Label(int id, const char* name, int parent, UiText caption, POINT at) {
  return {id, name, parent, L"STATIC", caption, {at.x, at.y, 0, 0}, akLeft | akTop, SS_LEFT, 0, kFitText};
}
// A static text of fixed bounds.
constexpr ComponentRow Text(int id, const char* name, int parent, UiText caption, Bounds bounds) {
  return {id, name, parent, L"STATIC", caption, bounds, akLeft | akTop, SS_LEFT};
}
constexpr ComponentRow Edit(int id, const char* name, int parent, Bounds bounds) {
  return {id, name, parent, L"EDIT", u"", bounds, akLeft | akTop, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
}
constexpr ComponentRow Memo(int id, const char* name, int parent, Bounds bounds) {
  return {id,
          name,
          parent,
          L"EDIT",
          u"",
          bounds,
          akLeft | akTop,
          WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN,
          WS_EX_CLIENTEDGE};
}
constexpr ComponentRow CheckBox(int id, const char* name, int parent, UiText caption, Bounds bounds) {
  return {id, name, parent, L"BUTTON", caption, bounds, akLeft | akTop, WS_TABSTOP | BS_AUTOCHECKBOX, 0, kFitText};
}
constexpr ComponentRow Button(int id, const char* name, int parent, UiText caption, Bounds bounds) {
  return {id, name, parent, L"BUTTON", caption, bounds, akLeft | akTop, WS_TABSTOP | BS_PUSHBUTTON};
}
constexpr ComponentRow DropDownList(int id, const char* name, int parent, Bounds bounds) {
  return {id, name, parent, L"COMBOBOX", u"", bounds, akLeft | akTop, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
}
constexpr ComponentRow GroupBox(int id, const char* name, int parent, UiText caption, Bounds bounds) {
  return {id, name, parent, L"BUTTON", caption, bounds, akLeft | akTop, BS_GROUPBOX | WS_CLIPSIBLINGS};
}
constexpr ComponentRow Panel(int id, const char* name, int parent, Bounds bounds) {
  return {id, name, parent, kPanelClass, u"", bounds, akLeft | akTop, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
}
constexpr ComponentRow TabStrip(int id, const char* name, int parent, Bounds bounds) {
  return {id,  name,   parent,         WC_TABCONTROLW,
          u"", bounds, akLeft | akTop, WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN};
}
constexpr ComponentRow ReportList(int id, const char* name, int parent, Bounds bounds) {
  return {id,
          name,
          parent,
          WC_LISTVIEWW,
          u"",
          bounds,
          akLeft | akTop,
          WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
          WS_EX_CLIENTEDGE};
}

// The component at the parent's size, given the parent's design size.
Bounds Anchored(const Bounds& design, unsigned anchors, SIZE parentDesign, SIZE parent);

// A length of the 96-DPI design at the DPI.
inline int Scaled(int length, int dpi) { return MulDiv(length, dpi, USER_DEFAULT_SCREEN_DPI); }

class ComponentSet {
 public:
  // Creates the components in table order, with the font, at their bounds
  // for the owner's present client size at the DPI; may be called again for
  // more rows (the table must outlive the set). ownerDesign is the owner's
  // client size in the design.
  void Create(HWND owner, SIZE ownerDesign, std::span<const ComponentRow> rows, HFONT font, int dpi);
  // Gives a window made elsewhere (a page of a tab control) an identity, so
  // components can sit on it and it can be found.
  void Adopt(int id, HWND window);
  // Places every component of the tables for the owner's present client size.
  void Layout();
  // Places them again where the owner's client size is not the one they
  // were last placed for (the size a window's first show reports again).
  void Resized();
  // A move to a monitor of another scale: every component takes the font
  // and is laid out at the DPI.
  void Rescale(HFONT font, int dpi);
  // The window of the component; nullptr when none has the identity.
  HWND Find(int id) const;
  int Dpi() const { return dpi_; }

 private:
  struct Entry {
    int id;
    HWND window;
    const ComponentRow* row;  // nullptr for an adopted window
  };
  const Entry* Of(int id) const;
  SIZE DesignSize(int parent) const;
  SIZE PresentSize(int parent) const;
  Bounds BoundsOf(const ComponentRow& row) const;

  HWND owner_ = nullptr;
  SIZE ownerDesign_{};
  HFONT font_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  SIZE placedFor_{-1, -1};
  std::vector<Entry> entries_;
};

}  // namespace ombrisk
