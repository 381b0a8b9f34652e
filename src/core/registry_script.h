// Registry scripts: the text files the system's registry editor reads
// ("Windows Registry Editor Version 5.00", UTF-16 with a byte-order mark,
// CR LF). The program writes its launch backups in this form and reads back
// only what it wrote: a script carries a check line at its end, so a file
// edited by hand or cut short is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/registry.h"

namespace ombrisk {

// A value of a script key: its data, or nothing for a value the script
// deletes ("name"=-). An empty name is the key's default value.
struct ScriptValue {
  std::u16string name;
  std::optional<RegistryData> data;
  bool operator==(const ScriptValue&) const = default;
};

// A key of a script: a path below HKEY_CURRENT_USER, beginning with "\".
// A removed key is deleted with everything below it ([-key]); any other is
// created where missing and given its values.
struct ScriptKey {
  std::u16string path;
  bool removed = false;
  std::vector<ScriptValue> values;
  bool operator==(const ScriptKey&) const = default;
};

struct RegistryScript {
  // The profile whose launch the script undoes, told in a comment.
  std::u16string profile;
  std::vector<ScriptKey> keys;
  // The settings key whose values the script gives back, as the launch or
  // the command named it (a path below HKEY_CURRENT_USER), told in a
  // comment; "" in the scripts of earlier versions, which did not tell it.
  std::u16string key = {};
  bool operator==(const RegistryScript&) const = default;
};

// The script's file content; nothing when a key or value name holds a line
// break or NUL, which a script cannot carry.
std::optional<std::string> WriteRegistryScript(const RegistryScript& script);

// The script the program wrote; nothing for any other content (another
// encoding, a changed or missing line, anything after the check line).
std::optional<RegistryScript> ParseRegistryScript(std::u16string_view fileText);

// The beginning of a script the program wrote, up to its first key: the
// profile, the recorded settings key and that first key without values;
// the rest (and the check line) unread. For choosing among many scripts.
std::optional<RegistryScript> ParseRegistryScriptHead(std::u16string_view fileText);

// Applies the script through the registry object, key by key in order.
void ApplyRegistryScript(Registry& registry, const RegistryScript& script);

}  // namespace ombrisk
