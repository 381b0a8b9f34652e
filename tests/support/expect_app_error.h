// Expects an action to fail with the program's error and its exact message.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string_view>

#include "core/errors.h"
#include "core/text.h"

namespace ombrisk::testing {

inline void ExpectAppError(const std::function<void()>& action, std::u16string_view message) {
  try {
    action();
    ADD_FAILURE() << "no error; expected \"" << ToUtf8(message) << "\"";
  } catch (const AppError& error) {
    EXPECT_EQ(ToUtf8(error.Message()), ToUtf8(message));
  }
}

}  // namespace ombrisk::testing
