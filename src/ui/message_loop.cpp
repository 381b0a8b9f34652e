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

}  // namespace ombrisk
