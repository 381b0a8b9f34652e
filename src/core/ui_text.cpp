#include "core/ui_text.h"

#include "text_ids.h"

namespace ombrisk {

namespace {

const TextTable* installed = nullptr;

}  // namespace

void TextTable::Set(unsigned id, std::u16string text) {
  if (id < IDS_FIRST_TEXT) return;
  const std::size_t at = id - IDS_FIRST_TEXT;
  if (at >= texts_.size()) {
    texts_.resize(at + 1);
    present_.resize(at + 1);
  }
  texts_[at] = std::move(text);
  present_[at] = true;
}

std::u16string_view TextTable::Get(unsigned id) const {
  const std::size_t at = id - IDS_FIRST_TEXT;
  return id >= IDS_FIRST_TEXT && at < texts_.size() ? std::u16string_view(texts_[at]) : std::u16string_view();
}

std::vector<unsigned> TextTable::Ids() const {
  std::vector<unsigned> ids;
  for (std::size_t at = 0; at < present_.size(); ++at) {
    if (present_[at]) ids.push_back(static_cast<unsigned>(at + IDS_FIRST_TEXT));
  }
  return ids;
}

void UseTexts(const TextTable& table) { installed = &table; }

Language TextLanguage() { return installed == nullptr ? Language::Japanese : installed->TableLanguage(); }

UiText::operator std::u16string_view() const {
  if (id_ == 0) return fixed_;
  return installed == nullptr ? std::u16string_view() : installed->Get(id_);
}

}  // namespace ombrisk
