#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/exif_block.h"
#include "reader_test_support.h"

namespace tagloom::test {
namespace {

class IfdWalker : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(IfdWalker);

// IFD0 at offset 8 with Make (ASCII, 6 bytes at 0x9E) and the Exif pointer
// (0x8C); the APP1 marker at file offset 2, so the TIFF header is at 13.
TEST_P(IfdWalker, RecordsPositionsCountedFromTheTiffHeader) {
  ReadResult read = ReadTiff(TiffBuilder(Order())
                                 .Ifd0({Raw(0x010F, 2, 6, 0x9E)})
                                 .ExifIfdOffset(0x8C)
                                 .ExifIfd({Short(0x8827, 100)})
                                 .Place(0x9E, std::string("Canon\0", 6)));
  const RecordStore& store = read.store;
  ASSERT_TRUE(read.exifIfdRead);
  EXPECT_EQ(read.layout.ExifSegmentOffset, 2);
  EXPECT_EQ(read.layout.ExifSegmentLength, 2 + 6 + 0x9E + 6);
  EXPECT_EQ(read.layout.TiffBase, 13);
  EXPECT_EQ(read.layout.MotorolaOrder, Big());
  EXPECT_EQ(read.layout.Ifd0EntryCount, 2);

  EXPECT_EQ(store.lstPosition.Row(row::kMake), "23");
  EXPECT_EQ(store.lstValuePos.Row(row::kMake), "170");
  EXPECT_EQ(store.lstType.Row(row::kMake), "2");
  EXPECT_EQ(store.lstCount.Row(row::kMake), "6");
  EXPECT_EQ(store.lstValue.Row(row::kMake), "Canon");

  EXPECT_EQ(store.lstPosition.Row(row::kExifPointer), "35");
  EXPECT_EQ(store.lstValuePos.Row(row::kExifPointer), "152");
  EXPECT_EQ(store.lstType.Row(row::kExifPointer), "4");
  EXPECT_EQ(store.lstValue.Row(row::kExifPointer), "140");

  // The Exif IFD is read from 153: its count, then its first entry at 155.
  EXPECT_EQ(read.layout.ExifIfdEntryCount, 1);
  EXPECT_EQ(store.lstPosition.Row(row::kIso), "155");
  EXPECT_EQ(store.lstValue.Row(row::kIso), "100");
  EXPECT_FALSE(read.readOutside);
}

TEST_P(IfdWalker, FollowsTheHeaderToIfd0WhereverItIs) {
  for (std::uint32_t offset : {8u, 10u, 0x20u, 0x400u}) {
    SCOPED_TRACE(offset);
    ReadResult read = ReadTiff(
        TiffBuilder(Order()).Ifd0Offset(offset).Ifd0({Ascii(0x010F, "Canon")}).ExifIfd({}));
    EXPECT_EQ(read.store.lstPosition.Row(row::kMake), std::to_string(13 + offset + 2));
    EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
    EXPECT_TRUE(read.exifIfdRead);
  }
}

TEST_P(IfdWalker, WithoutTheExifPointerReadsIfd0Only) {
  std::string jpeg =
      JpegBuilder()
          .App1Exif(TiffBuilder(Order())
                        .Ifd0({Ascii(0x010F, "Canon"), Short(0x8827, 100), Short(0x0100, 640)})
                        .Build())
          .Build();
  ReadChannel channel(AsBytes(jpeg));
  channel.Seek(5);
  RecordStore store;
  store.Reset();
  ExifBlockLayout layout;
  layout.ExifIfdEntryCount = 77;  // left from an earlier photograph
  EXPECT_FALSE(ReadExifDataFromFile(channel, store, layout));
  EXPECT_EQ(layout.Ifd0EntryCount, 3);
  EXPECT_EQ(layout.ExifIfdEntryCount, 77);
  EXPECT_FALSE(store.Found(row::kExifPointer));
  EXPECT_EQ(store.lstValue.Row(row::kMake), "Canon");
  EXPECT_EQ(store.lstUnuseValue.Row(0), "640");
  // An Exif-directory tag found in IFD0 is recorded, but its value is fetched
  // only with the Exif directory's.
  EXPECT_TRUE(store.Found(row::kIso));
  EXPECT_EQ(store.lstValue.Row(row::kIso), "");

  ReadResult withExif =
      ReadTiff(TiffBuilder(Order()).Ifd0({Short(0x8827, 100)}).ExifIfd({Short(0x0100, 1)}));
  EXPECT_EQ(withExif.store.lstValue.Row(row::kIso), "100");
}

TEST_P(IfdWalker, RecordsNothingFromAnApp1ThatIsNotExifOrHasNoByteOrder) {
  {
    std::string jpeg = JpegBuilder().App1Xmp().Build();
    ReadChannel channel(AsBytes(jpeg));
    channel.Seek(5);
    RecordStore store;
    store.Reset();
    ExifBlockLayout layout;
    EXPECT_FALSE(ReadExifDataFromFile(channel, store, layout));
    EXPECT_EQ(layout.ExifSegmentOffset, 2);
    EXPECT_EQ(layout.ExifSegmentLength, static_cast<std::int64_t>(jpeg.size()) - 4);
    EXPECT_EQ(Rows(store), ResetRows());
  }
  for (const char* mark : {"IM", "ii", "mm", "MI", "\x49"}) {
    SCOPED_TRACE(mark);
    ReadResult read = ReadTiff(TiffBuilder(Order())
                                   .ByteOrderMark(mark)
                                   .Ifd0({Ascii(0x010F, "Canon")})
                                   .ExifIfd({Short(0x8827, 100)}));
    ASSERT_TRUE(read.segment);
    EXPECT_FALSE(read.exifIfdRead);
    EXPECT_EQ(read.layout.TiffBase, 13);
    EXPECT_EQ(Rows(read.store), ResetRows());
  }
}

TEST_P(IfdWalker, KeepsTheLastOfACataloguedTagAndEveryUncataloguedOne) {
  ReadResult read = ReadTiff(TiffBuilder(Order())
                                 .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640),
                                        Ascii(0x010F, "Nikon"), Short(0x0100, 480)})
                                 .ExifIfd({}));
  EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Nikon");
  EXPECT_EQ(read.store.lstPosition.Row(row::kMake), "47");  // the third entry: 23 + 2 * 12
  ASSERT_EQ(read.store.lstUnuseTag.Count(), 2);
  EXPECT_EQ(read.store.lstUnuseTag.Row(0), "0100");
  EXPECT_EQ(read.store.lstUnuseTag.Row(1), "0100");
  EXPECT_EQ(read.store.lstUnuseValue.Row(0), "640");
  EXPECT_EQ(read.store.lstUnuseValue.Row(1), "480");
}

