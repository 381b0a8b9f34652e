#include "ui/version_combo.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/win_test_support.h"

namespace ombrisk {
namespace {

struct Item {
  std::wstring text;
  LRESULT data;
  bool operator==(const Item&) const = default;
};

std::vector<Item> Items(HWND combo) {
  std::vector<Item> items;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back({text, SendMessageW(combo, CB_GETITEMDATA, i, 0)});
  }
  return items;
}

TEST(VersionCombo, AppendsInstalledReleasesNewestFirst) {
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  FillVersionCombo(combo, {});
  EXPECT_TRUE(Items(combo).empty());

  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"already there"));
  FillVersionCombo(combo, {2, 7, 2006, 2015, 2016, 2017});
  EXPECT_EQ(Items(combo), (std::vector<Item>{{L"already there", 0},
                                             {L"Delphi XE6 / RAD Studio XE6", 2017},
                                             {L"AppMethod ", 2016},
                                             {L"Delphi XE5 / RAD Studio XE5", 2015},
                                             {L"Developer Studio 2006 / Turbo Delphi ", 2006},
                                             {L"Delphi 7 / 7.1", 7},
                                             {L"Delphi 2", 2}}));
  DestroyWindow(combo);
}

}  // namespace
}  // namespace ombrisk
