// Damaged and hostile input must not crash, hang or make the reader hold more
// than the file could, nor read outside it; the test build runs under ASan and
// UBSan.
#include <gtest/gtest.h>

#include <random>

#include "reader/read_channel.h"
#include "reader_test_support.h"
#include "support/temp_dir.h"

namespace tagloom::test {
namespace {

// Every prefix of a file finds the segment once its signature is in, records
// every entry that lies whole inside it as the whole file does, and reads the
// whole file's rows, and what a keep-all write carries, once the segment is
// complete.
void ExpectEveryPrefixReadsAsTheWhole(const std::string& bytes) {
  const ReadResult whole = ReadPhoto(bytes);
  ASSERT_TRUE(whole.exifIfdRead);
  EXPECT_FALSE(whole.readOutside);
  const AllRows wholeRows = Rows(whole.store);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const ReadResult part = ReadPhoto(bytes.substr(0, n));  // a buffer of its own, for ASan
    const auto length = static_cast<std::int64_t>(n);
    ASSERT_EQ(part.segment.has_value(), length >= whole.segment->offset + 10) << n;
    const AllRows rows = Rows(part.store);
    if (length >= whole.segment->offset + whole.segment->size) {
      ASSERT_EQ(rows, wholeRows) << n;
      for (std::size_t d = 0; d < kBlockDirectories; ++d) {
        ASSERT_EQ(Texts(part.carried.directories[d]), Texts(whole.carried.directories[d])) << n;
      }
      ASSERT_EQ(part.carried.thumbnail.bytes, whole.carried.thumbnail.bytes) << n;
      continue;
    }
    for (int r = 0; r < kCatalogueRows; ++r) {
      if (!part.store.Found(r)) continue;
      for (std::size_t list : {0u, 2u, 3u, 4u}) ASSERT_EQ(rows[list][r], wholeRows[list][r]) << n;
    }
    for (std::size_t i = 6; i < rows.size(); ++i) ASSERT_EQ(rows[i].size(), rows[5].size()) << n;
    ASSERT_LE(rows[5].size(), wholeRows[5].size()) << n;
    for (std::size_t u = 0; u < rows[5].size(); ++u) {
      for (std::size_t list : {5u, 6u, 7u}) ASSERT_EQ(rows[list][u], wholeRows[list][u]) << n;
    }
  }
}

class BadInput : public EachByteOrder {};
TAGLOOM_BOTH_BYTE_ORDERS(BadInput);

TEST_P(BadInput, EveryPrefixOfABlockReadsWithoutHarm) {
  ExpectEveryPrefixReadsAsTheWhole(
      JpegBuilder()
          .App0Jfif()
          .App1Exif(TiffBuilder(Order())
                        .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640), AsciiRaw(0x8298, "ab")})
                        .ExifIfd({Rational(0x829A, 1, 60), SRational(0x9204, -1, 3),
                                  Undefined(0x927C, std::string(300, '\x7F')),
                                  SLongs(0xA500, {-7, 9}), Short(0x8827, 100)})
                        .Build())
          .Build());
}

// Two real photographs, one of each byte order: slow under ASan, but required.
TEST(BadInputPhotos, EveryPrefixOfARealPhotographReadsWithoutHarm) {
  for (const char* name : {"Canon_40D.jpg", "Konica_Minolta_DiMAGE_Z3.jpg"}) {
    SCOPED_TRACE(name);
    ExpectEveryPrefixReadsAsTheWhole(ReadFile((PhotosDir() / name).string()));
  }
}

TEST_P(BadInput, OffsetsAndCountsThatPointAnywhere) {
  for (const auto& [entry, value] : std::initializer_list<std::pair<Entry, std::string>>{
           {Raw(0x829A, 5, 1, 0x7FFFFFF0), "0/0"},
           {Raw(0x829A, 5, 1, 0x80000000), "0/0"},
           {Raw(0xA420, 2, 0x7FFFFFFF, 0x7FFFFFF0), ""},
           {Raw(0xA420, 2, 0x80000000, 0x10), ""},
           {Raw(0x9286, 7, 0xFFFFFFF0, 0x10), "Hex:"},
           {Raw(0xA500, 9, 2, 0x80000000), "0"},
           {Raw(0xA500, 9, 0x7FFFFFFF, 0x7FFFFFF0), "0"},
           {Raw(0xFFFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF), ""}}) {
    ReadResult read = ReadTiff(TiffBuilder(Order()).ExifIfd({entry, Short(0x8827, 100)}));
    EXPECT_EQ(ValueOf(read.store, entry.tag) + " " + read.store.lstValue.Row(row::kIso),
              value + " 100");
  }
}

