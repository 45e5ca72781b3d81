// A write to a list of photographs as tagloom-cli runs it: the Session's list
// write, or its preview alone, reported for people or for scripts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/session.h"

namespace tagloom::cli {

struct ListRunOptions {
  bool dryRun = false;   // print the preview, write nothing
  bool json = false;     // print for scripts on stdout
  bool yes = false;      // answer the preview's question Yes
  bool keepAll = false;  // carry everything else each block held
};

// Every photograph gets what `edits` gives it. Returns the exit status: 0 when
// each was written or unchanged (could be, for a dry run), 1 when any was
// refused or missing, 3 when the write was not confirmed.
int RunListWrite(const std::vector<std::string>& photos, const EditsFor& edits,
                 const ListRunOptions& options);

// The exit status of a button's outcome.
int ExitStatus(Outcome outcome);

// Writes a report to stdout; false, and said on stderr, when it could not be
// written (a full disk, a closed pipe).
bool PrintReport(std::string_view report);

}  // namespace tagloom::cli
