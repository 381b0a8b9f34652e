#include "core/startup.h"

namespace ombrisk {

std::u16string MutexName(std::u16string_view executablePath) {
  const std::size_t slash = executablePath.find_last_of(u"\\/");
  std::u16string_view name = slash == std::u16string_view::npos ? executablePath : executablePath.substr(slash + 1);
  const std::size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos) name = name.substr(0, dot);
  return std::u16string(name);
}

std::u16string ErrorBoxText(std::u16string_view message) {
  std::u16string text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

namespace {
StartupProbe startupProbe = nullptr;
}  // namespace

void SetStartupProbe(StartupProbe probe) { startupProbe = probe; }

void MarkStartup(const char* step) {
  if (startupProbe != nullptr) startupProbe(step);
}

}  // namespace ombrisk
