#include "reader/jpeg_segments.h"

#include <gtest/gtest.h>

#include "reader_test_support.h"

namespace tagloom::test {
namespace {

class SegmentSearch : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(SegmentSearch);

TEST_P(SegmentSearch, FindsTheExifApp1AfterAnyMarkerSegments) {
  const std::string tiff = Block();
  for (const JpegBuilder& before :
       {JpegBuilder(), JpegBuilder().WithoutSoi(), JpegBuilder().App0Jfif().App2Icc(),
        JpegBuilder().App1Xmp(), JpegBuilder().App0Jfif().App13(),
        JpegBuilder().App0Jfif().App0(10), JpegBuilder().App0(40'000),
        JpegBuilder().App0Jfif().Segment(0xDB, std::string(65, '\x01')),
        JpegBuilder().Segment(0xE1, "ExifII*"),  // "Exif" without its two NUL bytes
        JpegBuilder().Raw("\xFF\xFF"), JpegBuilder().App0Jfif().Raw("\xFF\xFF\xFF")}) {
    const auto offset = static_cast<std::int64_t>(before.Build().size());
    ReadResult read = ReadPhoto(JpegBuilder(before).App1Exif(tiff).Scan().Build());
    ASSERT_TRUE(read.segment) << offset;
    EXPECT_EQ(read.segment->offset, offset);
    EXPECT_EQ(read.segment->size, static_cast<std::int64_t>(4 + 6 + tiff.size()));
    EXPECT_EQ(read.layout.TiffBase, offset + 11);
    EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100") << offset;
  }
}

TEST_P(SegmentSearch, FindsNoExifWhereTheWalkCannotReachIt) {
  const std::string tiff = Block();
  for (const std::string& jpeg : {
           JpegBuilder().App0Jfif().App1Xmp().Scan().Build(),
           JpegBuilder().App0Jfif().Scan().App1Exif(tiff).Build(),
           JpegBuilder().App0Jfif().Raw(std::string(1, '\0')).App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\0", 2)).App1Exif(tiff).Build(),
           JpegBuilder().Raw("\xFF\xD9").App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\xE0\0\x01", 4)).App1Exif(tiff).Build(),
           JpegBuilder().Raw(std::string("\xFF\xE0\x40\0", 4)).App1Exif(tiff).Scan().Build(),
           JpegBuilder().WithoutSoi().App0Jfif().App1Exif(tiff).Build(),
           "GIF89a" + JpegBuilder().App1Exif(tiff).Build(),
       }) {
    EXPECT_FALSE(ReadPhoto(jpeg).segment) << jpeg.size();
  }
}

}  // namespace
}  // namespace tagloom::test
