#include "support/oracle.h"

#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

namespace tagloom::test {
namespace {

using nlohmann::json;

// Builds a document from exiftool's JSON in which every number is kept as the
// text exiftool printed: it prints any value that looks like a number without
// quotes, so a firmware version "1.00" would otherwise come back as 1.0.
class LiteralNumbers : public nlohmann::json_sax<json> {
 public:
  explicit LiteralNumbers(json& root) : root_(root) {}

  bool null() override { return Place(nullptr); }
  bool boolean(bool value) override { return Place(value); }
  bool number_integer(number_integer_t value) override { return Place(std::to_string(value)); }
  bool number_unsigned(number_unsigned_t value) override { return Place(std::to_string(value)); }
  bool number_float(number_float_t, const string_t& literal) override { return Place(literal); }
  bool string(string_t& value) override { return Place(value); }
  bool binary(binary_t&) override { return false; }
  bool start_object(std::size_t) override { return Open(json::object()); }
  bool key(string_t& key) override {
    key_ = key;
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(json::array()); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

 private:
  json* Add(json value) {
    if (open_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    json& parent = *open_.back();
    if (parent.is_array()) {
      parent.push_back(std::move(value));
      return &parent.back();
    }
    json& slot = parent[key_];
    slot = std::move(value);
    return &slot;
  }
  bool Place(json value) {
    Add(std::move(value));
    return true;
  }
  bool Open(json container) {
    open_.push_back(Add(std::move(container)));
    return true;
  }
  bool Close() {
    open_.pop_back();
    return true;
  }

  json& root_;
  std::vector<json*> open_;
  std::string key_;
};

std::string ValueText(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_array()) {
    std::string joined;
    for (const json& item : value) joined += (joined.empty() ? "" : " ") + ValueText(item);
    return joined;
  }
  return value.dump();
}

// The bytes of one hex-dump line of exiftool's verbose output
// ("0398: 00 0f 00 ... [..ascii..]"), or nothing when it is not such a line.
std::optional<std::string> DumpLineBytes(std::string_view line) {
  std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  for (char c : line.substr(0, colon)) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  std::string bytes;
  std::istringstream words{std::string(line.substr(colon + 2))};
  std::string word;
  while (words >> word) {
    if (word.size() != 2 || !std::isxdigit(static_cast<unsigned char>(word[0])) ||
        !std::isxdigit(static_cast<unsigned char>(word[1]))) {
      break;  // the printable column that ends the line
    }
    bytes += static_cast<char>(std::stoi(word, nullptr, 16));
  }
  return bytes;
}

}  // namespace

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  int status = ::pclose(pipe);
  if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::vector<ExiftoolTag> ExiftoolTags(const std::string& path) {
  // -n: values as stored, not as described; -G1: the directory each tag came
  // from, so that IFD0:Make is told apart from a maker note's or XMP's Make;
  // -D: tag numbers; -u: unknown tags too.
  CommandResult run = RunCommand("exiftool -j -n -G1 -D -u " + ShellQuoted(path) + " 2>/dev/null");
  std::vector<ExiftoolTag> tags;
  json document;
  LiteralNumbers sax(document);
  if (!json::sax_parse(run.output, &sax) || !document.is_array() || document.empty()) return tags;
  for (const auto& [key, entry] : document.front().items()) {
    std::size_t colon = key.find(':');
    if (colon == std::string::npos || !entry.is_object() || !entry.contains("val")) continue;
    ExiftoolTag tag{key.substr(0, colon), key.substr(colon + 1), -1, ValueText(entry["val"])};
    // Composite and file tags carry a name as their id, directory entries a number.
    if (entry.contains("id") && entry["id"].is_string()) {
      const std::string id = entry["id"].get<std::string>();
      if (!id.empty() && std::isdigit(static_cast<unsigned char>(id[0]))) tag.id = std::stoi(id);
    }
    tags.push_back(std::move(tag));
  }
  return tags;
}

std::optional<ExiftoolTag> FindTag(const std::vector<ExiftoolTag>& tags, std::string_view group,
                                   int id) {
  for (const ExiftoolTag& tag : tags) {
    if (tag.group == group && tag.id == id) return tag;
  }
  return std::nullopt;
}

std::optional<ExiftoolTag> FindTag(const std::vector<ExiftoolTag>& tags, std::string_view group,
                                   std::string_view name) {
  for (const ExiftoolTag& tag : tags) {
    if (tag.group == group && tag.name == name) return tag;
  }
  return std::nullopt;
}

std::vector<RawTag> ExiftoolRawTags(const std::string& path) {
  // The dump nests directories by "| " columns:
  //   | + [ExifIFD directory with 27 entries]
  //   | | 16) MakerNoteMinolta (SubDirectory) -->
  //   | |     - Tag 0x927c (33270 bytes, undef[33270]):
  //   | |         0398: 00 0f 00 00 00 07 ...   [....]
  // so an entry belongs to the directory whose "+ [" stands where the entry's
  // "|" does, and its bytes follow on lines "<indent>|         <offset>: ...".
  CommandResult run = RunCommand("exiftool -v5 " + ShellQuoted(path) + " 2>/dev/null");
  std::istringstream lines(run.output);
  std::map<std::string, std::string> directoryAt;  // indent -> directory name
  std::vector<RawTag> tags;
  std::string line;
  bool haveLine = static_cast<bool>(std::getline(lines, line));
  while (haveLine) {
    std::size_t header = line.find("+ [");
    std::size_t named = line.find(" directory", header);
    if (header != std::string::npos && named != std::string::npos &&
        line.find_first_not_of(" |") == header) {
      directoryAt[line.substr(0, header)] = line.substr(header + 3, named - header - 3);
      haveLine = static_cast<bool>(std::getline(lines, line));
      continue;
    }
    std::size_t entry = line.find("|     - Tag 0x");
    if (entry == std::string::npos || line.find_first_not_of(" |") != entry + 6) {
      haveLine = static_cast<bool>(std::getline(lines, line));
      continue;
    }
    const std::string indent = line.substr(0, entry);
    RawTag tag;
    tag.group = directoryAt.count(indent) ? directoryAt[indent] : "";
    tag.id = std::stoi(line.substr(entry + 14, 4), nullptr, 16);
    const std::size_t size = std::stoul(line.substr(line.find('(', entry) + 1));
    const std::string dataLine = indent + "|         ";
    while ((haveLine = static_cast<bool>(std::getline(lines, line))) &&
           line.rfind(dataLine, 0) == 0) {
      std::optional<std::string> more = DumpLineBytes(line.substr(dataLine.size()));
      if (!more) break;
      tag.bytes += *more;
    }
    // A dump cut short is no reading of the value.
    if (tag.bytes.size() == size) tags.push_back(std::move(tag));
  }
  return tags;
}

std::optional<std::string> FindRaw(const std::vector<RawTag>& tags, std::string_view group,
                                   int id) {
  std::optional<std::string> found;
  for (const RawTag& tag : tags) {
    if (tag.group == group && tag.id == id) found = tag.bytes;
  }
  return found;
}

std::optional<std::string> Exiv2Value(const std::string& path, const std::string& key) {
  // One key per run: with several keys exiv2 pads the key column, and a value
  // that starts with blanks could not be told from the padding.
  CommandResult run =
      RunCommand("exiv2 -q -Pv -K " + ShellQuoted(key) + " " + ShellQuoted(path) + " 2>/dev/null");
  if (run.status != 0) return std::nullopt;
  std::string value = run.output;
  if (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

}  // namespace tagloom::test
