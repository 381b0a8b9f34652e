#include "ui/message_loop.h"

#include <windows.h>

namespace ombrisk {

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace ombrisk
