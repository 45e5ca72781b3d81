#include "model/record_store.h"

#include <gtest/gtest.h>

namespace tagloom {
namespace {

TEST(RecordStore, ResetPrimesEveryCataloguedRowAndEveryTagFindsItsRow) {
  RecordStore store;
  store.lstValue.Append("junk");
  store.AppendUncatalogued("0100", 23, 170, 1, 3);
  store.Reset();
  ASSERT_EQ(store.lstValue.Count(), kCatalogueRows);
  for (int r = 0; r < kCatalogueRows; ++r) {
    EXPECT_EQ(store.lstPosition.Row(r) + store.lstValuePos.Row(r) + store.lstCount.Row(r) +
                  store.lstType.Row(r) + store.lstValue.Row(r),
              "0000");
    EXPECT_EQ(TagText(static_cast<std::uint16_t>(std::stoi(store.lstTag.Row(r), nullptr, 16))),
              store.lstTag.Row(r));
    EXPECT_EQ(CatalogueRowOf(static_cast<std::uint16_t>(std::stoi(store.lstTag.Row(r), nullptr, 16))), r);
  }
  EXPECT_EQ(store.lstUnuseTag.Count() + store.lstUnuseValue.Count(), 0);
  EXPECT_EQ(CatalogueRowOf(0x0100), -1);
}

TEST(TextList, CutsTextsAtTheirFirstNulAndHoldsAtMost32767Rows) {
  TextList list;
  list.Append(std::string("Can\0on", 6));
  list.AppendNumber(-42);
  EXPECT_EQ(list.Row(0) + list.Row(1), "Can-42");
  list.Set(1, std::string("\0x", 2));
  EXPECT_EQ(list.Row(1), "");
  EXPECT_EQ(list.Number(1), 0);
  while (list.Count() < TextList::kMaxRows) ASSERT_TRUE(list.Append("x"));
  EXPECT_FALSE(list.Append("one too many"));
  EXPECT_EQ(list.Count(), TextList::kMaxRows);
  list.Set(TextList::kMaxRows, "a");
  EXPECT_EQ(list.Row(TextList::kMaxRows) + list.Row(-1), "");
}

}  // namespace
}  // namespace tagloom
