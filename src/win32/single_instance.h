// The single-instance marker: a named mutex that exists exactly while an
// instance runs. Creating it and learning that it existed already is one
// step, so two instances started at the same moment cannot both run.
#pragma once

#include <windows.h>

#include <string_view>

#include "win32/handles.h"

namespace ombrisk {

class InstanceMarker {
 public:
  explicit InstanceMarker(std::u16string_view name);

  // True when the marker existed before this instance asked for it. A marker
  // that could not be created at all (for example access refused by a marker
  // of another security context) lets this instance run.
  bool AnotherInstanceRuns() const { return existed_; }
  // Called after the message loop, before the process ends.
  void Release();

 private:
  ScopedHandle mutex_;
  bool existed_ = false;
};

}  // namespace ombrisk
