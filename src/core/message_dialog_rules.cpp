#include "core/message_dialog_rules.h"

namespace ombrisk {

unsigned TaskButtonsFor(unsigned flags) {
  switch (flags & 0x0F) {
    case 0:
      return kTaskOk;
    case 1:
      return kTaskOk | kTaskCancel;
    case 2:
    case 5:
    case 6:
      return kTaskRetry | kTaskCancel;
    case 3:
      return kTaskYes | kTaskNo | kTaskCancel;
    case 4:
      return kTaskYes | kTaskNo;
    default:
      return kTaskOk;
  }
}

TaskIcon TaskIconFor(unsigned flags) {
  switch (flags & 0xF0) {
    case 0x10:
      return TaskIcon::Error;
    case 0x20:
      return TaskIcon::Question;
    case 0x30:
      return TaskIcon::Warning;
    case 0x40:
      return TaskIcon::Information;
    default:
      return TaskIcon::Application;
  }
}

int TaskDialogResult(int pressedButton) {
  switch (pressedButton) {
    case kResultCancel:
      return kResultCancel;
    case kResultNo:
      return kResultNo;
    case kResultRetry:
      return kResultRetry;
    case kResultClose:
      return kResultAbort;
    default:
      return kResultYes;
  }
}

std::u16string MessageBoxText(std::u16string_view text, std::u16string_view detail) {
  std::u16string message(text);
  if (!detail.empty()) {
    if (!message.empty()) message += u"\r\n\r\n";
    message += detail;
  }
  return message;
}

}  // namespace ombrisk
