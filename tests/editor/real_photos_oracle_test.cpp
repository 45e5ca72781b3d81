// Every photograph in tests/photos read as the editor reads it, each catalogued
// row compared with what exiftool (-n) reads from the same file.

#include <cmath>

#include "editor/editor_support.h"
#include "model/number_text.h"
#include "model/hex_text.h"

namespace tagloom {
namespace {

std::uint32_t Number(std::string_view bytes, bool motorola) {
  std::uint32_t n = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    n = n << 8 | static_cast<std::uint8_t>(bytes[motorola ? i : bytes.size() - 1 - i]);
  }
  return n;
}

// Entry `id` of IFD0 (or of the directory the Exif pointer gives, whatever the
// pointer's type), read straight from the file: its type and value bytes.
struct FileEntry {
  int type;
  std::string bytes;
};
std::optional<FileEntry> EntryInFile(const std::string& file, int id, bool inExif) {
  const std::size_t tiff = file.find(std::string("Exif\0\0", 6)) + 6;
  const bool mm = file.at(tiff) == 'M';
  auto at = [&](std::size_t pos, std::size_t size) {
    return Number(std::string_view(file).substr(pos, size), mm);
  };
  auto find = [&](std::size_t dir, int tag) -> std::size_t {  // the entry's position, or 0
    for (std::size_t k = 0, n = at(dir, 2); k < n; ++k) {
      if (at(dir + 2 + 12 * k, 2) == static_cast<std::uint32_t>(tag)) return dir + 2 + 12 * k;
    }
    return 0;
  };
  std::size_t entry = find(tiff + at(tiff + 4, 4), inExif ? 0x8769 : id);
  if (inExif && entry != 0) entry = find(tiff + at(entry + 8, 4), id);
  if (entry == 0) return std::nullopt;
  static const int kSize[] = {0, 1, 1, 2, 4, 8, 0, 1, 0, 4, 8};
  const int type = static_cast<int>(at(entry + 2, 2));
  const std::size_t size = at(entry + 4, 4) * kSize[type];
  return FileEntry{type, file.substr(size <= 4 ? entry + 8 : tiff + at(entry + 8, 4), size)};
}

class RealPhoto : public ::testing::TestWithParam<std::string> {};

TEST_P(RealPhoto, CataloguedRowsAgreeWithExiftool) {
  const std::string path = (test::PhotosDir() / GetParam()).string();
  test::RecordingHost host;
  Session session(host);
  session.GetExifData(path);
  const RecordStore& store = session.store;
  const std::vector<test::ExiftoolTag> tags = test::ExiftoolTags(path);
  ASSERT_FALSE(tags.empty()) << "exiftool did not read " << path;
  const std::optional<test::ExiftoolTag> order = test::FindTag(tags, "File", "ExifByteOrder");
  EXPECT_EQ(session.ExifLoaded, !test::WithoutExif(GetParam()));
  EXPECT_EQ(session.labNoExif.visible, test::WithoutExif(GetParam()));
  EXPECT_TRUE(host.messages.empty());
  ASSERT_EQ(session.ExifLoaded, order.has_value());
  if (!order) return;
  const bool mm = session.block.MotorolaOrder;
  EXPECT_EQ(mm, order->value == "MM");

  // exiftool prints no value for the Exif pointer and the maker note, decodes
  // a comment Tagloom shows in hex, and does not follow a pointer
  // declared ASCII (30-type_error.jpg), which Tagloom does: these rows are
  // compared with the file's own bytes.
  const bool asciiPointer = store.lstType.Row(row::kExifPointer) == "2";
  const std::string file = test::ReadFile(path);
  for (int r = 0; r < kCatalogueRows; ++r) {
    const int id = std::stoi(std::string(kCatalogue[static_cast<std::size_t>(r)].tag), nullptr, 16);
    const bool inExif = r > row::kLastIfd0Row;
    const std::string value = store.lstValue.Row(r);
    SCOPED_TRACE("row " + std::to_string(r) + ": " + value);
    if (r == row::kExifPointer || r == row::kMakerNote || (asciiPointer && inExif) ||
        value.starts_with(kHexPrefix)) {
      const std::optional<FileEntry> entry = EntryInFile(file, id, inExif);
      ASSERT_EQ(store.Found(r), entry.has_value());
      if (!entry) continue;
      std::string bytes = entry->bytes;
      switch (entry->type) {
        case 2:
          std::erase(bytes, '\0');
          EXPECT_EQ(value, bytes);  // the bytes as they are
          break;
        case 7:
          EXPECT_EQ(value, std::string(kHexPrefix) + HexDigits(bytes));
          break;
        default:
          EXPECT_EQ(value, IntegerText(Number(bytes, mm)));
      }
      continue;
    }
    const std::optional<test::ExiftoolTag> tag =
        test::FindTag(tags, inExif ? "ExifIFD" : "IFD0", id);
    ASSERT_EQ(store.Found(r), tag.has_value());
    if (!tag) continue;
    const std::string type = store.lstType.Row(r);
    if (type == "5" || type == "10") {
      const std::size_t slash = value.find('/');
      const double n = std::stod(value.substr(0, slash)), d = std::stod(value.substr(slash + 1));
      if (d == 0) {
        EXPECT_EQ(tag->value, n == 0 ? "undef" : n > 0 ? "inf" : "-inf");
      } else {
        EXPECT_NEAR(n / d, std::stod(tag->value), 1e-9 * std::fabs(n / d));  // ten digits
      }
    } else {
      // exiftool drops the blanks around a text (Casio's "EX-S1  "); Tagloom keeps them.
      EXPECT_EQ(TrimBlanks(value), TrimBlanks(tag->value));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Photos, RealPhoto, ::testing::ValuesIn(test::PhotoNames()),
                         test::ParamName);

TEST(RealPhotos, AllSixteenArePresent) { EXPECT_GE(test::PhotoNames().size(), 16u); }

}  // namespace
}  // namespace tagloom
