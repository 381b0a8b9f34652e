// The one error type of the program: a settings-file or registry operation
// that fails throws it with the message the user is shown. The window
// dispatcher catches it at the edge of every handler.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "core/text.h"

namespace ombrisk {

class AppError : public std::exception {
 public:
  explicit AppError(std::u16string message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

  const std::u16string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

}  // namespace ombrisk
