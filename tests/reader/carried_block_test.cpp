// What a keep-all write can carry of a block: every entry outside the
// catalogue, turned little-endian by its type, and the thumbnail; and, with
// its directory and reason, what it cannot carry.
#include "reader/carried_block.h"

#include <gtest/gtest.h>

#include "model/tiff_type.h"
#include "reader_test_support.h"

namespace tagloom::test {
namespace {

using Dir = BlockDirectory;
using Why = NotCarriedWhy;

class CarriedBlockRead : public EachByteOrder {
 protected:
  CarriedBlock Carried(const TiffBuilder& tiff) const {
    return ReadPhoto(JpegBuilder().App1Exif(tiff.Build()).Build()).carried;
  }
};
TAGLOOM_BOTH_BYTE_ORDERS(CarriedBlockRead);

TEST_P(CarriedBlockRead, EveryEntryOutsideTheCatalogueComesOutLittleEndianByType) {
  Entry latitude = Numbers(0x0002, tiff::kRational, 4, {52, 1, 20, 1, 3000, 100});
  latitude.count = 3;
  const std::vector<Entry> ifd0 = {Rational(0x011A, 72, 1), Short(0x0213, 2)};
  const std::vector<Entry> exif = {Undefined(0x9000, "0230"),
                                   SRational(0x9201, -5, 3),
                                   Ascii(0x9290, "00"),
                                   Long(0xA002, 4000),
                                   Raw(0xA420, tiff::kAscii, 0, 0),  // no value at all
                                   Numbers(0xA500, tiff::kSShort, 2, {-1, 2, 3}),
                                   Numbers(0xA501, tiff::kFloat, 4, {0x3F800000}),
                                   Numbers(0xA502, tiff::kDouble, 8, {0x400921FB54442D18}),
                                   Numbers(0xA503, tiff::kSByte, 1, {-1, 1})};
  const std::vector<Entry> gps = {Bytes(0x0000, {2, 3, 0, 0}), latitude};
  const std::vector<Entry> interop = {Ascii(0x0001, "R98")}, ifd1 = {Short(0x0103, 6)};
  const std::string thumbnail = "\xFF\xD8 a thumbnail \xFF\xD9";
  std::vector<Entry> ifd0Read = ifd0, exifRead = exif;
  ifd0Read.push_back(Ascii(0x010F, "Canon"));  // catalogued: the store's
  exifRead.push_back(Short(0x8827, 100));
  const CarriedBlock block = Carried(
      TiffBuilder(Order()).Ifd0(ifd0Read).ExifIfd(exifRead).GpsIfd(gps).InteropIfd(interop).Ifd1(
          ifd1, thumbnail));
  EXPECT_EQ(Texts(block[Dir::kIfd0]), Texts(ifd0));
  EXPECT_EQ(Texts(block[Dir::kExif]), Texts(exif));
  EXPECT_EQ(Texts(block[Dir::kGps]), Texts(gps));
  EXPECT_EQ(Texts(block[Dir::kInterop]), Texts(interop));
  EXPECT_EQ(Texts(block[Dir::kIfd1]), Texts(ifd1));
  EXPECT_EQ(block.notCarried.size(), 0u);
  EXPECT_EQ(block.thumbnail.offsetsTag, 0x0201);
  EXPECT_EQ(HexDigits(block.thumbnail.bytes), HexDigits(thumbnail));
  EXPECT_EQ(Texts(std::vector{block.thumbnail.sizes}),
            Texts(std::vector{Long(0x0202, static_cast<std::uint32_t>(thumbnail.size()))}));

  const CarriedBlock strip = Carried(TiffBuilder(Order()).Ifd1({}, "RGBRGB", 0x0111));
  EXPECT_EQ(strip.thumbnail.offsetsTag, 0x0111);
  EXPECT_EQ(strip.thumbnail.bytes, "RGBRGB");
  EXPECT_EQ(strip.thumbnail.sizes.tag, 0x0117);
}

TEST_P(CarriedBlockRead, WhatCannotBeCarriedIsNamedWithItsDirectoryAndReason) {
  using Named = std::vector<std::tuple<Dir, std::uint16_t, Why>>;
  const auto builder = [&] { return TiffBuilder(Order()); };
  for (const auto& [tiff, expected] : std::initializer_list<std::pair<TiffBuilder, Named>>{
           {builder()
                .Ifd0({Long(0x014A, 300), Long(0x8290, 500), Long(0x0111, 100),
                       Raw(0x9C9B, 14, 1, 0), Undefined(0xEA1C, std::string(20, '\0')),
                       Short(0x0213, 1), Short(0x0213, 2), Raw(0x9C9C, 1, 100, 0xFFFFFF00),
                       Raw(0x9C9D, 4, 0x40000000, 8)})
                .ExifIfd({Raw(0xA420, tiff::kIfd, 1, 8), SLongs(0xEA1D, {1}), Long(0x8825, 8)}),
            {{Dir::kIfd0, 0x014A, Why::kPointsElsewhere},
             {Dir::kIfd0, 0x8290, Why::kPointsElsewhere},
             {Dir::kIfd0, 0x0111, Why::kPointsElsewhere},
             {Dir::kIfd0, 0x9C9B, Why::kUnknownType},
             {Dir::kIfd0, 0xEA1C, Why::kPadding},
             {Dir::kIfd0, 0x0213, Why::kDuplicate},
             {Dir::kIfd0, 0x9C9C, Why::kDamaged},  // its value lies past the block
             {Dir::kIfd0, 0x9C9D, Why::kDamaged},  // a count no block can hold
             {Dir::kExif, 0xA420, Why::kPointsElsewhere},
             {Dir::kExif, 0xEA1D, Why::kPadding},
             {Dir::kExif, 0x8825, Why::kPointsElsewhere}}},
           {builder()
                .GpsIfd({Short(0x0112, 1)})  // the thumbnail's own orientation is carried
                .Ifd1({Short(0x0112, 1), Long(0x8769, 8), Raw(0x0201, 4, 1, 0xFFF0),
                       Long(0x0202, 100)}),
            {{Dir::kIfd1, 0x8769, Why::kPointsElsewhere}, {Dir::kIfd1, 0x0201, Why::kDamaged}}},
           // Directories pointed to past the block, and back at IFD0.
           {builder().Ifd0({Long(0x8825, 0xFFFFFF00)}).ExifIfd({Long(0xA005, 8)}),
            {{Dir::kInterop, 0, Why::kDamaged}, {Dir::kGps, 0, Why::kDamaged}}},
       }) {
    const CarriedBlock block = Carried(tiff);
    Named named;
    for (const NotCarried& n : block.notCarried) named.emplace_back(n.directory, n.tag, n.why);
    EXPECT_EQ(named, expected);
  }
  const CarriedBlock twice = Carried(builder().Ifd0({Short(0x0213, 1), Short(0x0213, 2)}));
  EXPECT_EQ(Texts(twice[Dir::kIfd0]), Texts(std::vector{Short(0x0213, 1)})) << "the first is kept";
}

}  // namespace
}  // namespace tagloom::test
