// Assertions that say what differs, and words for the outcomes a test
// compares: a failing check names the first differing byte, the files that
// differ between two folders, "refused" rather than "4".
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <string>

#include "editor/list_run.h"
#include "editor/session_types.h"
#include "writer/write_result.h"

namespace tagloom {

// gtest prints these by name.
void PrintTo(PhotoResult result, std::ostream* out);
void PrintTo(Outcome outcome, std::ostream* out);
void PrintTo(WriteResult::Problem problem, std::ostream* out);

namespace test {

// Equal bytes, or where they first differ (offset, both bytes, both lengths).
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);

// Equal to `before` or to `after` (a file after a crash or a failure), or
// where it first differs from each.
::testing::AssertionResult OldOrNew(const std::string& actual, const std::string& before,
                                    const std::string& after);

// Equal lists of segments, or their counts, or the first that differs and where.
::testing::AssertionResult SameSegments(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected);

// Every file of a folder with its content ("<folder>" for a folder).
using FolderContents = std::map<std::string, std::string>;
FolderContents Snapshot(const std::filesystem::path& folder);

// Equal folders, or which names are missing, unexpected or have other bytes.
::testing::AssertionResult SameFolder(const FolderContents& actual, const FolderContents& expected);

// Each outcome's result in order, as words: "written unchanged refused".
std::string ResultWords(const std::vector<PhotoOutcome>& outcomes);

}  // namespace test
}  // namespace tagloom
