#include "ui/dialog_keys.h"

namespace ombrisk {

namespace {

bool IsPushButton(HWND window) {
  wchar_t className[16] = L"";
  GetClassNameW(window, className, 16);
  const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
  return lstrcmpiW(className, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

bool IsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool PreTranslateDialogMessage(HWND dialog, MSG& message, const std::function<void(int step)>& switchPage) {
  if (message.message == WM_KEYDOWN && (message.hwnd == dialog || IsChild(dialog, message.hwnd)) &&
      IsDown(VK_CONTROL)) {
    if (message.wParam == VK_TAB) {
      switchPage(IsDown(VK_SHIFT) ? -1 : 1);
      return true;
    }
    if (message.wParam == VK_NEXT || message.wParam == VK_PRIOR) {
      switchPage(message.wParam == VK_NEXT ? 1 : -1);
      return true;
    }
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && IsChild(dialog, message.hwnd) &&
      IsPushButton(message.hwnd)) {
    SendMessageW(message.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  return IsDialogMessageW(dialog, &message) != 0;
}

bool DrawFocusedButtonAsDefault(HWND control, WORD code) {
  if (code != BN_SETFOCUS && code != BN_KILLFOCUS) return false;
  if (IsPushButton(control))
    SendMessageW(control, BM_SETSTYLE, code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  return true;
}

HWND NextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  return LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
}

void FocusDialogControl(HWND control) {
  if (control == nullptr) return;
  if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

}  // namespace ombrisk
