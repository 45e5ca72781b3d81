// Every real photograph given a copyright by a keep-all write, then read
// back by exiftool: every tag as before but the copyright, the comment's
// marker and what the write says it does not keep; the same thumbnail; and
// no warning the photograph did not have.

#include <regex>
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
  bool exifIfdNew;     // exiftool could not reach the old Exif IFD
  std::int64_t shift;  // how far the TIFF header moved in the file
  // The tags a write gives anew: the copyright typed, the comment's marker,
  // an orientation where there was none.
  static constexpr std::array<std::string_view, 3> kWritten = {"0x8298", "0x9286", "0x0112"};

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

  // Directories exiftool found damaged in the photograph (a maker's preview
  // directory pointing past its block): not theirs to keep.
  std::set<std::string> damaged = {};

  std::multiset<Line> Kept(const std::vector<Line>& lines, bool before) {
    std::multiset<Line> kept;
    for (Line line : lines) {
      const bool ours = line.group == kGroups[0] || line.group == kGroups[1];
      if (ours && std::find(kWritten.begin(), kWritten.end(), line.id) != kWritten.end()) continue;
      static const std::regex kBad("Bad (\\w+) directory");
      std::smatch bad;
      if (before && std::regex_search(line.value, bad, kBad))
        damaged.insert("[" + bad.str(1) + "]");
      if (damaged.contains(line.group)) continue;
      if (!kOtherGroups.contains(line.group) && !(exifIfdNew && line.group == kGroups[1]) &&
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

  // Every new warning counts, but about an Exif IFD exiftool never reached
  // before, or a directory it found damaged.
  bool Counts(const Line& warning) const {
    const bool aboutNewExifIfd = exifIfdNew && warning.value.find("ExifIFD") != std::string::npos;
    const bool aboutDamaged =
        std::any_of(damaged.begin(), damaged.end(), [&](const std::string& d) {
          return warning.value.find(d.substr(1, d.size() - 2)) != std::string::npos;
        });
    return warning.group == "Warning" && !aboutNewExifIfd && !aboutDamaged;
  }
};

class KeepAll : public SessionTest, public ::testing::WithParamInterface<std::string> {
 protected:
  // Gives the photograph a copyright, everything else kept as the question's
  // box is ticked; returns what the write carried, as the block it wrote
  // was built.
  CarriedReport WriteKeepingAll(const std::string& path) {
    Open(path);
    session.SetFieldText(field::kCopyright, "X");
    RecordStore store = session.store;
    DirectoryCounts counts;
    EXPECT_FALSE(RestoreValue(session.FieldsToWrite(), store, counts, session.UneditedFields()));
    std::optional<ReadChannel> channel = ReadChannel::OpenFile(path);
    const CarriedBlock carried = ReadCarriedBlock(*channel, session.block);
    const BuiltSegment built = AssembleExifSegment(store, session.block.makerNote, &carried);
    host.ticks = {true};
    EXPECT_EQ(session.cmdExifWrite_Click(), Outcome::kDone);
    EXPECT_TRUE(session.keepAll) << "the choice holds for the next write";
    EXPECT_TRUE(SameBytes(session.ExifHeadBytes, built.bytes));
    return built.carried.value_or(CarriedReport{});
  }
};

TEST_P(KeepAll, ExiftoolReadsBackAllButWhatTheWriteDidNotKeep) {
  const std::string original = (PhotosDir() / GetParam()).string();
  const std::string path = dir.Write("photo.jpg", ReadFile(original));
  Open(path);
  // exiftool does not follow an Exif pointer of another type than LONG
  // (30-type_error.jpg), which the new block writes as one. The new segment
  // follows the start of image.
  const bool exifIfdNew = session.store.lstType.Row(row::kExifPointer) != "4";
  const std::int64_t shift = 2 - session.block.ExifSegmentOffset;
  const CarriedReport report = WriteKeepingAll(path);
  Comparison compare{report, exifIfdNew, shift};
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
  EXPECT_TRUE(SameBytes(ThumbnailAt(path, after), thumbnail)) << "the thumbnail's bytes differ";
  auto thumbnailImage = [](const std::string& file) {
    return RunCommand("exiftool -b -ThumbnailImage " + ShellQuoted(file) + " 2>/dev/null").output;
  };
  EXPECT_TRUE(SameBytes(thumbnailImage(path), report.thumbnail ? thumbnailImage(original) : ""));

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
