#include "core/key_identity.h"

#include <algorithm>

#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

std::vector<std::u16string_view> KeyLevels(std::u16string_view path) {
  std::vector<std::u16string_view> levels;
  for (std::size_t from = 0; from <= path.size();) {
    const std::size_t end = std::min(path.find(u'\\', from), path.size());
    if (end > from) levels.push_back(path.substr(from, end - from));
    from = end + 1;
  }
  return levels;
}

KeyIdentity::KeyIdentity(std::u16string_view path, const CaseMapping& mapping) {
  for (std::u16string_view level : KeyLevels(path)) levels_.push_back(mapping.UpperCase(level));
}

bool KeyIdentity::Within(const KeyIdentity& outer) const {
  return outer.levels_.size() <= levels_.size() &&
         std::equal(outer.levels_.begin(), outer.levels_.end(), levels_.begin());
}

std::u16string ShownKey(std::u16string_view path) {
  while (path.starts_with(u'\\')) path.remove_prefix(1);
  while (path.ends_with(u'\\')) path.remove_suffix(1);
  return std::u16string(path);
}

std::u16string KeyDeleteFailedMessage(std::u16string_view path, std::u16string_view description) {
  return Concat({Format(texts::kAltKeyDeleteFailed, {ShownKey(path)}), u"\n", description});
}

}  // namespace ombrisk
