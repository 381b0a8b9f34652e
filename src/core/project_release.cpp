#include "core/project_release.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/text.h"

namespace ombrisk {

namespace {

// The extension of the path's file name in lower case, with its ".".
std::u16string Extension(std::u16string_view path) {
  const std::size_t name = path.find_last_of(u"\\/");
  const std::size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || (name != std::u16string_view::npos && dot < name)) return u"";
  std::u16string extension(path.substr(dot));
  for (char16_t& c : extension) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return extension;
}

// The file as text: UTF-16 with its mark, otherwise UTF-8 (with or without
// its mark); none when it cannot be read.
std::optional<std::u16string> ReadText(FileSystem& files, std::u16string_view path) {
  const FileReadResult read = files.ReadFile(path);
  if (read.status != FileReadStatus::Read) return std::nullopt;
  const std::span<const unsigned char> bytes = read.content.Bytes();
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return std::u16string(read.content.Units().substr(1));
  std::string_view utf8(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  return FromUtf8(utf8);
}

// The text with the five predefined XML entities replaced.
std::u16string Unescaped(std::u16string_view text) {
  constexpr std::pair<std::u16string_view, char16_t> kEntities[] = {
      {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}};
  std::u16string plain;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                     [&](const auto& e) { return text.substr(at).starts_with(e.first); });
    if (entity == std::end(kEntities)) {
      plain += text[at];
    } else {
      plain += entity->second;
      at += entity->first.size() - 1;
    }
  }
  return plain;
}

// The text of the project's first <ProjectVersion> element, trimmed; none
// where it has none.
std::optional<std::u16string> ProjectVersion(std::u16string_view xml) {
  constexpr std::u16string_view kOpen = u"<ProjectVersion>";
  const std::size_t open = xml.find(kOpen);
  if (open == std::u16string_view::npos) return std::nullopt;
  const std::size_t begin = open + kOpen.size();
  const std::size_t close = xml.find(u"</ProjectVersion>", begin);
  if (close == std::u16string_view::npos) return std::nullopt;
  return Unescaped(Trim(xml.substr(begin, close - begin)));
}

// The "Include" of a group's first <Projects> element; "" where it has none.
std::u16string FirstProject(std::u16string_view xml) {
  for (std::size_t at = xml.find(u"<Projects"); at != std::u16string_view::npos; at = xml.find(u"<Projects", at + 1)) {
    const std::size_t end = xml.find(u'>', at);
    const std::u16string_view tag = xml.substr(at, end == std::u16string_view::npos ? end : end - at);
    if (tag.size() <= 9 || !IsBlankOrControl(tag[9])) continue;  // <ProjectsX...
    constexpr std::u16string_view kInclude = u"Include=\"";
    const std::size_t include = tag.find(kInclude);
    if (include == std::u16string_view::npos) continue;
    const std::size_t begin = include + kInclude.size();
    const std::size_t quote = tag.find(u'"', begin);
    if (quote != std::u16string_view::npos) return Unescaped(tag.substr(begin, quote - begin));
  }
  return u"";
}

// The path of a project a group names, from the group's folder unless it
// is full.
std::u16string BesideGroup(std::u16string_view group, std::u16string_view project) {
  const bool full = project.starts_with(u"\\") || (project.size() >= 2 && project[1] == u':');
  if (full) return std::u16string(project);
  const std::size_t slash = group.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? std::u16string(project) : Concat({group.substr(0, slash + 1), project});
}

std::vector<VersionCode> ReleasesWhere(const auto& makes) {
  std::vector<VersionCode> codes;
  for (const Release& release : Releases()) {
    if (makes(release)) codes.push_back(release.code);
  }
  return codes;
}

}  // namespace

std::vector<VersionCode> ProjectReleases(FileSystem& files, std::u16string_view path) {
  const std::u16string extension = Extension(path);
  if (extension == u".bdsproj" || extension == u".bdsgroup") {
    return ReleasesWhere([](const Release& release) { return release.bdsProjects; });
  }
  if (extension != u".dproj" && extension != u".groupproj") return {};
  const std::optional<std::u16string> text = ReadText(files, path);
  if (!text) return {};
  if (extension == u".groupproj") {
    const std::u16string project = FirstProject(*text);
    if (project.empty() || Extension(project) == u".groupproj") return {};
    return ProjectReleases(files, BesideGroup(path, project));
  }
  const std::u16string version = ProjectVersion(*text).value_or(u"");
  return ReleasesWhere([&](const Release& release) {
    return std::find(release.projectVersions.begin(), release.projectVersions.end(), version) !=
           release.projectVersions.end();
  });
}

}  // namespace ombrisk
