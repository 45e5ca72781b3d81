#include "model/table_columns.h"

#include <algorithm>
#include <string_view>

#include "model/value_text.h"

namespace tagloom {
namespace {

constexpr int kFileTarget = kFieldCount;  // what a name may stand for besides the fields
constexpr std::string_view kFileKey = "file";

// Names that shot logs and spreadsheet templates give the columns, besides
// each field's key and caption; written as people write them.
struct Alias {
  std::string_view name;
  std::string_view key;  // a field's key, or kFileKey
};
constexpr Alias kAliases[] = {
    {"file name", kFileKey},
    {"name", kFileKey},
    {"path", kFileKey},
    {"文件", kFileKey},
    {"文件名", kFileKey},
    {"camera", "make"},
    {"manufacturer", "make"},
    {"firmware", "software"},
    {"rights", "copyright"},
    {"date taken", "date"},
    {"DateTime", "date"},
    {"DateTimeOriginal", "date"},
    {"shutter", "exposure_time"},
    {"shutter speed", "exposure_time"},
    {"exposure", "exposure_time"},
    {"aperture", "fnumber"},
    {"f", "fnumber"},
    {"program", "exposure_program"},
    {"ISO speed", "iso"},
    {"exposure compensation", "exposure_bias"},
    {"EV", "exposure_bias"},
    {"distance", "subject_distance"},
    {"metering", "metering_mode"},
    {"note", "comment"},
    {"notes", "comment"},
    {"comments", "comment"},
    {"description", "comment"},
    {"caption", "comment"},
    {"focal", "focal_length"},
    {"lens focal length", "focal_length"},
};

// The name without case, blanks, "_", "-" and ".": "Shutter_Speed" -> "shutterspeed".
std::string Normalized(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '_' || c == '-' || c == '.') continue;
    out += AsciiLower(c);
  }
  return out;
}

int TargetOfKey(std::string_view key) {
  if (key == kFileKey) return kFileTarget;
  for (int i = 0; i < kFieldCount; ++i) {
    if (kFields[static_cast<std::size_t>(i)].key == key) return i;
  }
  return kNoColumn;  // not reached: every alias names a key
}

struct Name {
  std::string normalized;
  int target;  // a field, or kFileTarget
};

const std::vector<Name>& KnownNames() {
  static const std::vector<Name> names = [] {
    std::vector<Name> list{{Normalized(kFileKey), kFileTarget}};
    for (int i = 0; i < kFieldCount; ++i) {
      const FieldInfo& info = kFields[static_cast<std::size_t>(i)];
      std::string_view caption = info.caption;
      if (caption.ends_with(':')) caption.remove_suffix(1);
      list.push_back({Normalized(info.key), i});
      list.push_back({Normalized(caption), i});
    }
    for (const Alias& alias : kAliases)
      list.push_back({Normalized(alias.name), TargetOfKey(alias.key)});
    return list;
  }();
  return names;
}

int TargetOfName(std::string_view name) {
  const std::string normalized = Normalized(name);
  const auto& names = KnownNames();
  auto found = std::find_if(names.begin(), names.end(),
                            [&](const Name& known) { return known.normalized == normalized; });
  return found == names.end() || normalized.empty() ? kNoColumn : found->target;
}

}  // namespace

Columns MatchColumns(const std::vector<std::string>& header) {
  Columns columns;
  columns.field.fill(kNoColumn);
  for (int c = 0; c < static_cast<int>(header.size()); ++c) {
    const int target = TargetOfName(header[static_cast<std::size_t>(c)]);
    if (target == kNoColumn) {
      columns.unused.push_back({c, UnusedReason::kUnknownName});
    } else if (target == field::kMakerNote) {
      columns.unused.push_back({c, UnusedReason::kMakerNote});
    } else {
      int& column =
          target == kFileTarget ? columns.file : columns.field[static_cast<std::size_t>(target)];
      if (column == kNoColumn) {
        column = c;
      } else {
        columns.unused.push_back({c, UnusedReason::kRepeated, column});
      }
    }
  }
  return columns;
}

}  // namespace tagloom
