#include "core/row_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/profile_list.h"
#include "core/test_comparer.h"
#include "core/text.h"

namespace ombrisk {
namespace {

std::vector<std::u16string> Names(const RowModel<ListedProfile>& model) {
  std::vector<std::u16string> names;
  for (const ListedProfile& row : model.Rows()) names.push_back(row.name);
  return names;
}

TEST(RowKeys, CompareInAsciiUpperCaseThenCodeUnits) {
  EXPECT_LT(CompareRowKeys(u"Alpha", u"beta"), 0);
  EXPECT_EQ(CompareRowKeys(u"ALPHA", u"alpha"), 0);
  EXPECT_LT(CompareRowKeys(u"Delphi 2010 / RAD Studio 2010", u"Delphi 7 / 7.1"), 0);
  EXPECT_LT(CompareRowKeys(u"ab", u"abc"), 0) << "a prefix comes first";
  EXPECT_GT(CompareRowKeys(u"ä", u"Z"), 0) << "no case folding beyond a to z";
  EXPECT_GT(CompareRowKeys(u"_", u"a"), 0) << "'_' (0x5F) stands after 'A' (0x41)";
}

TEST(RowModel, ColumnClicksSortEachColumnInItsOwnDirection) {
  RowModel<ListedProfile> model(3);
  model.Assign({{u"_under", u"Delphi 3 / 3.1", u"", 3},
                {u"Alpha", u"Delphi 2007 / RAD Studio 2007", u"", 2007},
                {u"beta", u"Delphi 7 / 7.1", u"", 7},
                {u"Éclair", u"Delphi 2007 / RAD Studio 2007", u"", 2007},
                {u"gamma", u"Delphi 3 / 3.1", u"", 3},
                {u"hex", u"Delphi 7 / 7.1", u"", 7}});
  model.ClickColumn(0);
  EXPECT_EQ(Names(model), (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma", u"hex", u"_under", u"Éclair"}));
  model.ClickColumn(0);
  EXPECT_EQ(Names(model), (std::vector<std::u16string>{u"Éclair", u"_under", u"hex", u"gamma", u"beta", u"Alpha"}));
  model.ClickColumn(1);
  EXPECT_EQ(model.Rows().front().label, u"Delphi 2007 / RAD Studio 2007") << "labels compare as text";
  EXPECT_EQ(model.Rows().back().label, u"Delphi 7 / 7.1");
  EXPECT_EQ(model.Direction(0), -1) << "column 0 keeps its direction";
  EXPECT_EQ(model.SortColumn(), 1);
  model.ResetSort();
  model.ClickColumn(0);
  EXPECT_EQ(model.Direction(0), 1);
}

// Many rows: ASCII and other first letters, blanks, empty and equal keys.
std::size_t Position(const std::vector<ListedProfile>& rows, const ListedProfile& row) {
  for (std::size_t index = 0; index < rows.size(); ++index) {
    if (rows[index].description == row.description) return index;
  }
  return rows.size();
}

TEST(RowModel, ManyRowsSortStablyInBothDirectionsAndReportWhereEachWent) {
  const std::u16string firsts[] = {u"a", u"B", u"_", u" ", u"É", u"z", u"0", u"ä", u"", u"Z"};
  RowModel<ListedProfile> model(3);
  std::vector<ListedProfile> rows;
  for (int n = 0; n < 120; ++n) {
    std::u16string name = firsts[n % 10];
    if (n % 3 != 0) name += u'x';
    rows.push_back({name, u"", DecimalText(n), 0});
  }
  model.Assign(rows);
  for (int direction : {1, -1, 1}) {
    const std::vector<ListedProfile> before = model.Rows();
    const std::vector<std::size_t> moved = model.ClickColumn(0);
    ASSERT_EQ(model.Direction(0), direction);
    for (std::size_t old = 0; old < before.size(); ++old) {
      EXPECT_EQ(model[moved[old]].description, before[old].description);
    }
    for (std::size_t row = 1; row < model.Size(); ++row) {
      const int order = CompareRowKeys(model[row - 1].name, model[row].name) * direction;
      EXPECT_LE(order, 0) << "rows " << row - 1 << " and " << row;
      // Equal keys keep the order they had before the click.
      if (order == 0) {
        EXPECT_LT(Position(before, model[row - 1]), Position(before, model[row]));
      }
    }
  }
}

TEST(RowModel, AppendedRowsStayAtTheEndAndChangedOrErasedRowsKeepTheOthersInPlace) {
  RowModel<ListedProfile> model(3);
  model.Assign({{u"b", u"", u"", 7}, {u"c", u"", u"", 7}});
  model.ClickColumn(0);
  EXPECT_EQ(model.Append({u"a", u"", u"", 7}), 2u);
  model[0] = ListedProfile{u"z", u"", u"", 7};
  EXPECT_EQ(Names(model), (std::vector<std::u16string>{u"z", u"c", u"a"}));
  model.Erase(1);
  EXPECT_EQ(Names(model), (std::vector<std::u16string>{u"z", u"a"}));
  EXPECT_TRUE(model.Contains(1));
  EXPECT_FALSE(model.Contains(2));
  EXPECT_FALSE(model.Contains(-1));
}

TEST(RowModel, SearchMatchesNamesLabelsAndDescriptionsAndFindsNamesByTheirLetters) {
  const ListedProfile row{u"Alpha", u"Delphi XE6 / RAD Studio XE6", u"nightly", 2017};
  struct Case {
    std::u16string_view text;
    bool matches;
  };
  for (const Case& c :
       {Case{u"Alpha", true}, Case{u"lph", true}, Case{u"alpha", false}, Case{u"XE6", true}, Case{u"ＸＥ６", false},
        Case{u"XE6\r\nnight", true}, Case{u"nightly\r\n", true}, Case{u"Alphanightly", false}, Case{u"", false}}) {
    EXPECT_EQ(RowMatchesText(row, c.text), c.matches) << ToUtf8(c.text);
  }

  testing::PlatformTextComparer comparer;
  const std::vector<ListedProfile> rows{{u"beta", u"", u"", 7}, {u"Alpha", u"", u"", 7}, {u"alps", u"", u"", 7}};
  EXPECT_EQ(FindRowByName(rows, u"al", 0, true, comparer.Mapping()), 1);
  EXPECT_EQ(FindRowByName(rows, u"AL", 2, true, comparer.Mapping()), 2);
  EXPECT_EQ(FindRowByName(rows, u"b", 2, true, comparer.Mapping()), 0) << "wraps around";
  EXPECT_EQ(FindRowByName(rows, u"alpha", 0, false, comparer.Mapping()), 1);
  EXPECT_EQ(FindRowByName(rows, u"alp", 0, false, comparer.Mapping()), -1);
  EXPECT_EQ(FindRowByName({}, u"a", 0, true, comparer.Mapping()), -1);
}

}  // namespace
}  // namespace ombrisk
