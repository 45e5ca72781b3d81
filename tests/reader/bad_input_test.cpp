// Damaged and hostile input: none of it may crash, hang or make the reader
// hold more than the file could. The test build runs under ASan and UBSan.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "reader/exif_block.h"
#include "reader_test_support.h"
#include "support/temp_dir.h"

namespace tagloom::test {
namespace {

class BadInput : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(BadInput);

// What a prefix of a file must have in common with the whole: every entry it
// recorded lies whole inside the prefix, so it was recorded the same way.
void ExpectRecordedAsInWhole(const RecordStore& part, const RecordStore& whole) {
  for (int r = 0; r < kCatalogueRows; ++r) {
    if (!part.Found(r)) continue;
    SCOPED_TRACE(r);
    EXPECT_EQ(part.lstPosition.Row(r), whole.lstPosition.Row(r));
    EXPECT_EQ(part.lstValuePos.Row(r), whole.lstValuePos.Row(r));
    EXPECT_EQ(part.lstType.Row(r), whole.lstType.Row(r));
    EXPECT_EQ(part.lstCount.Row(r), whole.lstCount.Row(r));
  }
  ExpectUncataloguedParallel(part);
  ASSERT_LE(part.lstUnuseTag.Count(), whole.lstUnuseTag.Count());
  for (int u = 0; u < part.lstUnuseTag.Count(); ++u) {
    SCOPED_TRACE(u);
    EXPECT_EQ(part.lstUnuseTag.Row(u), whole.lstUnuseTag.Row(u));
    EXPECT_EQ(part.lstUnusePos.Row(u), whole.lstUnusePos.Row(u));
    EXPECT_EQ(part.lstUnuseValuePos.Row(u), whole.lstUnuseValuePos.Row(u));
  }
}

TEST_P(BadInput, EveryPrefixOfABlockReadsWithoutHarm) {
  const std::string jpeg =
      JpegBuilder()
          .App0Jfif()
          .App1Exif(
              TiffBuilder(Order())
                  .Ifd0({Ascii(0x010F, "Canon"), Ascii(0x0110, "EOS"), Short(0x0100, 640),
                         AsciiRaw(0x8298, "ab")})
                  .ExifIfd({Rational(0x829A, 1, 60), SRational(0x9204, -1, 3),
                            Undefined(0x9286, std::string("ASCII\0\0\0hi", 10)),
                            Undefined(0x927C, std::string(300, '\x7F')), SLongs(0xA500, {-7, 9}),
                            Ascii(0xA420, "unique"), Short(0x8827, 100)})
                  .Build())
          .Build();
  const ReadResult whole = ReadPhoto(jpeg);
  ASSERT_TRUE(whole.exifIfdRead);
  ASSERT_EQ(whole.store.lstValue.Row(row::kIso), "100");
  for (std::size_t n = 0; n <= jpeg.size(); ++n) {
    SCOPED_TRACE(n);
    const std::string prefix = jpeg.substr(0, n);
    const ReadResult part = ReadPhoto(prefix);
    // The segment is found once its signature is in: 20 + FF E1, length, "Exif" 00 00.
    ASSERT_EQ(part.segment.has_value(), n >= 30);
    ExpectRecordedAsInWhole(part.store, whole.store);
  }
}

TEST_P(BadInput, OffsetsAndCountsThatPointAnywhere) {
  const struct {
    const char* what;
    Entry entry;
    std::string value;  // "*" when any text will do
  } cases[] = {
      {"RATIONAL far beyond the end", Raw(0x829A, 5, 1, 0x7FFFFFF0), "0/0"},
      {"RATIONAL before the start", Raw(0x829A, 5, 1, 0xFFFFFFF0), "*"},
      {"RATIONAL at the lowest offset", Raw(0x829A, 5, 1, 0x80000000), "0/0"},
      {"ASCII of 0x7FFFFFFF bytes far beyond the end", Raw(0xA420, 2, 0x7FFFFFFF, 0x7FFFFFF0), ""},
      {"ASCII with a negative count", Raw(0xA420, 2, 0x80000000, 0x10), ""},
      {"UNDEFINED with a negative count", Raw(0x9286, 7, 0xFFFFFFFF, 0x10), "Hex:"},
      {"UNDEFINED of 0xFFFFFFF0 bytes", Raw(0x9286, 7, 0xFFFFFFF0, 0x10), "Hex:"},
      {"SLONGs far beyond the end", Raw(0xA500, 9, 0x7FFFFFFF, 0x7FFFFFF0), "0"},
      {"SLONGs before the start", Raw(0xA500, 9, 2, 0x80000000), "0"},
      {"type and tag FFFF", Raw(0xFFFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ReadResult read = ReadTiff(TiffBuilder(Order()).ExifIfd({c.entry, Short(0x8827, 100)}));
    ASSERT_TRUE(read.exifIfdRead);
    if (c.value != "*") {
      EXPECT_EQ(ValueOf(read.store, c.entry.tag), c.value);
    }
    // The entry after it is read as usual.
    EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100");
  }

  // Texts that claim 2^31 - 1 bytes get what the file has from where they start.
  const std::string jpeg = JpegBuilder()
                               .App1Exif(TiffBuilder(Order())
                                             .ExifIfd({Raw(0xA420, 2, 0x7FFFFFFF, 0),
                                                       Raw(0x9286, 7, 0x7FFFFFFF, 0xFFFFFFF0)})
                                             .Build())
                               .Build();
  ReadResult read = ReadPhoto(jpeg);
  // From the TIFF header (1-based 13) to the end, NULs dropped.
  EXPECT_EQ(read.store.lstValue.Row(row::kUserComment).size(), 4 + 2 * jpeg.size());
  EXPECT_TRUE(read.store.lstValue.Row(row::kUserComment).starts_with("Hex:FFD8FFE1"));
  const std::string ascii = ValueOf(read.store, 0xA420);
  EXPECT_TRUE(ascii.starts_with(Pick("II*", "MM*"))) << ascii;
  EXPECT_TRUE(read.readOutside);
}

TEST_P(BadInput, DirectoriesThatAreNotWhereTheyClaim) {
  const TiffBuilder block = TiffBuilder(Order())
                                .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640)})
                                .ExifIfd({Short(0x8827, 100)});
  for (std::uint32_t offset : {0xFFFFFFF0u, 0x7FFFFFFFu, 0x80000000u, 0x10000u}) {
    SCOPED_TRACE(offset);
    ReadResult read = ReadTiff(TiffBuilder(block).Ifd0OffsetOverride(offset));
    EXPECT_EQ(read.layout.Ifd0EntryCount, 0);
    EXPECT_FALSE(read.exifIfdRead);
    EXPECT_EQ(Rows(read.store), ResetRows());
    EXPECT_TRUE(read.readOutside);
  }
  for (std::uint32_t pointer : {0xFFFFFFF0u, 0x7FFFFFFFu, 0x80000000u, 0x10000u}) {
    SCOPED_TRACE(pointer);
    ReadResult read = ReadTiff(TiffBuilder(block).PointerTo(pointer));
    EXPECT_TRUE(read.exifIfdRead);
    EXPECT_EQ(read.layout.ExifIfdEntryCount, 0);
    EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
    EXPECT_FALSE(read.store.Found(row::kIso));
  }
  {
    // The Exif pointer leads back to IFD0, whose entries are then read twice.
    ReadResult read = ReadTiff(TiffBuilder(block).PointerTo(8));
    EXPECT_TRUE(read.exifIfdRead);
    EXPECT_EQ(read.layout.ExifIfdEntryCount, read.layout.Ifd0EntryCount);
    EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
    EXPECT_EQ(read.store.lstValue.Row(row::kExifPointer), "8");
    ASSERT_EQ(read.store.lstUnuseTag.Count(), 2);
    EXPECT_EQ(read.store.lstUnusePos.Row(0), read.store.lstUnusePos.Row(1));
    EXPECT_EQ(read.store.lstUnuseValue.Row(1), "640");
  }
  {
    // Pointing at the TIFF header, its "II" or "MM" is taken as an entry count.
    ReadResult read = ReadTiff(TiffBuilder(block).PointerTo(0));
    EXPECT_EQ(read.layout.ExifIfdEntryCount, Big() ? 0x4D4D : 0x4949);
    EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
    ExpectUncataloguedParallel(read.store);
  }
}

TEST_P(BadInput, EntryCountsBeyondTheFile) {
  ReadResult read = ReadTiff(TiffBuilder(Order())
                                 .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640)})
                                 .Ifd0CountOverride(0xFFFF)
                                 .ExifIfd({Short(0x8827, 100)})
                                 .ExifCountOverride(0xFFFF));
  EXPECT_EQ(read.layout.Ifd0EntryCount, 65535);
  EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
  EXPECT_EQ(read.store.lstUnuseValue.Row(0), "640");
  ExpectUncataloguedParallel(read.store);
  // Both walks run on to the end of the file, recording only whole entries.
  const std::int64_t fileSize = 2 + read.segment->size;
  EXPECT_GT(read.store.lstUnuseTag.Count(), 1);
  for (int u = 0; u < read.store.lstUnuseTag.Count(); ++u) {
    EXPECT_LE(std::stoll(read.store.lstUnusePos.Row(u)) - 1 + 12, fileSize);
  }
}

