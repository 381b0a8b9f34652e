// FD_LV, the main window's find dialog: the system's modeless find dialog,
// one for the window's life, so its text, direction and position carry over
// from one opening to the next; and the search it runs over a list's rows.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <functional>
#include <optional>
#include <string_view>

#include "ui/services.h"

namespace ombrisk {

class FindDialog {
 public:
  // The list a search runs over (dLV).
  class Target {
   public:
    virtual ~Target() = default;
    virtual int RowCount() const = 0;
    // The selected row, -1 when none is.
    virtual int SelectedRow() const = 0;
    // Tests one row and selects it on a match (MatchListItem).
    virtual bool MatchRow(int row, std::u16string_view text) = 0;
    // Shows an error message (caption "エラー", 0x2010) owned by the window.
    virtual void ShowError(HWND owner, std::u16string_view text) = 0;
    // Gives the input focus back to the list.
    virtual void FocusList() = 0;
  };

  // Disables the open dialog while a modal window of the given owner is
  // shown: a window the dialog owns blocks it itself, and gives it back the
  // activation when it closes, so the dialog is left alone for it.
  class Block {
   public:
    Block(const FindDialog& dialog, HWND modalOwner);
    ~Block();
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

   private:
    HWND dialog_;
  };

  FindDialog();
  FindDialog(const FindDialog&) = delete;
  FindDialog& operator=(const FindDialog&) = delete;

  // The open dialog, or nullptr.
  HWND Handle() const { return window_; }
  // The message the dialog sends its owner.
  static UINT Message();

  // StartFind: opens the dialog, owned by the window, for a search over the
  // target, or brings it to the front; the next search starts at the
  // selected row. An empty target is said so first.
  void Start(HWND owner, Target& target);
  // The dialog's message: a search (FD_LVFind) or its closing (FD_LVClose).
  void OnMessage(const FINDREPLACEW& find);
  // Gives the dialog its keyboard navigation; true when it took the message.
  bool PreTranslateMessage(MSG& message) const;
  // Closes the dialog with its owner.
  void Destroy();

 private:
  void FD_LVFind();
  void FD_LVClose();

  FINDREPLACEW FD_LV{};
  wchar_t text_[256] = L"";
  HWND window_ = nullptr;
  std::optional<POINT> position_;
  Target* dLV = nullptr;
  int previousHit_ = 0;  // the flag kept in the dialog's tag
  bool finding_ = false;
};

// Makes the services' modal windows (message dialogs, error boxes, the
// editor, which the window owns) block the open find dialog as they block
// their owners.
void BlockWhileModal(Services& services, const FindDialog& dialog, std::function<HWND()> window);

}  // namespace ombrisk
