#include "ui/message_loop.h"

#include <algorithm>

namespace ombrisk {

void RunMessageLoop(const std::function<bool(MSG&)>& preTranslate) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (preTranslate && preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void CentreOverOwner(HWND window) {
  const HWND owner = GetWindow(window, GW_OWNER);
  RECT bounds;
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  RECT centre{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) GetWindowRect(owner, &centre);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  GetMonitorInfoW(MonitorFromRect(&centre, MONITOR_DEFAULTTONEAREST), &monitor);
  const auto within = [](int position, LONG low, LONG high, int size) {
    return std::max(static_cast<int>(low), std::min(position, static_cast<int>(high) - size));
  };
  const int left = within((centre.left + centre.right - width) / 2, monitor.rcWork.left, monitor.rcWork.right, width);
  const int top = within((centre.top + centre.bottom - height) / 2, monitor.rcWork.top, monitor.rcWork.bottom, height);
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int RunModalLoop(HWND window, const int& result, const std::function<void()>& idle,
                 const std::function<bool(MSG&)>& preTranslate) {
  const HWND owner = GetWindow(window, GW_OWNER);
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  int ended = 0;
  MSG message;
  while ((ended = result) == 0) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      idle();
      WaitMessage();
      continue;
    }
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      // The program is ending: the main loop sees the quit again.
      PostQuitMessage(static_cast<int>(message.wParam));
      ended = IDCANCEL;
      break;
    }
    if (!preTranslate(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (owner != nullptr) EnableWindow(owner, TRUE);
  ShowWindow(window, SW_HIDE);
  return ended;
}

void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace ombrisk
