#include "core/profile_store.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/text.h"

namespace ombrisk {

namespace {

// The number of a key "PKG_PATH<n>" or "PKG_NAME<n>" (letters in any case,
// n in decimal without a leading zero, as the keys are written), or 0.
std::int32_t PackageNumber(std::u16string_view key) {
  constexpr std::size_t kPrefix = 8;
  if (key.size() <= kPrefix) return 0;
  const std::u16string prefix = AsciiUpper(key.substr(0, kPrefix));
  if (prefix != u"PKG_PATH" && prefix != u"PKG_NAME") return 0;
  const std::u16string_view digits = key.substr(kPrefix);
  if (digits.front() == u'0') return 0;
  std::int64_t number = 0;
  for (const char16_t digit : digits) {
    if (digit < u'0' || digit > u'9') return 0;
    number = number * 10 + (digit - u'0');
    if (number > std::numeric_limits<std::int32_t>::max()) return 0;
  }
  return static_cast<std::int32_t>(number);
}

}  // namespace

std::u16string ProfileSection(std::u16string_view name) { return Concat({u"PREF_", name}); }

std::vector<DisabledPackage> DisabledPackages(const SettingsFile& file, std::u16string_view section) {
  const std::int32_t count = file.ReadInteger(section, u"PKG_Count", 0);
  std::int32_t last = 0;
  for (const std::u16string& key : file.ReadKeys(section)) last = std::max(last, PackageNumber(key));
  std::vector<DisabledPackage> packages;
  for (std::int32_t n = 1; n <= std::min(count, last); ++n) {
    const std::u16string number = DecimalText(n);
    packages.push_back({file.ReadString(section, Concat({u"PKG_PATH", number}), u""),
                        file.ReadString(section, Concat({u"PKG_NAME", number}), u"")});
  }
  if (count > last) packages.push_back({});
  return packages;
}

}  // namespace ombrisk
