// The editor's rules that need no window: the checks a profile must pass
// before the editor closes with OK, the environment page's text, and the
// texts of the browse button.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/profile_record.h"
#include "core/text_comparer.h"

namespace ombrisk {

// The profile name as it is checked and stored: trailing characters up to
// U+0020 removed, since the settings file drops them when it reads the
// section again.
std::u16string_view StoredProfileName(std::u16string_view typed);

// The control the user has to mend.
enum class EditorField { ProfileName, AltReg, PreProcess };

struct InputProblem {
  std::u16string message;
  EditorField field;
};

struct ProfileInput {
  std::u16string_view name;  // as typed
  VersionCode version = 0;
  bool useAltReg = false;
  std::u16string_view altReg;
  std::u16string_view preProcess;
};

// The first problem of the input, in the order: a blank name, a name that
// another listed profile has (the user's locale, case ignored), a name whose
// section the settings file already holds (as the file matches section
// names), a chosen but blank alternate key, an alternate key the release's
// profiles may not use (AlternateKeyRefusal), and a pre-launch command of
// more than one line. takenSections holds the file's section names that the
// profile may not replace.
std::optional<InputProblem> CheckProfileInput(const ProfileInput& input, std::span<const std::u16string> listedNames,
                                              std::span<const std::u16string> takenSections,
                                              const TextComparer& comparer);

// The environment page's text as variables, one "NAME=value" a line: blank
// lines skipped, blanks around the name trimmed, the value as it stands.
struct EnvironmentProblem {
  std::u16string message;
  int line;  // from 0, as the edit counts its lines
};
// The variables, lines ending at CR LF, CR or LF, or the first line that is
// no "NAME=value" (nothing before the "=" or none, or a NUL in it), names the
// same as Windows compares them (case ignored), or a value of more than
// 32,767 characters.
std::variant<std::vector<EnvironmentVariable>, EnvironmentProblem> ParseEnvironment(std::u16string_view text,
                                                                                    const TextComparer& comparer);
// The variables as the page shows them.
std::u16string EnvironmentText(std::span<const EnvironmentVariable> variables);

// The file named by the launch parameters: the first quoted part with its
// doubled quotes made single when the text begins with a double quote,
// otherwise the whole text.
std::u16string ParameterFile(std::u16string_view parameters);
// Everything up to and including the last "\" or ":"; "" when there is none.
std::u16string_view FolderPart(std::u16string_view path);
// The path enclosed in double quotes when it holds a blank.
std::u16string QuotedWhenBlank(std::u16string_view path);

}  // namespace ombrisk
