#include "reader/read_channel.h"

#include <gtest/gtest.h>

#include <random>

#include "reader_test_support.h"
#include "support/temp_dir.h"

namespace tagloom::test {
namespace {

// The file channel holds a window of the file: reads larger than it,
// across its edges and backwards must give what a channel over memory gives.
TEST(ReadChannel, FileAgreesWithMemoryAcrossAndBeyondItsWindow) {
  std::mt19937 random(20240611);
  std::string bytes(100'003, '\0');
  for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
  TempDir dir;
  EXPECT_FALSE(ReadChannel::OpenFile(dir.Path().string()));  // a folder is no photograph
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
  for (int i = 0; i < 2'000; ++i) {
    std::int64_t position = static_cast<std::int64_t>(random() % (bytes.size() + 200)) - 100;
    same(position, 1 + static_cast<std::int64_t>(random() % (i % 10 == 0 ? 40'000 : 64)));
  }
  EXPECT_FALSE(file->Failed());
}

}  // namespace
}  // namespace tagloom::test
