#include "ui/error_boundary.h"

#include <exception>

#include "core/errors.h"
#include "core/startup.h"
#include "core/texts.h"
#include "win32/wide.h"

namespace ombrisk {

void ShowErrorBox(std::u16string_view message) {
  MessageBoxW(GetActiveWindow(), Wide(ErrorBoxText(message)).c_str(), Wide(texts::kAppTitle).c_str(),
              MB_ICONERROR | MB_OK);
}

bool RunHandler(const ErrorReporter& report, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const AppError& error) {
    report(error.Message());
  } catch (const std::exception& error) {
    report(FromUtf8(error.what()));
  }
  return false;
}

}  // namespace ombrisk
