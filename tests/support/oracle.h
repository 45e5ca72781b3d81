// exiftool and exiv2 as independent readers of the photographs Tagloom reads and writes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tagloom::test {

struct CommandResult {
  int status = -1;  // exit status; -1 when the command did not exit normally
  std::string output;
};

// Runs a command through /bin/sh and collects its standard output.
CommandResult RunCommand(const std::string& command);
// `text` as one word for /bin/sh, whatever it holds.
std::string ShellQuoted(std::string_view text);

// One tag as `exiftool -j -n -G1 -D -u` prints it; numbers keep their printed
// text ("1.00" stays "1.00"), lists are joined by blanks.
struct ExiftoolTag {
  std::string group;  // "IFD0", "ExifIFD", "File" ...
  std::string name;
  int id = -1;  // -1 for tags without a number
  std::string value;
};
std::vector<ExiftoolTag> ExiftoolTags(const std::string& path);
// The tag of that group with that number or name.
std::optional<ExiftoolTag> FindTag(const std::vector<ExiftoolTag>& tags, std::string_view group,
                                   std::variant<int, std::string_view> idOrName);

// The maker-note values exiftool decodes (`exiftool -a -G0:1 -s -n -u`), one
// "[MakerNotes:Canon] Name : value" line each, sorted.
std::vector<std::string> ExiftoolMakerNotes(const std::string& path);

// Every key exiv2 reports (`exiv2 -Pkv`) with its plain value.
std::map<std::string, std::string> Exiv2Values(const std::string& path);

}  // namespace tagloom::test
