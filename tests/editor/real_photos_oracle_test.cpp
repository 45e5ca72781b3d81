// Every real photograph in tests/photos, opened as the editor opens it, and
// what Tagloom read compared with what exiftool and exiv2 read from the same
// file. The photographs are only read, never copied or changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/session.h"
#include "model/catalogue.h"
#include "model/number_text.h"
#include "model/value_text.h"
#include "support/oracle.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tagloom {
namespace {

using test::ExiftoolTag;
using test::RawTag;

std::vector<std::string> PhotoNames() {
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(test::PhotosDir())) {
    if (file.path().extension() == ".jpg") names.push_back(file.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Photographs whose Exif pointer (8769) is declared ASCII instead of LONG.
// exiftool and exiv2 refuse to follow a pointer of the wrong type; Tagloom
// takes the offset from the entry whatever its type, so it reads the Exif
// sub-directory the other two skip. Its values there are checked against the
// file's bytes instead.
const std::set<std::string> kPointerOfWrongType = {"30-type_error.jpg"};

int TagNumber(int row) {
  return std::stoi(std::string(kCatalogue[static_cast<std::size_t>(row)].tag), nullptr, 16);
}

std::int64_t RowNumber(const TextList& list, int row) {
  return static_cast<std::int64_t>(LeadingNumber(list.Row(row)));
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string Trim(std::string text) {
  text = TrimRight(std::move(text));
  text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
  return text;
}

// The text an ASCII value's bytes make: every NUL dropped, the rest as UTF-8.
std::string AsciiText(std::string bytes) {
  std::erase(bytes, '\0');
  return BytesToText(bytes);
}

std::int64_t Number(std::string_view bytes, std::size_t at, int size, bool motorola) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) {
    auto b = static_cast<std::uint8_t>(
        bytes[at + static_cast<std::size_t>(motorola ? i : size - 1 - i)]);
    value = (value << 8) | b;
  }
  return static_cast<std::int64_t>(value);
}

// "n/d" split into its two numbers.
std::pair<std::int64_t, std::int64_t> Fraction(const std::string& text) {
  std::size_t slash = text.find('/');
  return {std::stoll(text.substr(0, slash)), std::stoll(text.substr(slash + 1))};
}

// One directory read straight from the file's bytes, for the photographs whose
// Exif sub-directory neither oracle follows.
struct FileEntry {
  int type;
  std::int64_t count;
  std::string field;  // the entry's 4-byte value field
  std::string value;  // the value's bytes, from the entry or from where it points
};

std::map<int, FileEntry> ReadDirectory(const std::string& file, std::size_t tiff,
                                       std::size_t offset, bool motorola) {
  static const std::map<int, int> kSize = {{1, 1}, {2, 1}, {3, 2}, {4, 4},
                                           {5, 8}, {7, 1}, {9, 4}, {10, 8}};
  std::map<int, FileEntry> entries;
  const auto count = static_cast<std::size_t>(Number(file, tiff + offset, 2, motorola));
  for (std::size_t k = 0; k < count; ++k) {
    // IFD: 2 count + 12 * n entries: tag (2), type (2), count (4), value or offset (4)
    const std::size_t at = tiff + offset + 2 + 12 * k;
    FileEntry entry{static_cast<int>(Number(file, at + 2, 2, motorola)),
                    Number(file, at + 4, 4, motorola), file.substr(at + 8, 4), ""};
    const auto size = static_cast<std::size_t>(entry.count * kSize.at(entry.type));
    const std::size_t from =
        size <= 4 ? at + 8 : tiff + static_cast<std::size_t>(Number(file, at + 8, 4, motorola));
    entry.value = file.substr(from, size);
    entries[static_cast<int>(Number(file, at, 2, motorola))] = entry;
  }
  return entries;
}

class RealPhotoOracle : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    path_ = (test::PhotosDir() / GetParam()).string();
    session_.Text1 = path_;
    session_.GetExifData();
  }

  const RecordStore& Store() const { return session_.store; }

  // The directory in which Tagloom found a catalogued tag, told by where its
  // entry stands: inside the Exif sub-directory or not.
  std::string DirectoryOf(int row) const {
    if (!Store().Found(row::kExifPointer)) return "IFD0";
    const std::int64_t start = RowNumber(Store().lstValuePos, row::kExifPointer) + 1;
    const std::int64_t p = RowNumber(Store().lstPosition, row);
    const std::int64_t entries = p - (start + 2);
    const bool inExif =
        entries >= 0 && entries % 12 == 0 && entries / 12 < session_.block.ExifIfdEntryCount;
    return inExif ? "ExifIFD" : "IFD0";
  }