// An IFD0 that really holds 65,535 entries: the uncatalogued lists stop at
// 32,767 rows, together, while catalogued tags are still recorded.
TEST_P(BadInput, UncataloguedListsStopAt32767Rows) {
  std::vector<Entry> entries;
  for (int i = 0; i < 65'534; ++i) entries.push_back(Short(0x0100, static_cast<std::uint16_t>(i)));
  const std::string tiff = TiffBuilder(Order())
                               .Ifd0(std::move(entries))  // and the Exif pointer last
                               .ExifIfd({Short(0x0101, 1), Short(0x8827, 100)})
                               .Build();
  ReadResult read = ReadPhoto(JpegBuilder().App1ExifOversized(tiff).Build());
  EXPECT_EQ(read.layout.Ifd0EntryCount, 65535);
  EXPECT_EQ(read.layout.ExifIfdEntryCount, 2);
  ASSERT_EQ(read.store.lstUnuseTag.Count(), TextList::kMaxRows);
  ExpectUncataloguedParallel(read.store);
  EXPECT_EQ(read.store.lstUnuseValue.Row(0), "0");
  EXPECT_EQ(read.store.lstUnuseValue.Row(TextList::kMaxRows - 1), "32766");
  EXPECT_EQ(read.store.lstUnusePos.Row(TextList::kMaxRows - 1),
            std::to_string(23 + 12 * (TextList::kMaxRows - 1)));
  EXPECT_TRUE(read.store.Found(row::kExifPointer));
  EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100");
}

// Entries that all claim 2^31 - 1 bytes of text over one long stretch of the
// file: the read ends, and the block holds at most 1 MiB of value text.
TEST_P(BadInput, ValueBytesOfOneBlockAreCapped) {
  constexpr std::uint32_t kEntries = 200;
  const std::string tail(600'000, 'A');
  // The tail follows the segment, whose TIFF block is just the directory.
  const std::uint32_t tailOffset = 8 + 2 + 12 * kEntries + 4;
  std::vector<Entry> entries;
  for (std::uint32_t i = 0; i < kEntries; ++i) {
    entries.push_back(Raw(static_cast<std::uint16_t>(0x1000 + i), 2, 0x7FFFFFFF, tailOffset));
  }
  const std::string tiff = TiffBuilder(Order()).Ifd0(std::move(entries)).Build();
  ASSERT_EQ(tiff.size(), tailOffset);
  ReadResult read = ReadPhoto(JpegBuilder().App1Exif(tiff).Raw(tail).Build());
  ASSERT_EQ(read.store.lstUnuseValue.Count(), static_cast<int>(kEntries));
  EXPECT_EQ(read.store.lstUnuseValue.Row(0), tail);  // read whole, up to the end of the file
  std::size_t total = 0;
  for (int u = 0; u < read.store.lstUnuseValue.Count(); ++u) {
    total += read.store.lstUnuseValue.Row(u).size();
  }
  EXPECT_LE(total, std::size_t{1} << 20);
  EXPECT_GT(total, tail.size());
}

TEST(BadInputFiles, EmptyFilesAndNonJpegsReadNothing) {
  for (const std::string& bytes :
       {std::string(), std::string("\xFF"), std::string("GIF89a\x01\0\x01\0", 10),
        std::string(1000, '\0'), std::string(1000, '\xFF')}) {
    SCOPED_TRACE(bytes.size());
    ReadChannel channel(AsBytes(bytes));
    EXPECT_FALSE(FindExifSegment(channel));
    // Even read as though a marker had just been found.
    channel.Seek(3);
    RecordStore store;
    store.Reset();
    ExifBlockLayout layout;
    EXPECT_FALSE(ReadExifDataFromFile(channel, store, layout));
    EXPECT_EQ(Rows(store), ResetRows());
  }
  TempDir dir;
  std::optional<ReadChannel> empty = ReadChannel::OpenFile(dir.Write("empty.jpg", ""));
  ASSERT_TRUE(empty);
  EXPECT_FALSE(FindExifSegment(*empty));
}

// Every prefix of two real photographs (one of each byte order) is read as a
// whole file would be, without harm.
struct Photo {
  const char* file;
  const char* make;
  friend void PrintTo(const Photo& photo, std::ostream* out) { *out << photo.file; }
};

class EveryPrefix : public ::testing::TestWithParam<Photo> {};

std::string PhotoName(const ::testing::TestParamInfo<Photo>& photo) {
  std::string name(photo.param.file);
  return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Photos, EveryPrefix,
                         ::testing::Values(Photo{"Canon_40D.jpg", "Canon"},
                                           // The camera pads its Make with a space.
                                           Photo{"Konica_Minolta_DiMAGE_Z3.jpg",
                                                 "KONICA MINOLTA "}),
                         PhotoName);

TEST_P(EveryPrefix, OfARealPhotographReadsAsTheWholeUpToWhereItEnds) {
  const std::string bytes = ReadFile((PhotosDir() / GetParam().file).string());
  ASSERT_FALSE(bytes.empty());
  const ReadResult whole = ReadPhoto(bytes);
  ASSERT_TRUE(whole.segment);
  ASSERT_TRUE(whole.exifIfdRead);
  EXPECT_EQ(whole.store.lstValue.Row(row::kMake), GetParam().make);
  EXPECT_FALSE(whole.readOutside);
  const std::int64_t signatureEnd = whole.segment->offset + 10;
  const std::int64_t segmentEnd = whole.segment->offset + whole.segment->size;
  const auto wholeRows = Rows(whole.store);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    // A buffer of its own, so that ASan sees any read past its end.
    const std::string prefix = bytes.substr(0, n);
    const ReadResult part = ReadPhoto(prefix);
    const auto length = static_cast<std::int64_t>(n);
    ASSERT_EQ(part.segment.has_value(), length >= signatureEnd) << "prefix " << n;
    ASSERT_NO_FATAL_FAILURE(ExpectRecordedAsInWhole(part.store, whole.store)) << "prefix " << n;
    if (length >= segmentEnd) {
      ASSERT_EQ(Rows(part.store), wholeRows) << "prefix " << n;
    }
    if (HasFailure()) FAIL() << "prefix " << n;
  }
}

}  // namespace
}  // namespace tagloom::test
