#include "model/record_store.h"

#include <gtest/gtest.h>

namespace tagloom {
namespace {

TEST(RecordStore, ResetPrimesEveryCataloguedRowAndEmptiesTheUncataloguedSide) {
  RecordStore store;
  store.lstPosition.Append("junk");
  store.AppendUncatalogued("0100", "23", "170", "1", "3");
  store.Reset();
  ASSERT_EQ(store.lstPosition.Count(), kCatalogueRows);
  for (int r = 0; r < kCatalogueRows; ++r) {
    EXPECT_EQ(store.lstPosition.Row(r), "0");
    EXPECT_EQ(store.lstValuePos.Row(r), "0");
    EXPECT_EQ(store.lstCount.Row(r), "0");
    EXPECT_EQ(store.lstType.Row(r), "0");
    EXPECT_EQ(store.lstValue.Row(r), "");
    EXPECT_FALSE(store.Found(r));
    EXPECT_EQ(store.CheckTag(store.lstTag.Row(r)), r);
  }
  EXPECT_EQ(store.lstUnuseTag.Count(), 0);
  EXPECT_EQ(store.lstUnuseValue.Count(), 0);
}

TEST(RecordStore, CheckTagComparesTheWholeTextCaseSensitively) {
  RecordStore store;
  EXPECT_EQ(store.CheckTag("010F"), 2);
  EXPECT_EQ(store.CheckTag("010f"), -1);
  EXPECT_EQ(store.CheckTag(""), -1);
  EXPECT_EQ(store.CheckTag("010F "), -1);
  EXPECT_EQ(store.CheckTag("8769"), 0);
  EXPECT_EQ(store.CheckTag("9004"), 19);
}

TEST(TextList, StoresTextsCutBeforeTheirFirstNul) {
  TextList list;
  list.Append(std::string("Can\0on", 6));
  EXPECT_EQ(list.Row(0), "Can");
  list.Set(0, std::string("\0x", 2));
  EXPECT_EQ(list.Row(0), "");
}

TEST(TextList, HoldsAtMost32767RowsAndIgnoresRowsThatDoNotExist) {
  TextList list;
  for (int i = 0; i < TextList::kMaxRows; ++i) ASSERT_TRUE(list.Append("x"));
  EXPECT_FALSE(list.Append("one too many"));
  EXPECT_EQ(list.Count(), TextList::kMaxRows);
  list.Set(-1, "a");
  list.Set(TextList::kMaxRows, "a");
  EXPECT_EQ(list.Row(-1), "");
  EXPECT_EQ(list.Row(TextList::kMaxRows), "");
}

TEST(RecordStore, UncataloguedListsStayParallelWhenFull) {
  RecordStore store;
  store.Reset();
  for (int i = 0; i < TextList::kMaxRows; ++i) {
    ASSERT_TRUE(store.AppendUncatalogued("0100", "1", "2", "3", "4"));
  }
  EXPECT_FALSE(store.AppendUncatalogued("0101", "1", "2", "3", "4"));
  for (const TextList* list : {&store.lstUnuseTag, &store.lstUnusePos, &store.lstUnuseValuePos,
                               &store.lstUnuseCount, &store.lstUnuseType, &store.lstUnuseValue}) {
    EXPECT_EQ(list->Count(), TextList::kMaxRows);
  }
}

}  // namespace
}  // namespace tagloom
