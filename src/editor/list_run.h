// A run over a list of photographs (a write, new dates, a batch backup or
// restore): what it will change in each, shown before anything is written,
// what became of each photograph, and the summary of it all.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tagloom {

// What a run does to each photograph.
enum class RunKind { kWrite, kBackup, kRestore };

// One field of one photograph: the text it shows, and the text it is to get.
struct FieldChange {
  int field = 0;  // index of txtExif
  std::string before, after;
};

struct PhotoPlan {
  std::string path;
  std::vector<FieldChange> changes;  // none: the photograph already holds the texts
  std::string problem;               // why it cannot be written; "" when it can
  std::string notKept;               // what its new block will not carry over, one item a line
  int sameAs = -1;                   // the earlier entry naming the same photograph, -1 for none
  // Carrying everything else the block held: what it keeps, and what it
  // still cannot carry, one item a line.
  std::string kept, notKeptAll;
};

struct ListPreview {
  std::vector<PhotoPlan> photos;
  // Which photograph is on show (index into `photos`), -1 for none.
  int shown = -1;
  // Whether every new block carries everything else its block held: as
  // offered, then as the person left it.
  bool keepAll = false;
};

// The preview of a table applied to photographs: the list's preview, each
// photograph's row (its line in the file, -1 for none), the rows no
// photograph takes and the columns that give nothing, each with why; and
// whether (and by how many rows) the rows slide against the photographs.
struct TablePreview {
  ListPreview list;
  std::vector<int> lineOf;
  std::vector<std::string> leftRows;
  std::vector<std::string> unusedColumns;
  bool slides = false;
  int offset = 0;
};

// The answer to a preview: write the list, only the photograph on show, or nothing.
enum class ListAnswer { kAll, kOnlyShown, kNone };

// What became of one photograph of a run over the list.
enum class PhotoResult {
  kDone,        // written (backed up, restored)
  kUnchanged,   // it already held what was to be written: nothing written
  kSkipped,     // nothing to do for it (no block to back up, no backup, listed before)
  kMissing,     // not there, or no photograph at all
  kRefused,     // refused or failed: see the reason
  kNotReached,  // the person stopped the run before it
};

struct PhotoOutcome {
  std::string path;
  PhotoResult result = PhotoResult::kNotReached;
  std::string reason;                // why it was refused, missing or skipped
  std::vector<FieldChange> changes;  // what a write changed in it
};

// What a run came to: its counts as a message, and every photograph's outcome.
struct RunSummary {
  RunKind kind = RunKind::kWrite;
  std::string title;
  std::string text;  // the counts, a line each (CR LF), then what else the run tells
  std::vector<PhotoOutcome> outcomes;
};

// How many of the outcomes are one of `results`.
inline std::int64_t CountOf(const std::vector<PhotoOutcome>& outcomes,
                            std::initializer_list<PhotoResult> results) {
  return std::count_if(outcomes.begin(), outcomes.end(), [&](const PhotoOutcome& o) {
    return std::find(results.begin(), results.end(), o.result) != results.end();
  });
}

}  // namespace tagloom