TEST_P(BadInput, DirectoriesThatAreNotWhereTheyClaim) {
  const TiffBuilder block = TiffBuilder(Order())
                                .Ifd0({Ascii(0x010F, "Canon"), Short(0x0100, 640)})
                                .ExifIfd({Short(0x8827, 100)});
  for (const char* mark : {"IM", "ii", "MI"}) {
    EXPECT_EQ(Rows(ReadTiff(TiffBuilder(block).Place(0, mark)).store), ResetRows()) << mark;
  }
  for (std::uint32_t offset : {0xFFFFFFF0u, 0x7FFFFFFFu, 0x80000000u, 0x10000u}) {
    EXPECT_EQ(Rows(ReadTiff(TiffBuilder(block).Ifd0OffsetOverride(offset)).store), ResetRows());
    ReadResult read = ReadTiff(TiffBuilder(block).PointerTo(offset));
    EXPECT_EQ(read.layout.ExifIfdEntryCount, 0) << offset;
    EXPECT_FALSE(read.store.Found(row::kIso)) << offset;
    EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
  }
  // The Exif pointer leads back to IFD0, or to the header whose "II"/"MM" becomes a count.
  ReadResult read = ReadTiff(TiffBuilder(block).PointerTo(8));
  EXPECT_EQ(read.store.lstUnuseValue.Count(), 2);
  read = ReadTiff(TiffBuilder(block).PointerTo(0));
  EXPECT_EQ(read.layout.ExifIfdEntryCount, Big() ? 0x4D4D : 0x4949);
  ExpectUncataloguedParallel(read.store);
  // Counts of 65,535 run on to the end of the file.
  read = ReadTiff(TiffBuilder(block).Ifd0CountOverride(0xFFFF).ExifCountOverride(0xFFFF));
  EXPECT_EQ(read.store.lstValue.Row(row::kMake), "Canon");
  ExpectUncataloguedParallel(read.store);
}

// 65,534 entries that all claim 2^31 - 1 bytes of one long stretch: at most
// 1 MiB of value text, and the uncatalogued lists stop at 32,767 rows together.
TEST_P(BadInput, ValueBytesAndRowsOfOneBlockAreCapped) {
  const std::string tail(600'000, 'A');
  std::vector<Entry> entries;
  for (int i = 0; i < 65'534; ++i) {
    entries.push_back(Raw(static_cast<std::uint16_t>(0x1000 + i % 200), 2, 0x7FFFFFFF,
                          8 + 2 + 12 * 65'535 + 4 + 18));  // right after the Exif IFD
  }
  const std::string tiff =
      TiffBuilder(Order()).Ifd0(std::move(entries)).ExifIfd({Short(0x8827, 100)}).Build();
  ReadResult read = ReadPhoto(JpegBuilder().App1ExifOversized(tiff).Raw(tail).Build());
  EXPECT_EQ(read.layout.Ifd0EntryCount, 65535);
  ASSERT_EQ(read.store.lstUnuseTag.Count(), TextList::kMaxRows);
  ExpectUncataloguedParallel(read.store);
  EXPECT_EQ(read.store.lstValue.Row(row::kIso), "100");
  EXPECT_EQ(read.store.lstUnuseValue.Row(0), tail);
  std::size_t total = 0;
  const AllRows rows = Rows(read.store);
  for (const std::string& value : rows[8]) total += value.size();
  EXPECT_TRUE(total <= std::size_t{1} << 20 && total > tail.size()) << total;
}

// The file channel holds a window of the file: reads larger than it,
// across its edges and backwards must give what a channel over memory gives.
TEST(ReadChannel, FileAgreesWithMemoryAcrossAndBeyondItsWindow) {
  std::mt19937 random(20240611);
  std::string bytes(100'003, '\0');
  for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
  TempDir dir;
  EXPECT_FALSE(ReadChannel::OpenFile(dir.Path().string()));  // a folder is no photograph
  std::optional<ReadChannel> empty = ReadChannel::OpenFile(dir.Write("empty.jpg", ""));
  EXPECT_TRUE(empty && !FindExifSegment(*empty));  // an empty one is, and holds no block
  std::optional<ReadChannel> file = ReadChannel::OpenFile(dir.Write("big.jpg", bytes));
  ASSERT_TRUE(file);
  ReadChannel memory(AsBytes(bytes));
  auto same = [&](std::int64_t position, std::int64_t count) {
    file->Seek(position);
    memory.Seek(position);
    ASSERT_EQ(file->ReadString(count), memory.ReadString(count)) << position << " " << count;
    file->Seek(position);
    memory.Seek(position);
    ASSERT_EQ(file->ReadLong(), memory.ReadLong()) << position;
    ASSERT_EQ(file->ReadOutside(), memory.ReadOutside()) << position;
  };
  same(1, static_cast<std::int64_t>(bytes.size()));
  // The edges of any window whose size is a multiple of 4 KiB, and reads just
  // below and above the size at which a read bypasses such a window.
  for (std::int64_t k = 4096; k <= 32768; k += 4096) {
    for (std::int64_t d = -4; d <= 4; ++d) {
      same(k + d, 7);
      same(3000, k - 256 + d);
    }
  }
  for (std::int64_t p = 90'000; p > 100; p -= 7'777) same(p, 300);  // backwards
  for (std::int64_t p : {-100, -2, 99'998, 100'150}) same(p, 8);    // outside the file
  EXPECT_FALSE(file->Failed());
}

}  // namespace
}  // namespace tagloom::test
