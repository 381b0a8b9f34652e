#include "core/editor_checks.h"

#include "core/alternate_key.h"
#include "core/profile_store.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

std::u16string_view StoredProfileName(std::u16string_view typed) {
  while (!typed.empty() && IsBlankOrControl(typed.back())) typed.remove_suffix(1);
  return typed;
}

std::optional<InputProblem> CheckProfileInput(const ProfileInput& input, std::span<const std::u16string> listedNames,
                                              std::span<const std::u16string> takenSections,
                                              const TextComparer& comparer) {
  const std::u16string_view name = StoredProfileName(input.name);
  // A blank name is reported as blank, even when a profile with an empty name
  // exists.
  if (Trim(name).empty()) return InputProblem{std::u16string(texts::kEmptyProfileName), EditorField::ProfileName};
  for (const std::u16string& listed : listedNames) {
    if (comparer.CompareIgnoringCase(name, listed) == 0) {
      return InputProblem{std::u16string(texts::kDuplicateProfile), EditorField::ProfileName};
    }
  }
  const std::u16string section = ProfileSection(name);
  for (const std::u16string& taken : takenSections) {
    if (comparer.Mapping().Equal(section, taken))
      return InputProblem{std::u16string(texts::kDuplicateProfile), EditorField::ProfileName};
  }
  if (input.useAltReg && Trim(input.altReg).empty()) {
    return InputProblem{std::u16string(texts::kEmptyAltReg), EditorField::AltReg};
  }
  if (std::optional<std::u16string> refusal =
          AlternateKeyRefusal(input.version, input.useAltReg, input.altReg, comparer.Mapping())) {
    return InputProblem{std::move(*refusal), EditorField::AltReg};
  }
  if (input.preProcess.find_first_of(u"\r\n") != std::u16string_view::npos) {
    return InputProblem{std::u16string(texts::kMultiLinePreProcess), EditorField::PreProcess};
  }
  return std::nullopt;
}

namespace {

constexpr std::size_t kLongestEnvironmentValue = 32767;

}  // namespace

std::variant<std::vector<EnvironmentVariable>, EnvironmentProblem> ParseEnvironment(std::u16string_view text,
                                                                                    const TextComparer& comparer) {
  std::vector<EnvironmentVariable> variables;
  std::vector<std::u16string> seen;  // the names upper-cased
  int line = 0;
  for (std::size_t at = 0; at <= text.size(); ++line) {
    // CR LF, CR and LF each end a line.
    const std::size_t end = std::min(text.find_first_of(u"\r\n", at), text.size());
    const std::u16string_view content = text.substr(at, end - at);
    at = end + (text.substr(end).starts_with(u"\r\n") ? 2 : 1);
    if (Trim(content).empty()) continue;
    const std::size_t equals = content.find(u'=');
    const std::u16string_view name = Trim(content.substr(0, std::min(equals, content.size())));
    if (equals == content.npos || name.empty() || content.find(u'\0') != content.npos) {
      return EnvironmentProblem{Format(texts::kEnvironmentLineFormat, {DecimalText(line + 1)}), line};
    }
    std::u16string upper(name);
    comparer.UpperCaseInPlace(upper);
    if (std::find(seen.begin(), seen.end(), upper) != seen.end()) {
      return EnvironmentProblem{Format(texts::kEnvironmentDuplicate, {name}), line};
    }
    const std::u16string_view value = content.substr(equals + 1);
    if (value.size() > kLongestEnvironmentValue) {
      return EnvironmentProblem{Format(texts::kEnvironmentValueTooLong, {name}), line};
    }
    seen.push_back(std::move(upper));
    variables.push_back(EnvironmentVariable{std::u16string(name), std::u16string(value)});
  }
  return variables;
}

std::u16string EnvironmentText(std::span<const EnvironmentVariable> variables) {
  std::u16string text;
  for (const EnvironmentVariable& variable : variables) {
    if (!text.empty()) text += u"\r\n";
    text += Concat({variable.name, u"=", variable.value});
  }
  return text;
}

std::u16string ParameterFile(std::u16string_view parameters) {
  if (parameters.empty() || parameters.front() != u'"') return std::u16string(parameters);
  std::u16string file;
  for (std::size_t i = 1; i < parameters.size(); ++i) {
    if (parameters[i] != u'"') {
      file += parameters[i];
    } else if (i + 1 < parameters.size() && parameters[i + 1] == u'"') {
      file += u'"';
      ++i;
    } else {
      break;
    }
  }
  return file;
}

std::u16string_view FolderPart(std::u16string_view path) {
  const std::size_t last = path.find_last_of(u"\\:");
  return last == std::u16string_view::npos ? std::u16string_view() : path.substr(0, last + 1);
}

std::u16string QuotedWhenBlank(std::u16string_view path) {
  if (path.find(u' ') == std::u16string_view::npos) return std::u16string(path);
  return Concat({u"\"", path, u"\""});
}

}  // namespace ombrisk
