#include "ui/profile_editing.h"

#include "core/text.h"
#include "core/texts.h"
#include "ui/pref_form.h"

namespace ombrisk {

namespace {

// What the editor is given: the caption, the releases, the name and the names it must
// not repeat, and in edit and copy mode the profile: the IDE's settings of
// the key it uses with the stored profile over them.
EditRequest Request(const ProfileEditing& editing, TPrefMode mode, const ListedProfile* source,
                    std::span<const ListedProfile> rows) {
  EditRequest request;
  request.mode = mode;
  request.caption = mode == prmEdit ? texts::kEditProfileCaption : texts::kNewProfileCaption;
  request.installed = editing.installed;
  request.name = mode == prmAdd    ? std::u16string(texts::kNewProfileName)
                 : mode == prmEdit ? source->name
                                   : Concat({texts::kCopyNamePrefix, source->name});
  for (const ListedProfile& row : rows) {
    if (mode != prmEdit || &row != source) request.profiles.push_back(row.name);
  }
  // Every profile section of the file is taken, listed or not, except the
  // edited profile's own.
  request.takenSections =
      editing.store.TakenSections(mode == prmEdit ? std::optional<std::u16string_view>(source->name) : std::nullopt);
  if (mode == prmAdd) return request;
  ProfileRecord profile;
  profile.version = source->code;
  profile.ide64Installed = Ide64Installed(editing.services.registries, editing.services.files, source->code);
  const std::unique_ptr<Registry> registry = editing.services.registries.Create();
  editing.store.Load(*registry, source->name, profile);
  request.profile = std::move(profile);
  return request;
}

}  // namespace

std::optional<ListedProfile> EditProfile(const ProfileEditing& editing, TPrefMode mode, int sourceRow,
                                         std::span<const ListedProfile> rows) {
  const ListedProfile* source = sourceRow < 0 ? nullptr : &rows[static_cast<std::size_t>(sourceRow)];
  TPREF_FORM dialog(editing.services, editing.store, editing.lineColor);
  dialog.Create(editing.owner);
  std::optional<ListedProfile> saved;
  RunHandler(editing.services.reportError, [&] {
    dialog.Fill(Request(editing, mode, source, rows));
    // Without an installed release there is nothing to edit.
    if (!dialog.HasReleases() || editing.services.runModal(dialog) != IDOK) return;
    const EditResult result = dialog.Result();
    // The file first: the row changes only once the file holds the profile.
    editing.store.Save(result.name, mode == prmEdit ? std::optional<std::u16string_view>(source->name) : std::nullopt,
                       result.record);
    saved = ListedProfile{result.name, std::u16string(FindRelease(result.record.version)->label),
                          result.record.description, result.record.version};
  });
  dialog.Release();
  return saved;
}

}  // namespace ombrisk
