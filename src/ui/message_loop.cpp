#include "ui/message_loop.h"

namespace ombrisk {

void RunMessageLoop(const std::function<bool(MSG&)>& preTranslate) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (preTranslate && preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
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
