#include "editor/run_summary.h"

#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/number_text.h"

namespace tagloom {
std::string_view ResultText(PhotoResult result, RunKind kind) {
  switch (result) {
    case PhotoResult::kDone:
      return kind == RunKind::kBackup    ? text::kListBackedUp
             : kind == RunKind::kRestore ? text::kListRestored
                                         : text::kListWritten;
    case PhotoResult::kUnchanged:
      return text::kListUnchanged;
    case PhotoResult::kSkipped:
      return text::kListSkipped;
    case PhotoResult::kMissing:
    case PhotoResult::kRefused:
      return text::kListRefused;
    case PhotoResult::kNotReached:
      break;
  }
  return text::kListNotReached;
}

std::string ChangesText(const std::vector<FieldChange>& changes) {
  std::string out;
  for (const FieldChange& change : changes) {
    std::string caption(kFields[static_cast<std::size_t>(change.field)].caption);
    if (caption.ends_with(':')) caption.pop_back();
    out += out.empty() ? "" : "; ";
    out += text::Join({caption, " ", change.before.empty() ? text::kEmptyValue : change.before,
                       " → ", change.after.empty() ? text::kEmptyValue : change.after});
  }
  return out;
}

std::string OutcomeLine(const PhotoOutcome& outcome, RunKind kind) {
  std::string line = text::Join({outcome.path, ": ", ResultText(outcome.result, kind)});
  if (!outcome.reason.empty()) line += text::Join({" ", outcome.reason});
  if (outcome.result == PhotoResult::kDone && !outcome.changes.empty()) {
    line += text::Join({" (", ChangesText(outcome.changes), ")"});
  }
  return line;
}

RunSummary SummaryOf(RunKind kind, std::vector<PhotoOutcome> outcomes, const std::locale& locale,
                     const std::string& notes) {
  auto count = [&](std::initializer_list<PhotoResult> results) {
    return CountOf(outcomes, results);
  };
  const auto all = static_cast<std::int64_t>(outcomes.size());
  const std::int64_t done = count({PhotoResult::kDone});
  const std::int64_t refused = count({PhotoResult::kRefused});
  struct Line {
    std::string_view label;
    std::int64_t count;
  };
  std::string_view heading;
  std::vector<Line> lines;
  switch (kind) {
    case RunKind::kWrite:
      heading = text::kListSummary;
      lines = {{text::kFilesProcessed, all},
               {text::kListWrittenCount, done},
               {text::kListUnchangedCount, count({PhotoResult::kUnchanged})},
               {text::kListRefusedCount, refused + count({PhotoResult::kMissing})}};
      break;
    case RunKind::kBackup:
      heading = text::kBackupSummary;
      lines = {{text::kFilesProcessed, all},
               {text::kWithExif, done + refused},
               {text::kBackedUp, done},
               {text::kBackupFailedCount, refused}};
      break;
    case RunKind::kRestore:
      heading = text::kRestoreSummary;
      lines = {{text::kFilesProcessed, all},
               {text::kBackupsFound, done + refused},
               {text::kStored, done},
               {text::kStoreFailedCount, refused}};
      break;
  }
  if (const std::int64_t left = count({PhotoResult::kNotReached}); left > 0) {
    lines.push_back({text::kListNotReachedCount, left});
  }
  std::string summary = text::Join({heading, text::kCrLf});
  for (const Line& line : lines) {
    summary += text::Join({line.label, GroupedText(line.count, locale), text::kCrLf});
  }
  return {kind, std::string(text::kBatchResultTitle), summary + notes, std::move(outcomes)};
}

}  // namespace tagloom
