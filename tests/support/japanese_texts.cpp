// Every test program shows the Japanese texts unless a test installs others.
#include "support/text_tables.h"

namespace {

const bool installed = [] {
  ombrisk::UseTexts(ombrisk::testing::TextsOf(ombrisk::Language::Japanese));
  return true;
}();

}  // namespace
