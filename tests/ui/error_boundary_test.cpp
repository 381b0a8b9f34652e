#include "ui/error_boundary.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "core/errors.h"
#include "core/texts.h"
#include "support/win_test_support.h"
#include "win32/wide.h"

namespace ombrisk {
namespace {

TEST(ErrorBoundary, ReportsWhatEscapesAHandler) {
  std::vector<std::u16string> reported;
  const ErrorReporter record = [&](std::u16string_view message) { reported.emplace_back(message); };
  EXPECT_TRUE(RunHandler(record, [] {}));
  EXPECT_FALSE(RunHandler(record, [] { throw AppError(u"キー \\Software\\X の作成に失敗しました"); }));
  EXPECT_FALSE(RunHandler(record, [] { throw std::runtime_error("plain failure"); }));
  EXPECT_FALSE(RunHandler(record, [] { throw 42; }));
  // A subclass procedure's body: its result, or 0 when something escaped.
  EXPECT_EQ(RunSubclassHandler(record, [] { return LRESULT{7}; }), 7);
  EXPECT_EQ(RunSubclassHandler(record, []() -> LRESULT { throw 'x'; }), 0);
  EXPECT_EQ(reported, (std::vector<std::u16string>{u"キー \\Software\\X の作成に失敗しました", u"plain failure",
                                                   std::u16string(texts::kUnexpectedError),
                                                   std::u16string(texts::kUnexpectedError)}));
}

// A window in this thread that the error box is expected to belong to.
class OwnerWindow {
 public:
  OwnerWindow() {
    window_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
    SetActiveWindow(window_);
    testing::PumpMessages();
  }
  ~OwnerWindow() { DestroyWindow(window_); }
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

TEST(ErrorBoundary, ErrorBoxShowsTheMessageCaptionedWithTheTitle) {
  OwnerWindow owner;
  ASSERT_EQ(GetActiveWindow(), owner.Get());
  std::atomic<bool> seen{false};
  testing::MessageBoxContent content;
  HWND boxOwner = nullptr;
  // The box is modal: a second thread reads it and presses OK.
  std::thread reader([&] {
    HWND box = testing::WaitForProcessWindow(GetCurrentProcessId(), L"#32770", L"Ombrisk");
    if (box == nullptr) return;
    content = testing::ReadMessageBox(box);
    boxOwner = GetWindow(box, GW_OWNER);
    seen = true;
    testing::PressButton(box, IDOK);
  });
  ShowErrorBox(u"'APP' のデータ型が不正です");
  reader.join();
  ASSERT_TRUE(seen);
  EXPECT_EQ(content.caption, L"Ombrisk");
  EXPECT_EQ(content.texts, std::vector<std::wstring>{L"'APP' のデータ型が不正です."});
  EXPECT_EQ(content.buttons, std::vector<std::wstring>{Wide(texts::kOkButton)});
  EXPECT_TRUE(content.hasIcon);
  EXPECT_EQ(boxOwner, owner.Get());
}

}  // namespace
}  // namespace ombrisk
