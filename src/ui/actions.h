// A window's actions (its ActionManager): each action's caption, image,
// shortcut and enabled state in one place, from which its buttons, its
// context menu and its shortcuts are built, so a caption or a shortcut is
// written once and every control bound to an action is disabled with it.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <span>
#include <string_view>
#include <vector>

#include "core/ui_text.h"

namespace ombrisk {

// An action: caption, image in the window's action images (-1 none), and
// its shortcut with the text the menu shows for it.
struct ActionInfo {
  UiText caption;
  int image;
  BYTE modifiers;
  WORD key;
  std::u16string_view shortcutText;
};

class ActionList {
 public:
  // The actions send the commands firstCommand + their index; imageResource
  // is the strip of their pictures, drawn at the size for the DPI.
  ActionList(std::span<const ActionInfo> actions, int firstCommand, int imageResource, int dpi);
  ~ActionList();
  ActionList(const ActionList&) = delete;
  ActionList& operator=(const ActionList&) = delete;

  WORD Command(int action) const { return static_cast<WORD>(firstCommand_ + action); }
  // The action a command stands for, -1 for none of them.
  int ActionOf(WORD command) const;
  bool Enabled(int action) const { return enabled_[static_cast<std::size_t>(action)]; }
  // Also enables or disables the action's buttons.
  void SetEnabled(int action, bool enabled);
  // A menu item's check mark, shown the next time the menu is.
  void SetChecked(int action, bool checked);

  // The button shows the action's image and is disabled with it.
  void BindButton(HWND button, int action);
  // The images of the menu and the buttons drawn for another DPI.
  void Rescale(int dpi);
  // The context menu of the actions, top to bottom; -1 stands for a
  // separator. Its items show their images and shortcuts.
  void BuildMenu(std::span<const int> items);
  HMENU Menu() const { return menu_; }
  // Opens the context menu at the screen point, its items enabled as their
  // actions are.
  void ShowMenu(HWND owner, POINT at) const;
  // The table of the shortcuts.
  HACCEL Shortcuts() const { return shortcuts_; }

  // The menu items' images: answers to WM_MEASUREITEM and WM_DRAWITEM;
  // false for an item that is none of the menu's.
  bool MeasureItem(MEASUREITEMSTRUCT& item) const;
  bool DrawItem(const DRAWITEMSTRUCT& item) const;

 private:
  std::span<const ActionInfo> actions_;
  int firstCommand_;
  std::vector<bool> enabled_;
  std::vector<bool> checked_;
  void SetButtonImage(HWND button, int action);

  int imageSize_;
  HIMAGELIST images_ = nullptr;
  std::vector<std::pair<HWND, int>> buttons_;
  std::vector<HIMAGELIST> buttonImages_;
  std::vector<int> menuItems_;
  HMENU menu_ = nullptr;
  HACCEL shortcuts_ = nullptr;
  int imageResource_;
};

}  // namespace ombrisk
