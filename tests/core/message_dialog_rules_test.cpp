#include "core/message_dialog_rules.h"

#include <gtest/gtest.h>

namespace ombrisk {
namespace {

TEST(MessageDialogRules, ButtonsIconsAndAnswersFromMessageBoxTerms) {
  // The button group is the low nibble; icon and modality bits do not change it.
  EXPECT_EQ(TaskButtonsFor(0x0), kTaskOk);
  EXPECT_EQ(TaskButtonsFor(0x2010), kTaskOk);
  EXPECT_EQ(TaskButtonsFor(0x1), kTaskOk | kTaskCancel);
  EXPECT_EQ(TaskButtonsFor(0x3), kTaskYes | kTaskNo | kTaskCancel);
  EXPECT_EQ(TaskButtonsFor(0x2024), kTaskYes | kTaskNo);
  for (unsigned group : {0x2u, 0x5u, 0x6u}) EXPECT_EQ(TaskButtonsFor(group), kTaskRetry | kTaskCancel) << group;
  EXPECT_EQ(TaskButtonsFor(0x7), kTaskOk) << "no such group";

  EXPECT_EQ(TaskIconFor(0x2010), TaskIcon::Error);
  EXPECT_EQ(TaskIconFor(0x2024), TaskIcon::Question);
  EXPECT_EQ(TaskIconFor(0x30), TaskIcon::Warning);
  EXPECT_EQ(TaskIconFor(0x40), TaskIcon::Information);
  EXPECT_EQ(TaskIconFor(0x0), TaskIcon::Application);
  EXPECT_EQ(TaskIconFor(0x70), TaskIcon::Application);

  EXPECT_EQ(TaskDialogResult(kResultCancel), kResultCancel);
  EXPECT_EQ(TaskDialogResult(kResultNo), kResultNo);
  EXPECT_EQ(TaskDialogResult(kResultRetry), kResultRetry);
  EXPECT_EQ(TaskDialogResult(kResultClose), kResultAbort);
  EXPECT_EQ(TaskDialogResult(kResultYes), kResultYes);
  EXPECT_EQ(TaskDialogResult(1), kResultYes) << "OK counts as Yes";

  EXPECT_EQ(MessageBoxText(u"text", u""), u"text");
  EXPECT_EQ(MessageBoxText(u"text", u"detail"), u"text\r\n\r\ndetail");
  EXPECT_EQ(MessageBoxText(u"", u"detail"), u"detail");
}

}  // namespace
}  // namespace ombrisk
