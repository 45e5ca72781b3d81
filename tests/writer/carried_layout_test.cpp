// A keep-all block: what was carried of the old block, laid out beside the
// written rows and the maker note at its offset, reads back the same; what
// does not fit is dropped, the thumbnail first, then the largest entries.
#include "writer/carried_layout.h"

#include <gtest/gtest.h>

#include "model/edit_back.h"
#include "model/tiff_type.h"
#include "reader/reader_test_support.h"
#include "writer/writer_test_support.h"

namespace tagloom::test {
namespace {

using Dir = BlockDirectory;
constexpr int kMakerNoteField = 12;

// (Every byte order and type on the reader's side: the writer gets little-endian values.)
TEST(CarriedLayout, WhatWasCarriedReadsBackTheSameBesideTheRowsAndTheMakerNote) {
  const std::string thumbnail = "\xFF\xD8 a thumbnail of odd size \xFF\xD9";
  const ReadResult old = ReadPhoto(
      JpegBuilder()
          .App1Exif(TiffBuilder()
                        .Ifd0({Rational(0x011A, 72, 1), Ascii(0x013B, "Ann")})
                        .ExifIfd({Ascii(0x9290, "5"), Ascii(0xA420, std::string(33, 'u'))})
                        .GpsIfd({Rational(0x0006, 1500, 10)})
                        .InteropIfd({Ascii(0x0001, "R98")})
                        .Ifd1({Short(0x0103, 6)}, thumbnail)
                        .Build())
          .Build());
  ASSERT_EQ(old.carried.notCarried.size(), 0u);
  RecordStore store = Restored(
      {{field::kCopyright, "Ann Lee"}, {field::kIso, "200"}, {kMakerNoteField, "AB01020304"}});
  // The maker note was read at an odd offset, and points past its end.
  const MakerNotePlace place{601, 5, {{700, "outside"}}, false};
  const BuiltSegment built = AssembleExifSegment(store, place, &old.carried);
  ASSERT_EQ(built.error, BuildError::kNone);

  const ReadResult back = ReadPhoto("\xFF\xD8" + built.bytes + std::string(2, '\0'));
  for (std::size_t d = 0; d < kBlockDirectories; ++d) {
    EXPECT_EQ(Texts(back.carried.directories[d]), Texts(old.carried.directories[d])) << d;
  }
  EXPECT_EQ(back.carried.notCarried.size(), 0u);
  EXPECT_EQ(HexDigits(back.carried.thumbnail.bytes), HexDigits(thumbnail));
  EXPECT_EQ(back.store.lstValue.Row(row::kMake + 3), "Ann Lee");
  EXPECT_EQ(back.store.lstValue.Row(row::kIso), "200");
  EXPECT_EQ(built.makerNote, MakerNoteKept::kKept);
  EXPECT_EQ(HexDigits(built.bytes.substr(10 + 601, 5)), "AB01020304");
  EXPECT_EQ(built.bytes.substr(10 + 700, 7), "outside");
  const CarriedReport& report = *built.carried;
  EXPECT_TRUE(report.gps && report.interop && report.thumbnail);
  EXPECT_EQ(report.entries, (std::array<int, kBlockDirectories>{2, 2, 1, 1, 1}));
}

TEST(CarriedLayout, WhatDoesNotFitGoesThumbnailFirstThenTheLargestEntries) {
  CarriedBlock carried;
  carried[Dir::kIfd0] = CarriedEntries{{0x9C9B, tiff::kByte, 16000, std::string(16000, 'b')},
                                       {0x9C9C, tiff::kByte, 50000, std::string(50000, 'a')},
                                       {0x0213, tiff::kShort, 1, std::string("\x01\0", 2)}};
  carried.thumbnail = {
      0x0201, tiff::kLong, std::string(5000, 't'), {0}, {0x0202, tiff::kLong, 1, "\x88\x13\0\0"}};
  using Named = std::vector<std::pair<Dir, std::uint16_t>>;
  auto dropped = [](const BuiltSegment& built) {
    Named named;
    for (const NotCarried& n : built.carried->notKept) {
      EXPECT_EQ(n.why, NotCarriedWhy::kDroppedForSize);
      named.emplace_back(n.directory, n.tag);
    }
    return named;
  };
  RecordStore store = Restored({});
  BuiltSegment built = AssembleExifSegment(store, {}, &carried);
  ASSERT_EQ(built.error, BuildError::kNone);
  EXPECT_EQ(dropped(built), (Named{{Dir::kIfd1, 0x0201}, {Dir::kIfd0, 0x9C9C}}));
  EXPECT_FALSE(built.carried->thumbnail);
  EXPECT_EQ(built.carried->entries[0], 2);

  // A maker note that fills the segment alone leaves room for nothing.
  store = Restored({{kMakerNoteField, std::string(2 * 65500, 'A')}});
  built = AssembleExifSegment(store, {}, &carried);
  EXPECT_EQ(built.error, BuildError::kTooLarge);
  EXPECT_EQ(dropped(built).size(), 4u);
}

}  // namespace
}  // namespace tagloom::test
