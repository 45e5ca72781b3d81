#include "reader/jpeg_segments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader_test_support.h"

namespace tagloom {
namespace {

using test::AsBytes;
using test::JpegBuilder;

class SegmentSearch : public test::EachByteOrder {
 protected:
  std::string Tiff() const {
    return test::TiffBuilder(Order())
        .Ifd0({test::Ascii(0x010F, "Canon")})
        .ExifIfd({test::Short(0x8827, 100)})
        .Build();
  }
};
TAGLOOM_BOTH_BYTE_ORDERS(SegmentSearch);

// Whatever comes before it, the EXIF APP1 is found where it stands and its
// block reads through the position the segment reports.
TEST_P(SegmentSearch, FindsTheExifApp1AfterAnyMarkerSegments) {
  const std::string tiff = Tiff();
  const struct {
    const char* layout;
    JpegBuilder before;
  } cases[] = {
      {"SOI, APP1", JpegBuilder()},
      {"SOI, JFIF APP0, APP1", JpegBuilder().App0Jfif()},
      {"APP1 at the very start", JpegBuilder().WithoutSoi()},
      {"quantisation table between APP0 and APP1",
       JpegBuilder().App0Jfif().Segment(0xDB, std::string(65, '\x01'))},
      {"ICC APP2", JpegBuilder().App0Jfif().App2Icc()},
      {"XMP APP1", JpegBuilder().App1Xmp()},
      {"APP13", JpegBuilder().App0Jfif().App13()},
      {"two APP0", JpegBuilder().App0Jfif().App0(10)},
      {"APP0 of 40,000 bytes", JpegBuilder().App0(40'000)},
      {"APP1 too short for a signature", JpegBuilder().Segment(0xE1, "abc")},
      {"APP1 'Exif' without its two NUL bytes", JpegBuilder().Segment(0xE1, "ExifII*")},
      {"fill bytes before the marker", JpegBuilder().Raw("\xFF\xFF")},
      {"fill bytes after APP0", JpegBuilder().App0Jfif().Raw("\xFF\xFF\xFF")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    const std::string jpeg = JpegBuilder(c.before).App1Exif(tiff).Scan().Build();
    test::ReadResult read = test::ReadPhoto(jpeg);
    ASSERT_TRUE(read.segment);
    // The marker's FF is the byte right after everything that came before.
    const auto offset = static_cast<std::int64_t>(c.before.Build().size());
    EXPECT_EQ(read.segment->offset, offset);
    EXPECT_EQ(read.segment->marker, kMarkerApp1);
    EXPECT_EQ(read.segment->size, static_cast<std::int64_t>(4 + 6 + tiff.size()));
    EXPECT_TRUE(read.segment->carriesExif);
    EXPECT_EQ(read.layout.ExifSegmentOffset, offset);
    EXPECT_EQ(read.layout.ExifSegmentLength, read.segment->size - 2);
    EXPECT_EQ(read.layout.TiffBase, offset + 11);
    EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
    EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100");
  }
}

TEST_P(SegmentSearch, FindsNoExifWhereTheWalkCannotReachIt) {
  const std::string tiff = Tiff();
  const struct {
    const char* layout;
    std::string jpeg;
  } cases[] = {
      {"XMP only", JpegBuilder().App0Jfif().App1Xmp().Scan().Build()},
      {"APP1 after the start of scan", JpegBuilder().App0Jfif().Scan().App1Exif(tiff).Build()},
      {"a NUL byte where a marker should be",
       JpegBuilder().App0Jfif().Raw(std::string(1, '\0')).App1Exif(tiff).Build()},
      {"text where a marker should be", JpegBuilder().Raw("junk").App1Exif(tiff).Build()},
      {"FF 00 is no marker", JpegBuilder().Raw(std::string("\xFF\0", 2)).App1Exif(tiff).Build()},
      {"a second start of image", JpegBuilder().Raw("\xFF\xD8").App1Exif(tiff).Build()},
      {"end of image", JpegBuilder().Raw("\xFF\xD9").App1Exif(tiff).Build()},
      {"segment length 1",
       JpegBuilder().Raw(std::string("\xFF\xE0\0\x01", 4)).App1Exif(tiff).Build()},
      {"segment length 0",
       JpegBuilder().Raw(std::string("\xFF\xE2\0\0", 4)).App1Exif(tiff).Build()},
      {"APP0 whose length runs past the APP1",
       JpegBuilder().Raw(std::string("\xFF\xE0\x40\0", 4)).App1Exif(tiff).Scan().Build()},
      {"APP1 marker and half a length", JpegBuilder().Raw(std::string("\xFF\xE1\0", 3)).Build()},
      {"signature cut short", JpegBuilder()
                                  .Raw(std::string("\xFF\xE1\0\x40"
                                                   "Exi",
                                                   7))
                                  .Build()},
      {"only fill bytes", JpegBuilder().Raw(std::string(40, '\xFF')).Build()},
      {"start of image only", JpegBuilder().Build()},
      {"APP0 without start of image", JpegBuilder().WithoutSoi().App0Jfif().App1Exif(tiff).Build()},
      {"not a JPEG", "GIF89a" + JpegBuilder().App1Exif(tiff).Build()},
      {"a lone FF", "\xFF"},
      {"empty file", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    test::ReadResult read = test::ReadPhoto(c.jpeg);
    EXPECT_FALSE(read.segment);
  }
}

TEST_P(SegmentSearch, ReportsAnExifApp1ThatTheFileCutsShort) {
  // The length field promises 100 bytes; the file ends inside the TIFF header.
  const std::string jpeg = JpegBuilder()
                               .Raw(std::string("\xFF\xE1\0\x64"
                                                "Exif\0\0II",
                                                12))
                               .Build();
  test::ReadResult read = test::ReadPhoto(jpeg);
  ASSERT_TRUE(read.segment);
  EXPECT_EQ(read.segment->offset, 2);
  EXPECT_EQ(read.segment->size, 102);
  EXPECT_FALSE(read.exifIfdRead);
  EXPECT_EQ(read.layout.ExifSegmentLength, 100);
  EXPECT_EQ(test::Rows(read.store), test::ResetRows());
  EXPECT_TRUE(read.readOutside);
}

TEST_P(SegmentSearch, WalksEverySegmentUpToTheStartOfScan) {
  const std::string tiff = Tiff();
  const std::string jpeg = JpegBuilder().App0Jfif().App2Icc().App1Exif(tiff).App13().Scan().Build();
  ReadChannel channel(AsBytes(jpeg));
  std::vector<JpegSegment> seen;
  std::int64_t end = WalkHeaderSegments(channel, [&](const JpegSegment& s) {
    seen.push_back(s);
    return true;
  });
  const std::vector<std::uint8_t> markers = {0xE0, 0xE2, 0xE1, 0xED, 0xDB};
  ASSERT_EQ(seen.size(), markers.size());
  std::int64_t offset = 2;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(seen[i].marker, markers[i]);
    EXPECT_EQ(seen[i].offset, offset);
    EXPECT_EQ(seen[i].carriesExif, markers[i] == kMarkerApp1);
    offset += seen[i].size;
  }
  EXPECT_EQ(seen[0].size, 18);
  EXPECT_EQ(end, offset);  // where the start of scan stands
  EXPECT_EQ(static_cast<std::uint8_t>(jpeg[static_cast<std::size_t>(end) + 1]), 0xDA);

  // A visitor that has seen enough stops the walk at that segment.
  seen.clear();
  end = WalkHeaderSegments(channel, [&](const JpegSegment& s) {
    seen.push_back(s);
    return s.marker != 0xE2;
  });
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(end, 20);
}

TEST(SegmentWalk, StopsWhereTheHeaderEnds) {
  const struct {
    const char* layout;
    std::string bytes;
    std::int64_t end;
  } cases[] = {
      {"no JPEG", "GIF89a", 0},
      {"empty", "", 0},
      {"start of image only", "\xFF\xD8", 2},
      {"a segment that runs past the end", std::string("\xFF\xD8\xFF\xE0\x01\0abc", 9), 9},
      {"text after APP0", JpegBuilder().App0Jfif().Raw("text").Build(), 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    ReadChannel channel(AsBytes(c.bytes));
    EXPECT_EQ(WalkHeaderSegments(channel, [](const JpegSegment&) { return true; }), c.end);
  }
}

}  // namespace
}  // namespace tagloom
