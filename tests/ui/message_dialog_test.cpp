#include "win32/message_dialog.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/win_test_support.h"

namespace ombrisk {
namespace {

// A scripted system that records what the operation asked for.
struct ScriptedSystem {
  bool version6 = true;
  bool hasTaskDialog = true;
  HRESULT taskResult = S_OK;
  int pressed = IDYES;
  int boxResult = IDOK;

  std::vector<std::string> paths;
  std::wstring title, instruction, content, boxText, boxCaption;
  bool contentGiven = false;
  unsigned buttons = 0;
  PCWSTR icon = nullptr;
  UINT boxFlags = 0;

  MessageDialogSystem System() {
    MessageDialogSystem system;
    system.isVersion6 = [this] { return version6; };
    system.loadTaskDialog = [this]() -> TaskDialogCall {
      if (!hasTaskDialog) return {};
      return [this](HWND, PCWSTR t, PCWSTR i, PCWSTR c, TASKDIALOG_COMMON_BUTTON_FLAGS b, PCWSTR n, int* p) {
        paths.push_back("task");
        title = t;
        instruction = i;
        contentGiven = c != nullptr;
        content = c != nullptr ? c : L"";
        buttons = b;
        icon = n;
        if (SUCCEEDED(taskResult)) *p = pressed;
        return taskResult;
      };
    };
    system.messageBox = [this](HWND, PCWSTR text, PCWSTR caption, UINT flags) {
      paths.push_back("box");
      boxText = text;
      boxCaption = caption;
      boxFlags = flags;
      return boxResult;
    };
    return system;
  }
};

int Show(ScriptedSystem& script, std::u16string_view caption, std::u16string_view text, unsigned flags,
         std::u16string_view detail = u"") {
  return ShowMessageDialog(nullptr, caption, text, flags, detail, script.System());
}

TEST(MessageDialog, TaskDialogCarriesTheCallersMessage) {
  ScriptedSystem script;
  script.pressed = IDNO;
  EXPECT_EQ(Show(script, u"確認", u"プロファイル [A] を削除してよろしいですか？", 0x2024), IDNO);
  EXPECT_EQ(script.title, L"確認");
  EXPECT_EQ(script.instruction, L"プロファイル [A] を削除してよろしいですか？");
  EXPECT_FALSE(script.contentGiven) << "an empty detail shows no content";
  EXPECT_EQ(script.buttons, static_cast<unsigned>(TDCBF_YES_BUTTON | TDCBF_NO_BUTTON));
  EXPECT_EQ(script.icon, IDI_QUESTION);
  script.pressed = IDYES;
  EXPECT_EQ(Show(script, u"確認", u"x", 0x2024), IDYES);

  script.pressed = IDOK;
  EXPECT_EQ(Show(script, u"エラー", u"同名のプロファイルが存在します", 0x2010, u"詳細"), IDYES)
      << "OK answers 6 on this path; no caller reads it";
  EXPECT_EQ(script.buttons, static_cast<unsigned>(TDCBF_OK_BUTTON));
  EXPECT_EQ(script.icon, TD_ERROR_ICON);
  EXPECT_EQ(script.content, L"詳細");
  EXPECT_EQ(script.paths, (std::vector<std::string>{"task", "task", "task"}));
}

TEST(MessageDialog, ButtonGroupsIconsAndAnswers) {
  ScriptedSystem script;
  const struct {
    unsigned flags;
    unsigned buttons;
    PCWSTR icon;
  } cases[] = {
      {0x00, TDCBF_OK_BUTTON, IDI_APPLICATION},
      {0x31, TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON, TD_WARNING_ICON},
      {0x43, TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | TDCBF_CANCEL_BUTTON, TD_INFORMATION_ICON},
      {0x15, TDCBF_RETRY_BUTTON | TDCBF_CANCEL_BUTTON, TD_ERROR_ICON},
      {0x02, TDCBF_RETRY_BUTTON | TDCBF_CANCEL_BUTTON, IDI_APPLICATION},
  };
  for (const auto& c : cases) {
    Show(script, u"c", u"t", c.flags);
    EXPECT_EQ(script.buttons, c.buttons) << c.flags;
    EXPECT_EQ(script.icon, c.icon) << c.flags;
  }
  const std::pair<int, int> answers[] = {{IDCANCEL, 2}, {IDYES, 6}, {IDNO, 7}, {IDRETRY, 4}, {IDCLOSE, 3}, {IDOK, 6}};
  for (const auto& [pressed, result] : answers) {
    script.pressed = pressed;
    EXPECT_EQ(Show(script, u"c", u"t", 0x23), result) << pressed;
  }
}

TEST(MessageDialog, LongTextsArePassedWholeOnBothPaths) {
  ScriptedSystem script;
  const std::u16string name(1200, u'長');
  const std::u16string text = u"プロファイル [" + name + u"] を削除してよろしいですか？";
  Show(script, u"確認", text, 0x2024);
  EXPECT_EQ(script.instruction.size(), text.size());
  script.version6 = false;
  Show(script, u"確認", text, 0x2024, std::u16string(2000, u'd'));
  EXPECT_EQ(script.boxText.size(), text.size() + 4 + 2000);
}

TEST(MessageDialog, MessageBoxWhereTaskDialogsAreMissingOrFail) {
  ScriptedSystem script;
  script.version6 = false;
  script.boxResult = IDNO;
  EXPECT_EQ(Show(script, u"確認", u"削除?", 0x2024), IDNO);
  EXPECT_EQ(script.boxText, L"削除?");
  EXPECT_EQ(script.boxCaption, L"確認");
  EXPECT_EQ(script.boxFlags, 0x2024u) << "the caller's flags unchanged";
  Show(script, u"c", u"text", 0x2010, u"detail");
  EXPECT_EQ(script.boxText, L"text\r\n\r\ndetail");
  Show(script, u"c", u"", 0x2010, u"detail");
  EXPECT_EQ(script.boxText, L"detail");

  script.version6 = true;
  script.hasTaskDialog = false;
  Show(script, u"c", u"no task dialog in comctl32", 0x10);
  EXPECT_EQ(script.boxText, L"no task dialog in comctl32");

  // A task dialog that fails never answers 6: the message box asks instead.
  script.hasTaskDialog = true;
  script.taskResult = E_OUTOFMEMORY;
  script.boxResult = IDNO;
  script.paths.clear();
  EXPECT_EQ(Show(script, u"確認", u"削除?", 0x2024), IDNO);
  EXPECT_EQ(script.paths, (std::vector<std::string>{"task", "box"}));

  // The path is chosen afresh at every call.
  script.taskResult = S_OK;
  script.paths.clear();
  Show(script, u"c", u"t", 0);
  script.version6 = false;
  Show(script, u"c", u"t", 0);
  EXPECT_EQ(script.paths, (std::vector<std::string>{"task", "box"}));
}

TEST(MessageDialog, TheSystemsDialogShowsTheMessageAndReturnsTheAnswer) {
  // Wine's comctl32 has TaskDialog, so this shows a real task dialog.
  ASSERT_TRUE(WindowsMessageDialogSystem().isVersion6());
  ASSERT_TRUE(WindowsMessageDialogSystem().loadTaskDialog());
  testing::MessageBoxContent content;
  bool seen = false;
  std::thread reader([&] {
    HWND dialog = testing::WaitForProcessWindow(GetCurrentProcessId(), L"", L"確認");
    if (dialog == nullptr) return;
    testing::WaitUntil([&] { return !testing::ReadMessageBox(dialog).buttons.empty(); });
    content = testing::ReadMessageBox(dialog);
    seen = true;
    testing::PressButton(dialog, IDNO);
  });
  const int result = ShowMessageDialog(nullptr, u"確認", u"プロファイル [A] を削除してよろしいですか？", 0x2024, u"");
  reader.join();
  ASSERT_TRUE(seen) << "no dialog captioned 確認 appeared";
  EXPECT_EQ(result, IDNO);
  bool textShown = false;
  for (const std::wstring& text : content.texts)
    textShown = textShown || text == L"プロファイル [A] を削除してよろしいですか？";
  EXPECT_TRUE(textShown);
  EXPECT_EQ(content.buttons.size(), 2u);
}

}  // namespace
}  // namespace ombrisk
