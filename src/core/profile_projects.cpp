#include "core/profile_projects.h"

#include <algorithm>

#include "core/profile_list_settings.h"

namespace ombrisk {

namespace {

constexpr std::u16string_view kProjects = u"Projects";
constexpr NumberedPairs kProjectPairs{u"PROJECT_PATH", u"PROJECT_PROFILE", u"PROJECT_Count"};

void WritePairings(SettingsFile& file, const std::vector<ProjectPairing>& pairings) {
  std::vector<std::pair<std::u16string_view, std::u16string_view>> entries;
  entries.reserve(pairings.size());
  for (const ProjectPairing& pairing : pairings) entries.emplace_back(pairing.path, pairing.profile);
  file.EraseSection(kProjects);
  WritePairs(file, kProjects, kProjectPairs, entries);
}

}  // namespace

std::vector<ProjectPairing> ReadProjectPairings(const SettingsFile& file) {
  std::vector<ProjectPairing> pairings;
  for (auto& [path, profile] : ReadPairs(file, kProjects, kProjectPairs)) {
    if (!path.empty()) pairings.push_back({std::move(path), std::move(profile)});
  }
  return pairings;
}

std::optional<std::u16string> RememberedProfile(const SettingsFile& file, std::u16string_view path,
                                                const CaseMapping& mapping) {
  const std::vector<ProjectPairing> pairings = ReadProjectPairings(file);
  const auto found = std::find_if(pairings.rbegin(), pairings.rend(),
                                  [&](const ProjectPairing& pairing) { return mapping.Equal(pairing.path, path); });
  if (found == pairings.rend()) return std::nullopt;
  return found->profile;
}

void RememberProject(SettingsFile& file, std::u16string_view path, std::u16string_view profile,
                     const CaseMapping& mapping) {
  std::vector<ProjectPairing> pairings = ReadProjectPairings(file);
  std::erase_if(pairings, [&](const ProjectPairing& pairing) { return mapping.Equal(pairing.path, path); });
  pairings.push_back({std::u16string(path), std::u16string(profile)});
  WritePairings(file, pairings);
}

void RenameProjectProfile(SettingsFile& file, std::u16string_view profile, std::optional<std::u16string_view> newName,
                          const CaseMapping& mapping) {
  if (!file.SectionExists(kProjects)) return;
  std::vector<ProjectPairing> pairings = ReadProjectPairings(file);
  const auto ofProfile = [&](const ProjectPairing& pairing) { return mapping.Equal(pairing.profile, profile); };
  if (std::none_of(pairings.begin(), pairings.end(), ofProfile)) return;
  if (newName) {
    for (ProjectPairing& pairing : pairings) {
      if (ofProfile(pairing)) pairing.profile = std::u16string(*newName);
    }
  } else {
    std::erase_if(pairings, ofProfile);
  }
  WritePairings(file, pairings);
}

}  // namespace ombrisk
