#include "reader/read_channel.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "reader_test_support.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::AsBytes;

// Every reader test runs on a channel over memory and on one over a file.
enum class Source { kMemory, kFile };

class ChannelTest : public ::testing::TestWithParam<Source> {
 protected:
  ReadChannel Open(const std::string& bytes) {
    bytes_ = bytes;
    if (GetParam() == Source::kMemory) return ReadChannel(AsBytes(bytes_));
    std::optional<ReadChannel> channel = ReadChannel::OpenFile(dir_.Write("bytes.bin", bytes_));
    if (!channel) throw std::runtime_error("cannot open the test file");
    return std::move(*channel);
  }

 private:
  test::TempDir dir_;
  std::string bytes_;
};

std::string SourceName(const ::testing::TestParamInfo<Source>& source) {
  return source.param == Source::kMemory ? "Memory" : "File";
}

INSTANTIATE_TEST_SUITE_P(Sources, ChannelTest, ::testing::Values(Source::kMemory, Source::kFile),
                         SourceName);

TEST_P(ChannelTest, ReadHexWritesEachByteWithoutLeadingZero) {
  const struct {
    std::string bytes, hex;
  } cases[] = {
      {"\xFF\xD8", "FFD8"},
      {std::string("\0\0", 2), "00"},
      {"\x05\x10", "510"},
      {std::string("\0\x2A", 2), "02A"},
      {std::string("\x0A\0", 2), "A0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hex);
    ReadChannel channel = Open(c.bytes);
    EXPECT_EQ(channel.ReadHex(2), c.hex);
    EXPECT_EQ(channel.Position(), 3);
  }
}

TEST_P(ChannelTest, TagIntAndLongFollowTheBlocksByteOrderAndLengIgnoresIt) {
  const struct {
    std::string bytes;
    bool motorola;
    std::string tag;
    std::int32_t integer;
  } shorts[] = {
      {"\x01\x0F", true, "010F", 0x010F},
      {"\x01\x0F", false, "0F01", 0x0F01},
      {"\x0F\x01", false, "010F", 0x010F},
      {"\x87\x69", true, "8769", 0x8769},
      {"\x69\x87", false, "8769", 0x8769},
      {"\xFF\xFF", true, "FFFF", 65535},
      {"\xFF\xFF", false, "FFFF", 65535},
      {std::string("\0\x80", 2), false, "8000", 32768},
      {std::string("\0\x0A", 2), true, "000A", 10},
  };
  for (const auto& c : shorts) {
    SCOPED_TRACE(c.tag + (c.motorola ? " big" : " little"));
    ReadChannel channel = Open(c.bytes);
    channel.SetMotorolaOrder(c.motorola);
    EXPECT_EQ(channel.ReadTag(), c.tag);
    channel.Seek(1);
    EXPECT_EQ(channel.ReadInt(), c.integer);
    // The segment length is big-endian whatever the block says.
    channel.Seek(1);
    EXPECT_EQ(channel.ReadLeng(),
              static_cast<std::uint8_t>(c.bytes[0]) * 256 + static_cast<std::uint8_t>(c.bytes[1]));
  }
  for (bool motorola : {false, true}) {
    ReadChannel channel = Open(std::string("\0\x10", 2));
    channel.SetMotorolaOrder(motorola);
    EXPECT_EQ(channel.ReadLeng(), 16);
  }

  const struct {
    std::string bytes;
    bool motorola;
    std::int32_t value;
  } longs[] = {
      {"\xFF\xFF\xFF\xFF", false, -1},
      {"\xFF\xFF\xFF\xFF", true, -1},
      {std::string("\0\0\0\x80", 4), false, INT32_MIN},
      {std::string("\x80\0\0\0", 4), true, INT32_MIN},
      {std::string("\x08\0\0\0", 4), false, 8},
      {std::string("\x08\0\0\0", 4), true, 134217728},
      {"\x12\x34\x56\x78", true, 0x12345678},
      {"\x12\x34\x56\x78", false, 0x78563412},
  };
  for (const auto& c : longs) {
    SCOPED_TRACE(testing::Message() << c.value << (c.motorola ? " big" : " little"));
    ReadChannel channel = Open(c.bytes);
    channel.SetMotorolaOrder(c.motorola);
    EXPECT_EQ(channel.ReadLong(), c.value);
  }
}

TEST_P(ChannelTest, PositionsAreOneBasedAndEachReaderMovesPastWhatItRead) {
  ReadChannel channel =
      Open(std::string("\xFF\xD8\x01\x0F\x00\x10\x64\x00\x08\x00\x00\x00"
                       "Exif!",
                       17));
  EXPECT_EQ(channel.Position(), 1);
  EXPECT_EQ(channel.ReadHex(2), "FFD8");
  EXPECT_EQ(channel.Position(), 3);
  EXPECT_EQ(channel.ReadTag(), "0F01");
  EXPECT_EQ(channel.Position(), 5);
  EXPECT_EQ(channel.ReadLeng(), 16);
  EXPECT_EQ(channel.Position(), 7);
  EXPECT_EQ(channel.ReadInt(), 100);
  EXPECT_EQ(channel.Position(), 9);
  EXPECT_EQ(channel.ReadLong(), 8);
  EXPECT_EQ(channel.Position(), 13);
  EXPECT_EQ(channel.ReadString(4), "Exif");
  EXPECT_EQ(channel.Position(), 17);
  EXPECT_EQ(channel.ReadByte(), '!');
  EXPECT_EQ(channel.Position(), 18);
  EXPECT_FALSE(channel.ReadOutside());

  channel.Seek(13);
  EXPECT_EQ(channel.ReadString(2), "Ex");
  channel.Seek(1);
  EXPECT_EQ(channel.ReadByte(), 0xFF);
}

TEST_P(ChannelTest, CountsOfZeroOrLessReadNothingAndDoNotMove) {
  ReadChannel channel = Open("Exif");
  channel.Seek(2);
  EXPECT_EQ(channel.ReadString(0), "");
  EXPECT_EQ(channel.ReadString(-1), "");
  EXPECT_EQ(channel.ReadString(INT32_MIN), "");
  EXPECT_EQ(channel.ReadHex(0), "");
  EXPECT_EQ(channel.ReadHex(-1), "");
  EXPECT_EQ(channel.Position(), 2);
  EXPECT_FALSE(channel.ReadOutside());
  // Nothing read, so even a position outside the file is no read outside it.
  channel.Seek(100);
  EXPECT_EQ(channel.ReadString(0), "");
  EXPECT_FALSE(channel.ReadOutside());
}

TEST_P(ChannelTest, ReadsOutsideTheFileFindZerosAndAreRemembered) {
  const std::string bytes = "\x11\x22\x33\x44";
  {
    ReadChannel channel = Open(bytes);
    channel.Seek(1);
    EXPECT_EQ(channel.ReadLong(), 0x44332211);  // ends on the last byte: still inside
    EXPECT_FALSE(channel.ReadOutside());
    EXPECT_EQ(channel.ReadByte(), 0);
    EXPECT_TRUE(channel.ReadOutside());
    EXPECT_EQ(channel.Position(), 6);
  }
  const struct {
    std::int64_t position;
    std::int32_t littleLong;
  } longs[] = {
      {4, 0x44},          // the last byte, then three beyond the end
      {0, 0x33221100},    // one byte before the start
      {-2, 0x1100'0000},  // three before the start
      {-100, 0},         {5, 0}, {1'000'000, 0}, {INT32_MAX, 0}, {std::int64_t{1} << 40, 0},
  };
  for (const auto& c : longs) {
    SCOPED_TRACE(c.position);
    ReadChannel channel = Open(bytes);
    channel.Seek(c.position);
    EXPECT_EQ(channel.ReadLong(), c.littleLong);
    EXPECT_TRUE(channel.ReadOutside());
    EXPECT_EQ(channel.Position(), c.position + 4);
  }
  ReadChannel channel = Open(bytes);
  channel.SetMotorolaOrder(true);
  channel.Seek(4);
  EXPECT_EQ(channel.ReadHex(3), "4400");
  channel.Seek(4);
  EXPECT_EQ(channel.ReadTag(), "4400");
  channel.Seek(0);
  EXPECT_EQ(channel.ReadInt(), 0x11);
  channel.Seek(4);
  EXPECT_EQ(channel.ReadLeng(), 0x4400);
}

TEST_P(ChannelTest, ReadStringGivesOnlyTheBytesInsideTheFile) {
  ReadChannel channel = Open("\x11\x22\x33\x44");
  channel.Seek(3);
  EXPECT_EQ(channel.ReadString(INT32_MAX), "\x33\x44");
  EXPECT_EQ(channel.Position(), 3 + std::int64_t{INT32_MAX});
  EXPECT_TRUE(channel.ReadOutside());

  channel.Seek(-1);
  EXPECT_EQ(channel.ReadString(4), "\x11\x22");  // positions -1 and 0 hold nothing
  channel.Seek(-1);
  EXPECT_EQ(channel.ReadString(INT32_MAX), "\x11\x22\x33\x44");
  channel.Seek(5);
  EXPECT_EQ(channel.ReadString(5), "");
  channel.Seek(std::int64_t{UINT32_MAX});
  EXPECT_EQ(channel.ReadString(INT32_MAX), "");
  channel.Seek(INT32_MIN);
  EXPECT_EQ(channel.ReadString(INT32_MAX), "");
}

TEST(ReadChannelFile, OpensOnlyRegularFilesThatExist) {
  test::TempDir dir;
  EXPECT_FALSE(ReadChannel::OpenFile(dir.Path().string()));
  EXPECT_FALSE(ReadChannel::OpenFile(dir.File("missing.jpg")));
  EXPECT_FALSE(ReadChannel::OpenFile(""));

  std::optional<ReadChannel> empty = ReadChannel::OpenFile(dir.Write("empty.jpg", ""));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->Length(), 0);
  EXPECT_EQ(empty->ReadLong(), 0);
  EXPECT_EQ(empty->ReadString(10), "");
  EXPECT_TRUE(empty->ReadOutside());
  EXPECT_FALSE(empty->Failed());
}

// The file channel holds a 16 KiB window of the file: reads larger than the
// window, reads across its edges and reads that go backwards must give the
// same bytes as a channel over the whole file in memory.
TEST(ReadChannelFile, AgreesWithMemoryAcrossAndBeyondItsWindow) {
  constexpr std::int64_t kWindow = 16 * 1024;
  std::mt19937 random(20240611);
  std::string bytes(100'003, '\0');
  for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
  test::TempDir dir;
  std::optional<ReadChannel> file = ReadChannel::OpenFile(dir.Write("big.jpg", bytes));
  ASSERT_TRUE(file);
  ReadChannel memory(AsBytes(bytes));
  ASSERT_EQ(file->Length(), memory.Length());

  auto same = [&](std::int64_t position, std::int64_t count) {
    SCOPED_TRACE(testing::Message() << "position " << position << ", count " << count);
    file->Seek(position);
    memory.Seek(position);
    std::string fromFile = file->ReadString(count);
    ASSERT_EQ(fromFile, memory.ReadString(count));
    ASSERT_EQ(file->Position(), memory.Position());
    file->Seek(position);
    memory.Seek(position);
    ASSERT_EQ(file->ReadLong(), memory.ReadLong());
    ASSERT_EQ(file->ReadOutside(), memory.ReadOutside());
  };

  same(1, static_cast<std::int64_t>(bytes.size()));  // the whole file in one read
  for (std::int64_t edge : {kWindow, 2 * kWindow, kWindow - 256, kWindow + 256}) {
    for (std::int64_t p = edge - 4; p <= edge + 4; ++p) same(p, 7);
  }
  // Around the size at which a read bypasses the window.
  for (std::int64_t count : {kWindow - 257, kWindow - 256, kWindow - 255, kWindow, kWindow + 1}) {
    same(3000, count);
    same(3001 + count, 5);  // right after it, through the window again
  }
  // Backwards, as a directory walk goes back to fetch values.
  for (std::int64_t p = 90'000; p > 100; p -= 7'777) same(p, 300);
  same(static_cast<std::int64_t>(bytes.size()) - 2, 10);  // across the end
  for (int i = 0; i < 2'000; ++i) {
    std::int64_t position = static_cast<std::int64_t>(random() % (bytes.size() + 200)) - 100;
    std::int64_t count = 1 + static_cast<std::int64_t>(random() % (i % 10 == 0 ? 40'000 : 64));
    same(position, count);
  }
  EXPECT_FALSE(file->Failed());
}

}  // namespace
}  // namespace tagloom
