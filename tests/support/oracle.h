// exiftool and exiv2 as independent readers: tests compare what Tagloom reads
// from a photograph with what these programs read from the same file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tagloom::test {

struct CommandResult {
  int status = -1;     // exit status, -1 when the command did not run to an exit
  std::string output;  // standard output, byte for byte
};

// Runs a command through /bin/sh and collects its standard output.
CommandResult RunCommand(const std::string& command);

// `text` as one word for /bin/sh, whatever it holds (blanks, quotes, parentheses).
std::string ShellQuoted(std::string_view text);

// One tag as `exiftool -j -n -G1 -D -u` reports it.
struct ExiftoolTag {
  std::string group;  // family 1 group: "IFD0", "ExifIFD", "GPS", "File" ...
  std::string name;   // "Make", "ExposureTime", "ExifByteOrder" ...
  int id = -1;        // the tag number; -1 for tags without one (file facts, composites)
  // The value as printed. exiftool leaves values that look like numbers
  // unquoted; they are kept here as the literal text it printed ("1.00" stays
  // "1.00"). A list is its items joined by single blanks.
  std::string value;
};

// Every tag exiftool reads from the photograph, in its order. Empty when
// exiftool does not run or reads nothing.
std::vector<ExiftoolTag> ExiftoolTags(const std::string& path);

// The tag numbered `id` in directory `group`, if exiftool reports it.
std::optional<ExiftoolTag> FindTag(const std::vector<ExiftoolTag>& tags, std::string_view group,
                                   int id);
// The tag named `name` in group `group` ("File", "ExifByteOrder").
std::optional<ExiftoolTag> FindTag(const std::vector<ExiftoolTag>& tags, std::string_view group,
                                   std::string_view name);

// One directory entry's value bytes as exiftool's full hex dump (-v5) shows
// them: what it read for the entry (from the entry itself or from the offset
// it holds), before any decoding.
struct RawTag {
  std::string group;  // the directory: "IFD0", "ExifIFD", "GPS", "MakerNotes" ...
  int id = -1;
  std::string bytes;
};

// Every entry in exiftool's hex dump of the photograph, in file order.
std::vector<RawTag> ExiftoolRawTags(const std::string& path);

// The bytes of the last entry numbered `id` in directory `group`.
std::optional<std::string> FindRaw(const std::vector<RawTag>& tags, std::string_view group, int id);

// exiv2's plain value of `key` (Exif.Image.Make ...), without the line end;
// empty optional when exiv2 reports no such key.
std::optional<std::string> Exiv2Value(const std::string& path, const std::string& key);

}  // namespace tagloom::test
