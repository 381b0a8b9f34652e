// The dialog that chooses the profile a file opens in.
#include "ui/open_form.h"

#include <windowsx.h>

#include "core/texts.h"
#include "support/layout_checks.h"
#include "ui/main_form_fixture.h"
#include "win32/win_text_comparer.h"

namespace ombrisk {
namespace {

// The file's name in the label, the rows as the main list shows them, the
// box checked; a double click or Open with the box cleared gives the row
// and whether to remember it.
TEST(OpenForm, TheChosenRowAndTheBoxAreTheChoice) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const ErrorReporter report = [](std::u16string_view message) { ADD_FAILURE() << ToUtf8(message); };
  const WinTextComparer comparer;
  const std::vector<ListedProfile> profiles{{u"XE6 a", u"Delphi XE6 / RAD Studio XE6", u"", 2017},
                                            {u"Tokyo", u"Delphi 10.2 Tokyo / RAD Studio 10.2 Tokyo", u"夜", 2022}};
  const auto open = [&](const std::function<void(TOPEN_FORM&)>& act) {
    TOPEN_FORM form(report, nullptr, profiles, comparer.Mapping(), RGB(0xEE, 0xEE, 0xFF), u"C:\\Work Dir\\App.dproj");
    form.Create();
    EXPECT_EQ(testing::WindowText(form.Control(TOPEN_FORM::kLabel1)), Wide(Format(texts::kOpenLabel, {u"App.dproj"})));
    EXPECT_EQ(Button_GetCheck(form.Control(TOPEN_FORM::kCbRemember)), BST_CHECKED);
    EXPECT_EQ(testing::LayoutProblems(form.Handle()), std::vector<std::string>{});
    act(form);
    return form.ShowModal() == TOPEN_FORM::kBtnOpen ? std::optional(form.Choice()) : std::nullopt;
  };
  const auto uncheckedOpen = open([](TOPEN_FORM& form) {
    Button_SetCheck(form.Control(TOPEN_FORM::kCbRemember), BST_UNCHECKED);
    PostMessageW(form.Control(TOPEN_FORM::kBtnOpen), BM_CLICK, 0, 0);
  });
  ASSERT_TRUE(uncheckedOpen);
  EXPECT_EQ(uncheckedOpen->name, u"XE6 a") << "the first row is selected";
  EXPECT_FALSE(uncheckedOpen->remember);

  const auto doubleClicked = open([](TOPEN_FORM& form) {
    const HWND list = form.Control(TOPEN_FORM::kLV1);
    RECT second;
    ListView_GetItemRect(list, 1, &second, LVIR_BOUNDS);
    const LPARAM at = MAKELPARAM(second.left + 20, (second.top + second.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
  });
  ASSERT_TRUE(doubleClicked);
  EXPECT_EQ(doubleClicked->name, u"Tokyo");
  EXPECT_TRUE(doubleClicked->remember);

  EXPECT_FALSE(open([](TOPEN_FORM& form) { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); })) << "the close box";
}

}  // namespace
}  // namespace ombrisk
