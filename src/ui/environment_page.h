// The editor's environment page: the profile's variables as text, one
// "NAME=value" a line, and whether the profile holds them. A profile stored
// before variables were holds none, and keeps holding none until the page
// is changed; while it holds none and the page is as shown, an import (of
// another release, key or IDE) shows the IDE's variables again.
#pragma once

#include <windows.h>

#include <string>
#include <variant>
#include <vector>

#include "core/editor_checks.h"
#include "core/profile_record.h"
#include "core/text_comparer.h"

namespace ombrisk {

class EnvironmentPage {
 public:
  void Attach(HWND label, HWND memo);
  // The variables of the profile being edited or copied, as it holds them.
  void Show(const ProfileRecord& record);
  // Variables imported from the IDE's key: taken while the profile holds
  // none and the page is as it was last shown; the page is enabled for the
  // record's release either way.
  void Offer(const ProfileRecord& record);
  // The page's variables, or the line OK refuses.
  std::variant<std::vector<EnvironmentVariable>, EnvironmentProblem> Input(const TextComparer& comparer) const;
  // Whether the profile holds its variables after OK: a new profile does,
  // another where it did or the page was changed.
  bool Holds() const;

 private:
  std::u16string Text() const;
  void SetText(const std::u16string& text);

  HWND label_ = nullptr;
  HWND memo_ = nullptr;
  std::u16string shown_;
  bool stored_ = false;  // the stored profile holds variables
  bool edited_ = false;  // a stored profile is edited or copied, not a new one
};

}  // namespace ombrisk
