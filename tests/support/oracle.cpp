#include "support/oracle.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

namespace tagloom::test {

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, n);
  }
  const int status = ::pclose(pipe);
  if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<ExiftoolTag> ExiftoolTags(const std::string& path) {
  const std::string out =
      RunCommand("exiftool -j -n -G1 -D -u -sep ' ' " + ShellQuoted(path) + " 2>/dev/null").output;
  // exiftool leaves number-like values unquoted; quote them so "1.00" is not read as 1.0.
  std::istringstream lines(out);
  std::string quoted;
  for (std::string line; std::getline(lines, line); quoted += line + '\n') {
    std::size_t at = line.find("\"val\": ");
    if (at == std::string::npos || line[at += 7] == '"') continue;
    const std::size_t end = line.back() == ',' ? line.size() - 1 : line.size();
    line = line.substr(0, at) + '"' + line.substr(at, end - at) + '"' + line.substr(end);
  }
  std::vector<ExiftoolTag> tags;
  const auto document = nlohmann::json::parse(quoted, nullptr, false);
  if (!document.is_array() || document.empty()) return tags;
  for (const auto& [key, entry] : document.front().items()) {
    const std::size_t colon = key.find(':');
    if (colon == std::string::npos || !entry.is_object()) continue;
    ExiftoolTag tag{key.substr(0, colon), key.substr(colon + 1), -1, entry["val"]};
    if (entry["id"].is_number()) tag.id = entry["id"];
    tags.push_back(tag);
  }
  return tags;
}

std::optional<ExiftoolTag> FindTag(const std::vector<ExiftoolTag>& tags, std::string_view group,
                                   std::variant<int, std::string_view> idOrName) {
  for (const ExiftoolTag& tag : tags) {
    if (tag.group == group && (idOrName.index() == 0 ? tag.id == std::get<0>(idOrName)
                                                     : tag.name == std::get<1>(idOrName)))
      return tag;
  }
  return std::nullopt;
}

std::vector<std::string> ExiftoolMakerNotes(const std::string& path) {
  std::istringstream lines(
      RunCommand("exiftool -a -G0:1 -s -n -u " + ShellQuoted(path) + " 2>/dev/null").output);
  std::vector<std::string> values;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("[MakerNotes")) values.push_back(line);
  }
  std::sort(values.begin(), values.end());
  return values;
}

std::map<std::string, std::string> Exiv2Values(const std::string& path) {
  std::istringstream lines(
      RunCommand("exiv2 -q -Pkv " + ShellQuoted(path) + " 2>/dev/null").output);
  std::map<std::string, std::string> values;
  for (std::string line; std::getline(lines, line);) {
    // The key is padded to 45 columns and followed by one blank; values may start with blanks.
    const std::size_t blank = std::min(line.find(' '), line.size());
    values[line.substr(0, blank)] =
        line.substr(std::min(std::max<std::size_t>(blank, 45) + 1, line.size()));
  }
  return values;
}

}  // namespace tagloom::test
