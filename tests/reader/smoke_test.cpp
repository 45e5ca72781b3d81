#include <gtest/gtest.h>

#include "reader/exif_block.h"
#include "reader/jpeg_segments.h"
#include "support/fixture_builder.h"

namespace tagloom {
namespace {

using test::ByteOrder;

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(ReaderSmoke, ReadsABuiltBlockInBothByteOrders) {
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    std::string jpeg = test::JpegBuilder()
                           .App0Jfif()
                           .App1Exif(test::TiffBuilder(order)
                                         .Ifd0({test::Ascii(0x010F, "Canon")})
                                         .ExifIfd({test::Short(0x8827, 100),
                                                   test::Rational(0x829A, 1, 60)})
                                         .Build())
                           .Scan()
                           .Build();
    ReadChannel channel(Bytes(jpeg));
    auto segment = FindExifSegment(channel);
    ASSERT_TRUE(segment);
    EXPECT_EQ(segment->offset, 20);
    channel.Seek(segment->offset + 3);
    RecordStore store;
    store.Reset();
    ExifBlockLayout layout;
    ASSERT_TRUE(ReadExifDataFromFile(channel, store, layout));
    EXPECT_EQ(store.lstValue.Row(row::kMake), "Canon");
    EXPECT_EQ(store.lstValue.Row(row::kIso), "100");
    EXPECT_EQ(store.lstValue.Row(row::kExposureTime), "1/60");
    EXPECT_EQ(layout.MotorolaOrder, order == ByteOrder::kBig);
  }
}

}  // namespace
}  // namespace tagloom
