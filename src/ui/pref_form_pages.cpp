// The editor's pages as one table: what each shows of a record, reads back
// into one and refuses on OK. Fill, an import, the read-back and OK are
// loops over it.
#include "core/editor_checks.h"
#include "core/text.h"
#include "core/texts.h"
#include "ui/controls.h"
#include "ui/pref_form.h"

namespace ombrisk {

// The pages of PC1, in order. The pre-launch command's memo is one of the
// bound fields the general page shows and reads.
std::span<const TPREF_FORM::EditorPage> TPREF_FORM::Pages() {
  static constexpr EditorPage kPages[] = {
      {texts::kEditorPages[0], &TPREF_FORM::ShowGeneral, &TPREF_FORM::ReadGeneral, &TPREF_FORM::CheckGeneral},
      {texts::kEditorPages[1], &TPREF_FORM::ShowPackages, &TPREF_FORM::ReadPackages, nullptr},
      {texts::kEditorPages[2], &TPREF_FORM::ShowLibraries, &TPREF_FORM::ReadLibraries, nullptr},
      {texts::kEditorPages[3], &TPREF_FORM::ShowEnvironment, &TPREF_FORM::ReadEnvironment,
       &TPREF_FORM::CheckEnvironment},
      {texts::kEditorPages[4], nullptr, nullptr, nullptr},
  };
  return kPages;
}

void TPREF_FORM::ShowPages(const ProfileRecord& record, bool imported) {
  for (const EditorPage& page : Pages()) {
    if (page.show != nullptr) (this->*page.show)(record, imported);
  }
}

ProfileRecord TPREF_FORM::ReadRecord() const {
  ProfileRecord record;
  record.version = SelectedVersion();
  for (const EditorPage& page : Pages()) {
    if (page.read != nullptr) (this->*page.read)(record);
  }
  return record;
}

std::optional<TPREF_FORM::PageRefusal> TPREF_FORM::FirstRefusal() const {
  for (const EditorPage& page : Pages()) {
    if (page.check == nullptr) continue;
    if (std::optional<PageRefusal> refusal = (this->*page.check)()) return refusal;
  }
  return std::nullopt;
}

// The bound fields: an import shows only those it decides, and enables each
// the release offers.
void TPREF_FORM::ShowGeneral(const ProfileRecord& record, bool imported) {
  baseKeyExists_ = services_.registries.Create()->KeyExists(IdeRegistryKey(record.version, false, u""));
  for (const FieldBinding& binding : PrefFormBindings()) {
    if (binding.key->offeredFor != nullptr) EnableWindow(Control(binding.control), IsOffered(*binding.key, record));
  }
  ApplyFields(record, imported);
}

void TPREF_FORM::ReadBoundField(HWND control, const ProfileKey& key, ProfileRecord& record) {
  if (key.flag != nullptr) record.*key.flag = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (key.text != nullptr) record.*key.text = ControlText(control);
}

void TPREF_FORM::ReadGeneral(ProfileRecord& record) const {
  for (const FieldBinding& binding : PrefFormBindings()) ReadBoundField(Control(binding.control), *binding.key, record);
}

std::optional<TPREF_FORM::PageRefusal> TPREF_FORM::CheckGeneral() const {
  const std::u16string name = ControlText(Control(kED01));
  const std::u16string altReg = ControlText(Control(kED10));
  const std::u16string preProcess = ControlText(Memo1);
  const bool useAltReg = SendMessageW(Control(kCHB5), BM_GETCHECK, 0, 0) == BST_CHECKED;
  std::optional<InputProblem> problem =
      CheckProfileInput(ProfileInput{name, SelectedVersion(), useAltReg, altReg, preProcess}, Profiles_, takenSections_,
                        services_.comparer);
  if (!problem) return std::nullopt;
  const int control = problem->field == EditorField::ProfileName ? kED01
                      : problem->field == EditorField::AltReg    ? kED10
                                                                 : kMemo1;
  return PageRefusal{std::move(problem->message), control, -1};
}

// The rows of the IDE's packages, sorted after an import, in the stored
// order otherwise; the list only for releases with packages.
void TPREF_FORM::ShowPackages(const ProfileRecord& record, bool imported) {
  ShowWindow(packages_.View().Handle(), ReleaseFacts(record.version).packages ? SW_SHOW : SW_HIDE);
  if (imported) {
    packages_.AssignSorted(record.packages);
  } else {
    packages_.Assign(record.packages);
  }
}

void TPREF_FORM::ReadPackages(ProfileRecord& record) const { record.packages = packages_.Rows(); }

// A tab per library page, with the rows the release lacks disabled.
void TPREF_FORM::ShowLibraries(const ProfileRecord& record, bool) {
  ClearLibrarySheets();
  for (const LibraryPage& page : record.libraries) {
    AddLibrarySheet(page.platform);
    TframeLibrary& frame = *frames_.back();
    for (int row = 0; row < TframeLibrary::kRows; ++row) {
      frame.SetRowEnabled(row, !IsDisabledInEditor(LibrarySettings[static_cast<std::size_t>(row)], record.version));
    }
    frame.SetValues(page.values);
  }
}

void TPREF_FORM::ReadLibraries(ProfileRecord& record) const {
  for (const std::unique_ptr<TframeLibrary>& frame : frames_) {
    record.libraries.push_back(LibraryPage{frame->Tag(), frame->Values()});
  }
}

void TPREF_FORM::ShowEnvironment(const ProfileRecord& record, bool imported) {
  if (imported) {
    environment_.Offer(record);
  } else {
    environment_.Show(record);
  }
}

void TPREF_FORM::ReadEnvironment(ProfileRecord& record) const {
  const auto variables = environment_.Input(services_.comparer);
  if (std::holds_alternative<std::vector<EnvironmentVariable>>(variables)) {
    record.environment = std::get<std::vector<EnvironmentVariable>>(variables);
  }
  record.holdsEnvironment = environment_.Holds();
}

std::optional<TPREF_FORM::PageRefusal> TPREF_FORM::CheckEnvironment() const {
  const auto variables = environment_.Input(services_.comparer);
  if (std::holds_alternative<std::vector<EnvironmentVariable>>(variables)) return std::nullopt;
  const EnvironmentProblem& problem = std::get<EnvironmentProblem>(variables);
  return PageRefusal{problem.message, kMemoEnvironment, problem.line};
}

}  // namespace ombrisk
