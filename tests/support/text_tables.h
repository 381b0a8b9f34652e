// The program's string tables for the tests, read from res/texts_*.rc when
// the tests are built (tools/text_tables.py). Every test program reads the
// Japanese texts unless it installs others.
#pragma once

#include "core/ui_text.h"

namespace ombrisk::testing {

const TextTable& TextsOf(Language language);

}  // namespace ombrisk::testing
