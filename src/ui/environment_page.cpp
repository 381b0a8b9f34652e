#include "ui/environment_page.h"

#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

void EnvironmentPage::Attach(HWND label, HWND memo) {
  label_ = label;
  memo_ = memo;
  SendMessageW(memo_, EM_SETLIMITTEXT, 0, 0);  // values of 32,767 characters and more
}

std::u16string EnvironmentPage::Text() const { return ControlText(memo_); }

void EnvironmentPage::SetText(const std::u16string& text) {
  if (Text() != text) SetWindowTextW(memo_, Wide(text).c_str());
  shown_ = text;
}

void EnvironmentPage::Show(const ProfileRecord& record) {
  Offer(record);
  SetText(EnvironmentText(record.environment));
  stored_ = record.holdsEnvironment;
  edited_ = true;
}

void EnvironmentPage::Offer(const ProfileRecord& record) {
  const bool offered = ReleaseFacts(record.version).packages;
  for (const HWND control : {label_, memo_}) EnableWindow(control, offered);
  if (!stored_ && Text() == shown_) SetText(EnvironmentText(record.environment));
}

std::variant<std::vector<EnvironmentVariable>, EnvironmentProblem> EnvironmentPage::Input(
    const TextComparer& comparer) const {
  return ParseEnvironment(Text(), comparer);
}

bool EnvironmentPage::Holds() const { return !edited_ || stored_ || Text() != shown_; }

}  // namespace ombrisk
