// Every real photograph written with all a keep-all write carries of its
// block, its fields as read, then read back by exiftool: every tag as before
// but what the write says it does not keep, the same thumbnail, and no
// warning the photograph did not have. The catalogued tags are rewritten from
// the fields (the date, the comment's marker, rationals rounded), which the
// edit-back conversion's tests cover: only their layout counts here.

#include <sstream>

#include "editor/editor_support.h"
#include "reader/carried_block.h"
#include "writer/splice.h"

namespace tagloom {
namespace {

using namespace test;

// exiftool's groups (-G1) of the directories of a block.
constexpr std::array<std::string_view, kBlockDirectories> kGroups = {"[IFD0]", "[ExifIFD]", "[GPS]",
                                                                     "[InteropIFD]", "[IFD1]"};
// What exiftool tells of the file and the tool, and works out from other tags.
const std::set<std::string> kOtherGroups = {"[ExifTool]", "[System]", "[File]", "[Composite]"};
// What exiftool -validate says of a block's layout rather than of a value.
constexpr std::array<std::string_view, 4> kLayoutWarnings = {"Odd offset", "out of order",
                                                             "out of sequence", "Missing required"};

// A line of `exiftool -a -G1 -s -n -u -H`: "[IFD0]  0x010f Make  : Canon".
struct Line {
  std::string group, id, name, value;
  auto operator<=>(const Line&) const = default;
};

std::vector<Line> ExiftoolLines(const std::string& options, const std::string& path) {
  std::istringstream out(
      RunCommand("exiftool " + options + " " + ShellQuoted(path) + " 2>/dev/null").output);
  std::vector<Line> lines;
  for (std::string text; std::getline(out, text);) {
    Line& line = lines.emplace_back();
    std::istringstream(text) >> line.group >> line.id >> line.name;
    const std::size_t colon = text.find(": ");
    line.value = colon == std::string::npos ? "" : text.substr(colon + 2);
  }
  return lines;
}

// The thumbnail's bytes where IFD1 says they are (one JPEG or one strip),
// from the start of the file as exiftool counts.
std::string ThumbnailAt(const std::string& path, const std::vector<Line>& lines) {
  std::int64_t offset = -1, length = 0;
  for (const Line& line : lines) {
    if (line.group != "[IFD1]") continue;
    if (line.name == "ThumbnailOffset" || line.name == "StripOffsets") offset = stoll(line.value);
    if (line.name == "ThumbnailLength" || line.name == "StripByteCounts")
      length = stoll(line.value);
  }
  const std::string file = ReadFile(path);
  if (offset < 0 || offset > static_cast<std::int64_t>(file.size())) return "";
  return file.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

// What exiftool shows of a block before and after a keep-all write that
// must be the same.
struct Comparison {
  const CarriedReport& report;
  bool exifIfdNew;                        // exiftool could not reach the old Exif IFD
  std::int64_t shift;                     // how far the TIFF header moved in the file
  std::set<std::string> catalogued = {};  // names of the tags rewritten from the fields

  // Whether the write said it would not keep the tag on `line`: the entry,
  // its whole directory, or the thumbnail (for its offsets and its sizes).
  bool NotKept(const Line& line) const {
    for (const NotCarried& n : report.notKept) {
      char id[8];
      std::snprintf(id, sizeof id, "0x%04x", n.tag);
      const bool jpeg = n.tag == 0x0201 && (line.id == "0x0202" || line.name == "ThumbnailImage");
      const bool strips = n.tag == 0x0111 && line.id == "0x0117";
      if (line.group == kGroups[static_cast<std::size_t>(n.directory)] &&
          (n.tag == 0 || line.id == id || jpeg || strips)) {
        return true;
      }
    }
    return false;
  }

  std::multiset<Line> Kept(const std::vector<Line>& lines, bool before) {
    std::multiset<Line> kept;
    for (Line line : lines) {
      const bool ours = line.group == kGroups[0] || line.group == kGroups[1];
      if (ours && line.id.starts_with("0x") &&
          CatalogueRowOf(static_cast<std::uint16_t>(std::stoi(line.id, nullptr, 16))) >= 0) {
        catalogued.insert(line.name);
      } else if (!kOtherGroups.contains(line.group) && !(exifIfdNew && line.group == kGroups[1]) &&
                 !(before && NotKept(line))) {
        if (line.name == "ThumbnailOffset" || line.name == "StripOffsets") line.value = "moved";
        // The maker note keeps its TIFF offset: its file offsets move with the header.
        if (before && line.name == "PreviewImageStart") {
          line.value = std::to_string(std::stoll(line.value) + shift);
        }
        kept.insert(line);
      }
    }
    return kept;
  }

  // New warnings about the layout count for every tag, about a value only
  // for the tags carried.
  bool Counts(const Line& warning) const {
    auto mentions = [&](const auto& names) {
      return std::any_of(names.begin(), names.end(),
                         [&](auto& name) { return warning.value.find(name) != std::string::npos; });
    };
    const bool aboutNewExifIfd = exifIfdNew && warning.value.find("ExifIFD") != std::string::npos;
    return warning.group == "Warning" &&
           (mentions(kLayoutWarnings) || !(mentions(catalogued) || aboutNewExifIfd));
  }
};

class KeepAll : public SessionTest, public ::testing::WithParamInterface<std::string> {
 protected:
  // Writes the photograph with all it can carry, its fields as read.
  CarriedReport WriteKeepingAll(const std::string& path) {
    Open(path);
    RecordStore store = session.store;
    DirectoryCounts counts;
    EXPECT_FALSE(RestoreValue(session.FieldsToWrite(), store, counts, session.UneditedFields()));
    std::optional<ReadChannel> channel = ReadChannel::OpenFile(path);
    const CarriedBlock carried = ReadCarriedBlock(*channel, session.block);
    const BuiltSegment built = AssembleExifSegment(store, session.block.makerNote, &carried);
    EXPECT_EQ(built.error, BuildError::kNone);
    NoProgress noProgress;
    const SegmentAt at{session.block.ExifSegmentOffset, session.block.ExifSegmentLength};
    EXPECT_TRUE(WritePhoto(path, dir.File("photo.Exif"), {false, built.bytes, at, {}},
                           RealFileSystem(), noProgress)
                    .Ok());
    return built.carried.value_or(CarriedReport{});
  }
};

TEST_P(KeepAll, ExiftoolReadsBackAllButWhatTheWriteDidNotKeep) {
  const std::string original = (PhotosDir() / GetParam()).string();
  const std::string path = dir.Write("photo.jpg", ReadFile(original));
  const CarriedReport report = WriteKeepingAll(path);
  // exiftool does not follow an Exif pointer of another type than LONG
  // (30-type_error.jpg), which the new block writes as one. The new segment
  // follows the start of image.
  Comparison compare{report, session.store.lstType.Row(row::kExifPointer) != "4",
                     2 - session.block.ExifSegmentOffset};
  const std::string options = "-a -G1 -s -n -u -H";
  const std::vector<Line> before = ExiftoolLines(options, original);
  const std::vector<Line> after = ExiftoolLines(options, path);
  const std::multiset<Line> was = compare.Kept(before, true), is = compare.Kept(after, false);
  std::vector<Line> lost, gained;
  std::set_difference(was.begin(), was.end(), is.begin(), is.end(), std::back_inserter(lost));
  std::set_difference(is.begin(), is.end(), was.begin(), was.end(), std::back_inserter(gained));
  for (const Line& l : lost) ADD_FAILURE() << "lost " << l.group << " " << l.name << " " << l.value;
  for (const Line& l : gained)
    ADD_FAILURE() << "new " << l.group << " " << l.name << " " << l.value;

  const std::string thumbnail = report.thumbnail ? ThumbnailAt(original, before) : "";
  EXPECT_EQ(ThumbnailAt(path, after).size(), thumbnail.size());
  EXPECT_TRUE(ThumbnailAt(path, after) == thumbnail) << "the thumbnail's bytes differ";
  auto thumbnailImage = [](const std::string& file) {
    return RunCommand("exiftool -b -ThumbnailImage " + ShellQuoted(file) + " 2>/dev/null").output;
  };
  EXPECT_TRUE(thumbnailImage(path) == (report.thumbnail ? thumbnailImage(original) : ""));

  const std::vector<Line> warned = ExiftoolLines("-validate -warning -a", original);
  for (const Line& warning : ExiftoolLines("-validate -warning -a", path)) {
    if (compare.Counts(warning)) {
      EXPECT_NE(std::find(warned.begin(), warned.end(), warning), warned.end()) << warning.value;
    }
  }
}

std::vector<std::string> AllPhotos() {
  std::vector<std::string> names = PhotoNames(true);
  for (const auto& file : std::filesystem::directory_iterator(PhotosDir() / "makernotes")) {
    if (file.path().extension() == ".jpg")
      names.push_back("makernotes/" + file.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Photos, KeepAll, ::testing::ValuesIn(AllPhotos()), ParamName);

}  // namespace
}  // namespace tagloom
