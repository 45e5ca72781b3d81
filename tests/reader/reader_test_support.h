// Shared by the reader tests: reading a composed photograph as the editor does,
// once for each byte order.
#pragma once

#include <gtest/gtest.h>

#include <span>

#include "model/hex_text.h"
#include "model/record_store.h"
#include "reader/carried_block.h"
#include "reader/exif_block.h"
#include "reader/jpeg_segments.h"
#include "support/fixture_builder.h"

namespace tagloom::test {

inline std::span<const std::uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct ReadResult {
  std::optional<JpegSegment> segment;
  RecordStore store;
  ExifBlockLayout layout;
  bool exifIfdRead = false;
  CarriedBlock carried;  // what a keep-all write would carry of it
  bool readOutside = false;
};

// Finds the EXIF segment and reads it, standing just after the marker as the
// editor does, then what a keep-all write would carry of it.
inline ReadResult ReadPhoto(const std::string& jpeg) {
  ReadChannel channel(AsBytes(jpeg));
  ReadResult result;
  result.store.Reset();
  result.segment = FindExifSegment(channel);
  if (result.segment) {
    channel.Seek(result.segment->offset + 3);
    result.exifIfdRead = ReadExifDataFromFile(channel, result.store, result.layout);
    result.carried = ReadCarriedBlock(channel, result.layout);
  }
  result.readOutside = channel.ReadOutside();
  return result;
}

// Entries (the builder's, or carried ones) as "tag type count value-in-hex".
template <typename Entries>
std::vector<std::string> Texts(const Entries& entries) {
  std::vector<std::string> texts;
  for (const auto& e : entries) {
    texts.push_back(TagText(e.tag) + " " + std::to_string(e.type) + " " + std::to_string(e.count) +
                    " " + HexDigits(e.value));
  }
  return texts;
}
inline std::vector<std::string> Texts(const std::optional<CarriedEntries>& entries) {
  return Texts(entries.value_or(CarriedEntries{}));
}

// The APP1 right after the start of image: marker at offset 2, TIFF header at position 13.
inline ReadResult ReadTiff(const TiffBuilder& tiff) {
  return ReadPhoto(JpegBuilder().App1Exif(tiff.Build()).Build());
}

// The value text of `tag`: its catalogue row, else its first uncatalogued row.
inline std::string ValueOf(const RecordStore& store, std::uint16_t tag) {
  if (int r = CatalogueRowOf(tag); r >= 0) return store.lstValue.Row(r);
  for (int u = 0; u < store.lstUnuseTag.Count(); ++u) {
    if (store.lstUnuseTag.Row(u) == TagText(tag)) return store.lstUnuseValue.Row(u);
  }
  return "<none>";
}

// Every row of the eleven lists the reader fills; the last six are the uncatalogued ones.
using AllRows = std::vector<std::vector<std::string>>;
inline AllRows Rows(const RecordStore& store) {
  AllRows rows;
  for (const TextList* list :
       {&store.lstPosition, &store.lstValue, &store.lstType, &store.lstValuePos, &store.lstCount,
        &store.lstUnuseTag, &store.lstUnusePos, &store.lstUnuseValuePos, &store.lstUnuseValue,
        &store.lstUnuseType, &store.lstUnuseCount}) {
    std::vector<std::string>& out = rows.emplace_back();
    for (int i = 0; i < list->Count(); ++i) out.push_back(list->Row(i));
  }
  return rows;
}
inline AllRows ResetRows() {
  return Rows(ReadPhoto("").store);
}

inline void ExpectUncataloguedParallel(const RecordStore& store) {
  const AllRows rows = Rows(store);
  for (std::size_t i = 6; i < rows.size(); ++i) EXPECT_EQ(rows[i].size(), rows[5].size()) << i;
}

class EachByteOrder : public ::testing::TestWithParam<ByteOrder> {
 protected:
  ByteOrder Order() const { return GetParam(); }
  bool Big() const { return GetParam() == ByteOrder::kBig; }
  // Make "Canon" in IFD0 and ISO 100 in the Exif IFD.
  std::string Block() const {
    return TiffBuilder(Order())
        .Ifd0({Ascii(0x010F, "Canon")})
        .ExifIfd({Short(0x8827, 100)})
        .Build();
  }
};

}  // namespace tagloom::test

#define TAGLOOM_BOTH_BYTE_ORDERS(suite) \
  INSTANTIATE_TEST_SUITE_P(             \
      Orders, suite,                    \
      ::testing::Values(::tagloom::test::ByteOrder::kLittle, ::tagloom::test::ByteOrder::kBig))