  std::string path_;
  test::RecordingHost host_;
  Session session_{host_};
};

std::string PhotoTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

TEST(RealPhotos, AllSixteenArePresent) {
  EXPECT_GE(PhotoNames().size(), 16u);
}

// Where the block came from agrees with whether exiftool finds an IFD0 at all.
TEST_P(RealPhotoOracle, SourceAgreesWithExiftool) {
  std::vector<ExiftoolTag> tags = test::ExiftoolTags(path_);
  ASSERT_FALSE(tags.empty()) << "exiftool did not read " << path_;
  // The hex dump, not the tag list: an IFD0 that holds only directory
  // pointers (Issue 173's) contributes no tag of its own to the list.
  std::vector<RawTag> raw = test::ExiftoolRawTags(path_);
  const bool exiftoolHasIfd0 =
      std::any_of(raw.begin(), raw.end(), [](const RawTag& t) { return t.group == "IFD0"; });

  EXPECT_EQ(session_.ExifLoaded, exiftoolHasIfd0);
  EXPECT_EQ(session_.labNoExif.visible, !exiftoolHasIfd0);
  EXPECT_FALSE(session_.ExifFromBackup);
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_EQ(session_.Text1, GetParam());
  if (!exiftoolHasIfd0) {
    for (int r = 0; r < kCatalogueRows; ++r) EXPECT_FALSE(Store().Found(r)) << "row " << r;
    return;
  }
  std::optional<ExiftoolTag> order = test::FindTag(tags, "File", "ExifByteOrder");
  ASSERT_TRUE(order);
  EXPECT_EQ(session_.block.MotorolaOrder, order->value == "MM");
}

// Each catalogued value Tagloom found equals what exiftool read for the same
// tag of the same directory, and Tagloom misses none that exiftool read.
TEST_P(RealPhotoOracle, CataloguedValuesMatchExiftool) {
  std::vector<ExiftoolTag> tags = test::ExiftoolTags(path_);
  std::vector<RawTag> raw = test::ExiftoolRawTags(path_);
  ASSERT_FALSE(tags.empty()) << "exiftool did not read " << path_;
  const bool motorola = session_.block.MotorolaOrder;
  const bool wrongPointer = kPointerOfWrongType.count(GetParam()) > 0;

  for (int r = 0; r < kCatalogueRows; ++r) {
    const int id = TagNumber(r);
    const std::string home = r <= row::kLastIfd0Row ? "IFD0" : "ExifIFD";
    SCOPED_TRACE("row " + std::to_string(r) + " tag " + std::string(kCatalogue[r].tag));
    if (!Store().Found(r)) {
      EXPECT_FALSE(test::FindRaw(raw, home, id)) << "exiftool reads a tag that Tagloom missed";
      continue;
    }
    const std::string group = DirectoryOf(r);
    if (wrongPointer && group == "ExifIFD") continue;  // the file-bytes test below covers these
    const std::string value = Store().lstValue.Row(r);
    const auto type = RowNumber(Store().lstType, r);
    const auto count = RowNumber(Store().lstCount, r);
    std::optional<std::string> bytes = test::FindRaw(raw, group, id);
    ASSERT_TRUE(bytes) << "exiftool does not read " << group << " " << id;
    std::optional<ExiftoolTag> decoded = test::FindTag(tags, group, id);

    switch (type) {
      case 2:  // ASCII
        EXPECT_EQ(value, AsciiText(*bytes));
        // exiftool drops the blanks at the end of a text (Casio's model is
        // "EX-S1  "), where Tagloom keeps every byte the camera wrote, so that a
        // value written back unedited stays the same: compare without them.
        // The Exif pointer stored as text is the one ASCII entry exiftool
        // reads but does not report.
        if (r != row::kExifPointer) {
          ASSERT_TRUE(decoded);
          EXPECT_EQ(TrimRight(value), TrimRight(decoded->value));
        }
        break;
      case 1:  // BYTE
      case 3:  // SHORT
      case 4:  // LONG
        ASSERT_EQ(count, 1) << "the photographs hold single numbers in these rows";
        EXPECT_EQ(value, IntegerText(Number(*bytes, 0, static_cast<int>(bytes->size()), motorola)));
        // exiftool reports no value for the Exif pointer, only what it points to.
        if (r != row::kExifPointer) {
          ASSERT_TRUE(decoded);
          EXPECT_EQ(value, decoded->value);
        }
        break;
      case 5:     // RATIONAL
      case 10: {  // SRATIONAL
        ASSERT_EQ(bytes->size(), 8u);
        auto [n, d] = Fraction(value);
        EXPECT_EQ(n, static_cast<std::int32_t>(Number(*bytes, 0, 4, motorola)));
        EXPECT_EQ(d, static_cast<std::int32_t>(Number(*bytes, 4, 4, motorola)));
        ASSERT_TRUE(decoded);
        if (d == 0) {
          // exiftool has no quotient either: "undef" for 0/0, "inf" otherwise.
          EXPECT_EQ(decoded->value, n == 0 ? "undef" : n > 0 ? "inf" : "-inf");
        } else {
          const double q = static_cast<double>(n) / static_cast<double>(d);
          // exiftool prints ten significant digits.
          EXPECT_NEAR(q, std::stod(decoded->value), 1e-9 * std::fabs(q)) << value;
        }
        break;
      }
      case 7:  // UNDEFINED: the maker note, the user comment
        if (value.rfind(kHexPrefix, 0) == 0) {
          EXPECT_EQ(value, std::string(kHexPrefix) + HexDigits(*bytes));
        } else {
          const std::string code = bytes->substr(0, 8);
          EXPECT_TRUE(code == std::string("ASCII\0\0\0", 8) || code == std::string(8, '\0'))
              << "only a text behind an ASCII or empty character code is shown as text";
          // Tagloom trims the blanks on both sides of a comment and exiftool
          // those at its end; the text between must be the same.
          ASSERT_TRUE(decoded) << "no text to compare with";
          EXPECT_EQ(Trim(value), Trim(decoded->value));
        }
        break;
      default:
        ADD_FAILURE() << "type " << type << " is not expected in a catalogued row";
    }
  }
}

