// Every photograph in tests/photos read as the editor reads it, each catalogued
// row compared with what exiftool (-n) reads from the same file.

#include <cmath>

#include "editor/editor_support.h"
#include "editor/quiet_host.h"
#include "model/hex_text.h"

namespace tagloom {
namespace {

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
  // a comment Tagloom shows in hex, and does not follow a pointer declared
  // ASCII (30-type_error.jpg), which Tagloom does: those rows have their
  // tests of composed blocks.
  const bool asciiPointer = store.lstType.Row(row::kExifPointer) == "2";
  for (int r = 0; r < kCatalogueRows; ++r) {
    const int id = std::stoi(std::string(kCatalogue[static_cast<std::size_t>(r)].tag), nullptr, 16);
    const bool inExif = r > row::kLastIfd0Row;
    const std::string value = store.lstValue.Row(r);
    SCOPED_TRACE("row " + std::to_string(r) + ": " + value);
    if (r == row::kExifPointer || r == row::kMakerNote || (asciiPointer && inExif) ||
        value.starts_with(kHexPrefix)) {
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

// The camera photographs whose block holds a maker note.
std::vector<std::string> PhotosWithMakerNotes() {
  std::vector<std::string> names;
  for (const std::string& name : test::PhotoNames(true)) names.push_back(name);
  for (const auto& file : std::filesystem::directory_iterator(test::PhotosDir() / "makernotes")) {
    if (file.path().extension() == ".jpg")
      names.push_back("makernotes/" + file.path().filename().string());
  }
  std::erase_if(names, [](const std::string& name) {
    QuietHost host;
    Session session(host);
    session.GetExifData((test::PhotosDir() / name).string());
    return !session.store.Found(row::kMakerNote);
  });
  std::sort(names.begin(), names.end());
  return names;
}

// A write keeps the maker note readable: after a new copyright, exiftool
// decodes the same values from it as before. (A position in the file moves
// with the TIFF header, which the new block puts right after the start of
// image: it moves by as much.)
class MakerNote : public test::SessionTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(MakerNote, ExiftoolDecodesTheSameValuesAfterACopyrightIsWritten) {
  const std::string path = (test::PhotosDir() / GetParam()).string(),
                    original = test::ReadFile(path);
  const std::string copy = dir.Write("photo.jpg", original);
  Open(copy);
  session.SetFieldText(field::kCopyright, "X");
  ASSERT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
  EXPECT_EQ(host.messages[0].details.find("制造商"), std::string::npos) << host.messages[0].details;
  const auto shift =
      12 - static_cast<std::int64_t>(original.find(test::ExifSegmentOf(original)) + 10);
  std::vector<std::string> expected = test::ExiftoolMakerNotes(path);
  if (expected.empty()) GTEST_SKIP() << "exiftool decodes nothing of this maker note";
  for (std::string& line : expected) {
    if (line.find(" PreviewImageStart ") == std::string::npos) continue;
    const std::size_t value = line.rfind(' ') + 1;
    line.replace(value, std::string::npos, std::to_string(std::stoll(line.substr(value)) + shift));
  }
  EXPECT_EQ(test::ExiftoolMakerNotes(copy), expected);
}

INSTANTIATE_TEST_SUITE_P(Photos, MakerNote, ::testing::ValuesIn(PhotosWithMakerNotes()),
                         test::ParamName);

TEST(RealPhotos, AllSixteenArePresent) {
  EXPECT_GE(test::PhotoNames().size(), 16u);
}

}  // namespace
}  // namespace tagloom
