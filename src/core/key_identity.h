// The identity of a registry key: which key a path names as the registry
// resolves it. The registry skips repeated "\" separators and compares
// names without regard to case over all of Unicode, by the system's
// upper-case mapping; two paths name one key exactly when their identities
// are equal. Every decision about which key the program touches goes
// through it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text_comparer.h"

namespace ombrisk {

class KeyIdentity {
 public:
  KeyIdentity(std::u16string_view path, const CaseMapping& mapping);

  // The levels, upper-cased, without empty ones.
  const std::vector<std::u16string>& Levels() const { return levels_; }
  bool operator==(const KeyIdentity&) const = default;
  // The same key, or one that lies below the other.
  bool Within(const KeyIdentity& outer) const;
  // One of the two is, holds or lies inside the other.
  bool Overlaps(const KeyIdentity& other) const { return Within(other) || other.Within(*this); }

 private:
  std::vector<std::u16string> levels_;
};

// The levels of the path as written, without empty ones.
std::vector<std::u16string_view> KeyLevels(std::u16string_view path);

// The key below HKEY_CURRENT_USER as the messages name it, without a
// leading or trailing "\": "Software\Embarcadero\BDS\23.0".
std::u16string ShownKey(std::u16string_view path);

// The message of a key that is there and cannot be deleted: the key as
// shown, then the system's description on a line of its own.
std::u16string KeyDeleteFailedMessage(std::u16string_view path, std::u16string_view description);

}  // namespace ombrisk
