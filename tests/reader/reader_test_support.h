// Shared by the reader tests: reading a composed photograph as the editor
// does, and running a test once for each byte order.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/record_store.h"
#include "reader/exif_block.h"
#include "reader/jpeg_segments.h"
#include "reader/read_channel.h"
#include "support/fixture_builder.h"

namespace tagloom::test {

inline std::span<const std::uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Four upper-case hexadecimal digits, the form of the catalogue's tag ids.
inline std::string TagText(std::uint16_t tag) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[tag >> 12], kDigits[(tag >> 8) & 0xF], kDigits[(tag >> 4) & 0xF],
          kDigits[tag & 0xF]};
}

// What reading a photograph's EXIF block left behind.
struct ReadResult {
  std::optional<JpegSegment> segment;
  RecordStore store;
  ExifBlockLayout layout;
  bool exifIfdRead = false;
  bool readOutside = false;
};

// Finds the EXIF segment and reads it into a reset store, standing just after
// the marker as the editor does.
inline ReadResult ReadPhoto(ReadChannel& channel) {
  ReadResult result;
  result.store.Reset();
  result.segment = FindExifSegment(channel);
  if (result.segment) {
    channel.Seek(result.segment->offset + 3);
    result.exifIfdRead = ReadExifDataFromFile(channel, result.store, result.layout);
  }
  result.readOutside = channel.ReadOutside();
  return result;
}

inline ReadResult ReadPhoto(const std::string& jpeg) {
  ReadChannel channel(AsBytes(jpeg));
  return ReadPhoto(channel);
}

// A photograph whose APP1 follows the start of image directly: the marker at
// offset 2 and the TIFF header at 1-based position 13.
inline ReadResult ReadTiff(const TiffBuilder& tiff) {
  return ReadPhoto(JpegBuilder().App1Exif(tiff.Build()).Build());
}

// The value text recorded for `tag`: its catalogue row, or the first
// uncatalogued row with that tag ("<none>" when there is neither).
inline std::string ValueOf(const RecordStore& store, std::uint16_t tag) {
  const std::string id = TagText(tag);
  if (int r = store.CheckTag(id); r >= 0) return store.lstValue.Row(r);
  for (int u = 0; u < store.lstUnuseTag.Count(); ++u) {
    if (store.lstUnuseTag.Row(u) == id) return store.lstUnuseValue.Row(u);
  }
  return "<none>";
}

// Every row of the eleven lists the reader fills, for comparing whole stores.
inline std::vector<std::vector<std::string>> Rows(const RecordStore& store) {
  std::vector<std::vector<std::string>> rows;
  for (const TextList* list :
       {&store.lstPosition, &store.lstValue, &store.lstType, &store.lstValuePos, &store.lstCount,
        &store.lstUnuseTag, &store.lstUnusePos, &store.lstUnuseValuePos, &store.lstUnuseValue,
        &store.lstUnuseType, &store.lstUnuseCount}) {
    std::vector<std::string>& out = rows.emplace_back();
    for (int i = 0; i < list->Count(); ++i) out.push_back(list->Row(i));
  }
  return rows;
}

inline std::vector<std::vector<std::string>> ResetRows() {
  RecordStore store;
  store.Reset();
  return Rows(store);
}

// The six uncatalogued lists hold the same number of rows.
inline void ExpectUncataloguedParallel(const RecordStore& store) {
  const int n = store.lstUnuseTag.Count();
  EXPECT_EQ(store.lstUnusePos.Count(), n);
  EXPECT_EQ(store.lstUnuseValuePos.Count(), n);
  EXPECT_EQ(store.lstUnuseValue.Count(), n);
  EXPECT_EQ(store.lstUnuseType.Count(), n);
  EXPECT_EQ(store.lstUnuseCount.Count(), n);
}

// Tests that run once for each byte order of the EXIF block.
class EachByteOrder : public ::testing::TestWithParam<ByteOrder> {
 protected:
  ByteOrder Order() const { return GetParam(); }
  bool Big() const { return GetParam() == ByteOrder::kBig; }
  // The expected text for this order.
  std::string Pick(const std::string& little, const std::string& big) const {
    return Big() ? big : little;
  }
};

inline constexpr std::array kBothOrders = {ByteOrder::kLittle, ByteOrder::kBig};

inline std::string OrderName(const ::testing::TestParamInfo<ByteOrder>& info) {
  return info.param == ByteOrder::kBig ? "BigEndian" : "LittleEndian";
}

}  // namespace tagloom::test

// Instantiates a suite derived from EachByteOrder for both byte orders.
#define TAGLOOM_BOTH_BYTE_ORDERS(suite)                                                      \
  INSTANTIATE_TEST_SUITE_P(Orders, suite, ::testing::ValuesIn(::tagloom::test::kBothOrders), \
                           ::tagloom::test::OrderName)
