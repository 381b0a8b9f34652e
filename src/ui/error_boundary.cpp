#include "ui/error_boundary.h"

#include <exception>

#include "core/errors.h"
#include "core/startup.h"
#include "core/texts.h"
#include "win32/wide.h"

namespace ombrisk {

void ShowErrorBox(std::u16string_view message) {
  // A window on its way out (hidden before it is destroyed) owns no box.
  HWND owner = GetActiveWindow();
  if (owner != nullptr && IsWindowVisible(owner) == FALSE) owner = nullptr;
  MessageBoxW(owner, Wide(ErrorBoxText(message)).c_str(), Wide(texts::kAppTitle).c_str(), MB_ICONERROR | MB_OK);
}

bool RunHandler(const ErrorReporter& report, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const AppError& error) {
    report(error.Message());
  } catch (const std::exception& error) {
    report(FromUtf8(error.what()));
  } catch (...) {
    report(texts::kUnexpectedError);
  }
  return false;
}

LRESULT RunSubclassHandler(const ErrorReporter& report, const std::function<LRESULT()>& handler) {
  LRESULT result = 0;
  RunHandler(report, [&] { result = handler(); });
  return result;
}

}  // namespace ombrisk
