#include "support/differences.h"

#include <cstdio>
#include <sstream>

#include "support/temp_dir.h"

namespace tagloom {

void PrintTo(PhotoResult result, std::ostream* out) {
  static constexpr const char* kWords[] = {"written", "unchanged", "skipped",
                                           "missing", "refused",   "not reached"};
  *out << kWords[static_cast<int>(result)];
}

void PrintTo(Outcome outcome, std::ostream* out) {
  static constexpr const char* kWords[] = {"done", "declined", "stopped", "failed"};
  *out << kWords[static_cast<int>(outcome)];
}

void PrintTo(WriteResult::Problem problem, std::ostream* out) {
  static constexpr const char* kWords[] = {"none",
                                           "backup missing",
                                           "backup damaged",
                                           "backup is the photograph",
                                           "backup unusable",
                                           "photo unreadable",
                                           "not a file",
                                           "read failed",
                                           "read-only",
                                           "not a JPEG",
                                           "photo changed",
                                           "block incomplete",
                                           "file step failed",
                                           "verify failed"};
  *out << kWords[static_cast<int>(problem)];
}

namespace test {

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  auto byte = [](const std::string& bytes, std::size_t i) {
    if (i >= bytes.size()) return std::string("(end)");
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bytes[i]));
    return std::string(hex);
  };
  return ::testing::AssertionFailure()
         << "first difference at offset " << at << ": " << byte(actual, at) << " instead of "
         << byte(expected, at) << " (" << actual.size() << " bytes instead of " << expected.size()
         << ")";
}

::testing::AssertionResult OldOrNew(const std::string& actual, const std::string& before,
                                    const std::string& after) {
  if (actual == before || actual == after) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "neither as before (" << SameBytes(actual, before).message() << ") nor as after ("
         << SameBytes(actual, after).message() << ")";
}

::testing::AssertionResult SameSegments(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected) {
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << actual.size() << " segments instead of " << expected.size();
  }
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (const ::testing::AssertionResult same = SameBytes(actual[i], expected[i]); !same) {
      return ::testing::AssertionFailure() << "segment " << i << ": " << same.message();
    }
  }
  return ::testing::AssertionSuccess();
}

FolderContents Snapshot(const std::filesystem::path& folder) {
  FolderContents files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? ReadFile(entry.path().string()) : "<folder>";
  }
  return files;
}

::testing::AssertionResult SameFolder(const FolderContents& actual,
                                      const FolderContents& expected) {
  std::string differences;
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) {
      differences += " missing " + name + ";";
    } else if (const ::testing::AssertionResult same = SameBytes(found->second, bytes); !same) {
      differences += " " + name + ": " + same.message() + ";";
    }
  }
  for (const auto& [name, bytes] : actual) {
    if (!expected.count(name)) differences += " unexpected " + name + ";";
  }
  if (differences.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "folders differ:" << differences;
}

std::string ResultWords(const std::vector<PhotoOutcome>& outcomes) {
  std::string words;
  for (const PhotoOutcome& outcome : outcomes) {
    std::ostringstream word;
    PrintTo(outcome.result, &word);
    words += (words.empty() ? "" : " ") + word.str();
  }
  return words;
}

}  // namespace test
}  // namespace tagloom