TEST_P(IfdWalker, ListsUncataloguedEntriesInFileOrderIfd0First) {
  ReadResult read =
      ReadTiff(TiffBuilder(Order())
                   .Ifd0({Short(0x0100, 640), Short(0x0101, 480), Ascii(0x010F, "Canon"),
                          Rational(0x011A, 72, 1)})
                   .ExifIfd({Undefined(0x9000, "0230"), Long(0xA002, 640), Short(0x8827, 100)}));
  const RecordStore& store = read.store;
  const std::vector<std::string> tags = {"0100", "0101", "011A", "9000", "A002"};
  const std::vector<std::string> values = {"640", "480", "72/1", "Hex:30323330", "640"};
  const std::vector<std::string> types = {"3", "3", "5", "7", "4"};
  ASSERT_EQ(store.lstUnuseTag.Count(), 5);
  ExpectUncataloguedParallel(store);
  for (int u = 0; u < 5; ++u) {
    SCOPED_TRACE(u);
    EXPECT_EQ(store.lstUnuseTag.Row(u), tags[u]);
    EXPECT_EQ(store.lstUnuseValue.Row(u), values[u]);
    EXPECT_EQ(store.lstUnuseType.Row(u), types[u]);
    EXPECT_EQ(store.lstUnuseCount.Row(u), u == 3 ? "4" : "1");
  }
  // IFD0 entries lie 12 bytes apart from 23; the value position of an inline
  // SHORT is its whole value field, whose number depends on the byte order.
  EXPECT_EQ(store.lstUnusePos.Row(0), "23");
  EXPECT_EQ(store.lstUnusePos.Row(1), "35");
  EXPECT_EQ(store.lstUnusePos.Row(2), "59");
  EXPECT_EQ(store.lstUnuseValuePos.Row(0), Pick("652", std::to_string(13 + (640 << 16) - 1)));
  EXPECT_LT(std::stoll(store.lstUnusePos.Row(2)), std::stoll(store.lstUnusePos.Row(3)));
  EXPECT_LT(std::stoll(store.lstUnusePos.Row(3)), std::stoll(store.lstUnusePos.Row(4)));
}

TEST_P(IfdWalker, AnIfd0TagInTheExifDirectoryIsRecordedButNotFetched) {
  ReadResult read = ReadTiff(
      TiffBuilder(Order())
          .Ifd0({Ascii(0x0110, "EOS 40D")})
          .ExifIfd({Ascii(0x0131, "Firmware 1.0"), Ascii(0x0110, "Other"), Short(0x8827, 100)}));
  const RecordStore& store = read.store;
  const std::int64_t exifIfd = std::stoll(store.lstValuePos.Row(row::kExifPointer)) + 1;
  // Software appears only in the Exif directory: position set, value empty.
  EXPECT_TRUE(store.Found(4));
  EXPECT_EQ(store.lstPosition.Row(4), std::to_string(exifIfd + 2));
  EXPECT_EQ(store.lstValue.Row(4), "");
  // Model's value was fetched from IFD0 before the Exif directory's entry
  // replaced its numbers.
  EXPECT_EQ(store.lstPosition.Row(3), std::to_string(exifIfd + 2 + 12));
  EXPECT_EQ(store.lstValue.Row(3), "EOS 40D");
  EXPECT_EQ(store.lstValue.Row(row::kIso), "100");
}

}  // namespace
}  // namespace tagloom::test
