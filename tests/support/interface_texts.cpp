// The window tests show the texts of the interface's language from the
// executable's resources, as the program does: Japanese on a Japanese
// system, English on any other.
#include "win32/program_texts.h"

namespace {

const bool installed = [] {
  static const ombrisk::TextTable table = ombrisk::LoadTexts(ombrisk::InterfaceLanguage());
  ombrisk::UseTexts(table);
  return true;
}();

}  // namespace
