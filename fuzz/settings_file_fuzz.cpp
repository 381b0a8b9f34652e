// Feeds arbitrary bytes to the settings-file reader, writes the copy back
// and reads that again: the second round trip must change nothing, and the
// copy answers the same before and after it writes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/fakes.h"
#include "core/settings_file.h"
#include "core/text_comparer.h"

namespace {

const std::u16string kPath = u"Ombrisk.env";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ombrisk::PortableTextComparer comparer;
  ombrisk::testing::FakeFileSystem files;
  files.contents[kPath] = std::string(reinterpret_cast<const char*>(data), size);

  ombrisk::SettingsFile first(files, comparer, kPath);
  const std::string written = first.FileContent();
  // Look-ups on every section, so the scanning and the indexed paths run.
  for (const std::u16string& section : first.ReadSections()) {
    for (int i = 0; i < 6; ++i) first.ReadInteger(section, u"Version", 0);
    first.ValueExists(section, u"Description");
  }

  // Writing lets go of the file: the copy then answers from memory of its
  // own, and writes the same again.
  first.UpdateFile();
  if (first.FileContent() != written) std::abort();
  if (files.contents[kPath] != written) std::abort();
  ombrisk::SettingsFile second(files, comparer, kPath);
  if (second.FileContent() != written) std::abort();
  if (second.ReadSections() != first.ReadSections()) std::abort();
  for (const std::u16string& section : first.ReadSections()) {
    if (second.ReadString(section, u"Version", u"?") != first.ReadString(section, u"Version", u"?")) std::abort();
  }
  return 0;
}