// Make, model, the three dates and the Exif pointer as exiv2 reads them.
TEST_P(RealPhotoOracle, CataloguedValuesMatchExiv2) {
  const std::vector<std::pair<int, std::string>> keys = {
      {row::kExifPointer, "Exif.Image.ExifTag"},
      {row::kMake, "Exif.Image.Make"},
      {row::kMake + 1, "Exif.Image.Model"},
      {row::kDateTime, "Exif.Image.DateTime"},
      {row::kDateTimeOriginal, "Exif.Photo.DateTimeOriginal"},
      {row::kDateTimeDigitized, "Exif.Photo.DateTimeDigitized"}};
  const bool wrongPointer = kPointerOfWrongType.count(GetParam()) > 0;
  for (const auto& [r, key] : keys) {
    SCOPED_TRACE(key);
    std::optional<std::string> exiv2 = test::Exiv2Value(path_, key);
    if (wrongPointer && (r == row::kExifPointer || DirectoryOf(r) == "ExifIFD")) {
      // exiv2 shows the pointer as a text cut at its first NUL and does not
      // follow it; the file-bytes test below covers these rows.
      continue;
    }
    ASSERT_EQ(Store().Found(r), exiv2.has_value());
    if (exiv2) {
      EXPECT_EQ(Store().lstValue.Row(r), *exiv2);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Photos, RealPhotoOracle, ::testing::ValuesIn(PhotoNames()), PhotoTestName);

// The photograph whose Exif pointer is declared ASCII (count 154) but whose
// value field holds the right offset: Tagloom follows it and reads the Exif
// sub-directory, whose values are checked here against the file's own bytes.
TEST(RealPhotos, ExifPointerOfWrongTypeIsFollowed) {
  const std::string path = (test::PhotosDir() / "30-type_error.jpg").string();
  test::RecordingHost host;
  Session session(host);
  session.Text1 = path;
  session.GetExifData();
  ASSERT_TRUE(session.ExifLoaded);

  // Both oracles really do stop at the pointer: exiftool has no ExifIFD.
  std::vector<ExiftoolTag> tags = test::ExiftoolTags(path);
  ASSERT_FALSE(tags.empty());
  EXPECT_FALSE(std::any_of(tags.begin(), tags.end(),
                           [](const ExiftoolTag& t) { return t.group == "ExifIFD"; }));
  EXPECT_FALSE(test::Exiv2Value(path, "Exif.Photo.DateTimeOriginal"));

  // The pointer row holds the 154 bytes as text, as exiftool dumps them.
  EXPECT_EQ(session.store.lstType.Row(row::kExifPointer), "2");
  EXPECT_EQ(session.store.lstCount.Row(row::kExifPointer), "154");
  std::optional<std::string> pointerBytes =
      test::FindRaw(test::ExiftoolRawTags(path), "IFD0", TagNumber(row::kExifPointer));
  ASSERT_TRUE(pointerBytes);
  EXPECT_EQ(session.store.lstValue.Row(row::kExifPointer), AsciiText(*pointerBytes));

  // The Exif sub-directory read from the file: "Exif" 00 00, then the TIFF header.
  const std::string file = test::ReadFile(path);
  const std::size_t tiff = file.find(std::string("Exif\0\0", 6)) + 6;
  ASSERT_EQ(file.substr(tiff, 2), "II");
  EXPECT_EQ(session.block.TiffBase, static_cast<std::int64_t>(tiff) + 1);
  std::map<int, FileEntry> ifd0 =
      ReadDirectory(file, tiff, static_cast<std::size_t>(Number(file, tiff + 4, 4, false)), false);
  const FileEntry& pointer = ifd0.at(0x8769);
  ASSERT_EQ(pointer.type, 2);
  // Declared 154 bytes long, so the value field is an offset: the Exif IFD's.
  std::map<int, FileEntry> exif = ReadDirectory(
      file, tiff, static_cast<std::size_t>(Number(pointer.field, 0, 4, false)), false);
  EXPECT_EQ(session.block.ExifIfdEntryCount, static_cast<std::int64_t>(exif.size()));

  for (int r = row::kLastIfd0Row + 1; r < kCatalogueRows; ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    auto entry = exif.find(TagNumber(r));
    ASSERT_EQ(session.store.Found(r), entry != exif.end());
    if (entry == exif.end()) continue;
    const std::string value = session.store.lstValue.Row(r);
    switch (entry->second.type) {
      case 2:
        EXPECT_EQ(value, AsciiText(entry->second.value));
        break;
      case 3:
        EXPECT_EQ(value, IntegerText(Number(entry->second.value, 0, 2, false)));
        break;
      default:
        ADD_FAILURE() << "type " << entry->second.type << " not expected in this photograph";
    }
  }
  EXPECT_EQ(session.txtExif[field::kDate], "2013/07/05 03:18:27");
}

// EXIF that follows other segments (ICC, XMP, a Photoshop block) is found,
// and a text of four bytes with its NUL stands in the entry itself.
TEST(RealPhotos, ExifAfterOtherSegmentsIsRead) {
  for (const char* name : {"portrait_6.jpg", "no_exif.jpg", "HTC Desire.jpg"}) {
    SCOPED_TRACE(name);
    test::RecordingHost host;
    Session session(host);
    session.Text1 = (test::PhotosDir() / name).string();
    session.GetExifData();
    EXPECT_TRUE(session.ExifLoaded);
    EXPECT_FALSE(session.labNoExif.visible);
    EXPECT_GT(session.block.ExifSegmentOffset, 2) << "other segments come first";
    EXPECT_TRUE(session.store.Found(row::kOrientation));
  }
  test::RecordingHost host;
  Session session(host);
  session.Text1 = (test::PhotosDir() / "HTC Desire.jpg").string();
  session.GetExifData();
  EXPECT_EQ(session.store.lstCount.Row(row::kMake), "4");
  EXPECT_EQ(session.store.lstValue.Row(row::kMake), "HTC");
  EXPECT_EQ(session.txtExif[0], "HTC");
  EXPECT_EQ(session.txtExif[1], "HTC Desire");
}

// Photographs without any EXIF block show the banner and nothing else.
TEST(RealPhotos, PhotographsWithoutExifShowTheBanner) {
  for (const char* name : {"olympus-d320l.jpg", "image01551.jpg"}) {
    SCOPED_TRACE(name);
    test::RecordingHost host;
    Session session(host);
    session.Text1 = (test::PhotosDir() / name).string();
    session.GetExifData();
    EXPECT_FALSE(session.ExifLoaded);
    EXPECT_TRUE(session.labNoExif.visible);
    EXPECT_FALSE(session.cmdBackup.visible);
    EXPECT_TRUE(session.cmdExifWrite.enabled);
    EXPECT_TRUE(std::all_of(session.txtExif.begin(), session.txtExif.end(),
                            [](const std::string& t) { return t.empty(); }));
    std::vector<RawTag> raw = test::ExiftoolRawTags(session.ImageFileName);
    EXPECT_FALSE(
        std::any_of(raw.begin(), raw.end(), [](const RawTag& t) { return t.group == "IFD0"; }));
  }
}

}  // namespace
}  // namespace tagloom
