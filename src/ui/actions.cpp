#include "ui/actions.h"

#include "core/text.h"
#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

ActionList::ActionList(std::span<const ActionInfo> actions, int firstCommand, int imageResource, int dpi)
    : actions_(actions),
      firstCommand_(firstCommand),
      enabled_(actions.size(), true),
      imageSize_(ImageSizeFor(dpi)),
      images_(LoadImageStrip(imageResource, imageSize_)),
      imageResource_(imageResource) {
  std::vector<ACCEL> accelerators;
  for (std::size_t action = 0; action < actions.size(); ++action) {
    if (actions[action].key != 0) {
      accelerators.push_back(ACCEL{actions[action].modifiers, actions[action].key, Command(static_cast<int>(action))});
    }
  }
  shortcuts_ = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
}

ActionList::~ActionList() {
  if (menu_ != nullptr) DestroyMenu(menu_);
  if (shortcuts_ != nullptr) DestroyAcceleratorTable(shortcuts_);
  for (HIMAGELIST images : buttonImages_) ImageList_Destroy(images);
  if (images_ != nullptr) ImageList_Destroy(images_);
}

int ActionList::ActionOf(WORD command) const {
  const int action = command - firstCommand_;
  return action >= 0 && static_cast<std::size_t>(action) < actions_.size() ? action : -1;
}

void ActionList::SetEnabled(int action, bool enabled) {
  enabled_[static_cast<std::size_t>(action)] = enabled;
  for (const auto& [button, bound] : buttons_) {
    if (bound == action) EnableWindow(button, enabled);
  }
}

void ActionList::SetChecked(int action, bool checked) {
  if (checked_.size() <= static_cast<std::size_t>(action)) checked_.resize(static_cast<std::size_t>(action) + 1);
  checked_[static_cast<std::size_t>(action)] = checked;
}

void ActionList::BindButton(HWND button, int action) {
  buttons_.emplace_back(button, action);
  SetButtonImage(button, action);
}

void ActionList::SetButtonImage(HWND button, int action) {
  const int image = actions_[static_cast<std::size_t>(action)].image;
  if (image < 0) return;
  HIMAGELIST list = buttonImages_.emplace_back(LoadImageStrip(imageResource_, imageSize_, image));
  BUTTON_IMAGELIST bound{list, {MulDiv(4, imageSize_, 16), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
  SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&bound));
}

void ActionList::Rescale(int dpi) {
  imageSize_ = ImageSizeFor(dpi);
  const HIMAGELIST old = images_;
  images_ = LoadImageStrip(imageResource_, imageSize_);
  ImageList_Destroy(old);
  std::vector<HIMAGELIST> oldButtons = std::move(buttonImages_);
  buttonImages_.clear();
  for (const auto& [button, action] : buttons_) SetButtonImage(button, action);
  for (HIMAGELIST images : oldButtons) ImageList_Destroy(images);
}

void ActionList::BuildMenu(std::span<const int> items) {
  menuItems_.assign(items.begin(), items.end());
  menu_ = CreatePopupMenu();
  for (int item : items) {
    if (item < 0) {
      AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const ActionInfo& action = actions_[static_cast<std::size_t>(item)];
    std::u16string text(action.caption);
    if (!action.shortcutText.empty()) text += Concat({u"\t", action.shortcutText});
    AppendMenuW(menu_, MF_STRING, Command(item), Wide(text).c_str());
    if (action.image >= 0) {
      // The image comes from the action images when the menu draws the item.
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_BITMAP;
      info.hbmpItem = HBMMENU_CALLBACK;
      SetMenuItemInfoW(menu_, Command(item), FALSE, &info);
    }
  }
}

void ActionList::ShowMenu(HWND owner, POINT at) const {
  for (int item : menuItems_) {
    if (item < 0) continue;
    EnableMenuItem(menu_, Command(item), MF_BYCOMMAND | (Enabled(item) ? MF_ENABLED : MF_GRAYED));
    const bool checked = static_cast<std::size_t>(item) < checked_.size() && checked_[static_cast<std::size_t>(item)];
    CheckMenuItem(menu_, Command(item), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
  TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}

bool ActionList::MeasureItem(MEASUREITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU || ActionOf(static_cast<WORD>(item.itemID)) < 0) return false;
  item.itemWidth = static_cast<UINT>(imageSize_);
  item.itemHeight = static_cast<UINT>(imageSize_);
  return true;
}

bool ActionList::DrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU) return false;
  const int action = ActionOf(static_cast<WORD>(item.itemID));
  if (action < 0) return false;
  const int image = actions_[static_cast<std::size_t>(action)].image;
  if (image >= 0) {
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - imageSize_) / 2;
    ImageList_Draw(images_, image, item.hDC, item.rcItem.left, top,
                   (item.itemState & ODS_DISABLED) != 0 ? ILD_NORMAL | ILD_BLEND50 : ILD_NORMAL);
  }
  return true;
}

}  // namespace ombrisk
