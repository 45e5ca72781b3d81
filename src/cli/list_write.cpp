// tagloom-cli's writes to several photographs, and shift: each a list write
// of the Session, or only its preview with --dry-run.
#include "cli/list_write.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/list_report.h"
#include "cli/terminal_host.h"

namespace tagloom::cli {

int ExitStatus(Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return kExitOk;
    case Outcome::kDeclined:
    case Outcome::kStopped:
      return kExitNotConfirmed;
    case Outcome::kFailed:
      break;
  }
  return kExitFailed;
}

bool PrintReport(std::string_view report) {
  std::fwrite(report.data(), 1, report.size(), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "tagloom-cli: cannot write the report: %s\n", std::strerror(errno));
  return false;
}

int RunListWrite(const std::vector<std::string>& photos, const EditsFor& edits,
                 const ListRunOptions& options) {
  TerminalHost host(options.yes);
  Session session(host);
  session.keepAll = options.keepAll;
  if (options.dryRun) {
    ListPreview preview = session.PreviewList(photos, edits);
    preview.keepAll = options.keepAll;
    if (!PrintReport(options.json ? PreviewJson(preview) : PreviewText(preview))) {
      return kExitFailed;
    }
    const bool refused = std::any_of(preview.photos.begin(), preview.photos.end(),
                                     [](const PhotoPlan& photo) { return !photo.problem.empty(); });
    return refused ? kExitFailed : kExitOk;
  }
  const Outcome outcome = session.WriteToList(photos, edits);
  if (!options.json) return ExitStatus(outcome);
  // Not confirmed: no photograph was reached, and scripts still get one object each.
  std::vector<PhotoOutcome> outcomes = session.lastRun.outcomes;
  if (outcomes.empty()) {
    for (const std::string& photo : photos)
      outcomes.push_back({photo, PhotoResult::kNotReached, {}, {}});
  }
  return PrintReport(OutcomesJson(outcomes)) ? ExitStatus(outcome) : kExitFailed;
}

int RunShift(const ShiftOptions& options) {
  if (!options.by && !options.start) return kExitUsage;
  const EditsFor edits = options.by ? Session::DateShift(*options.by)
                                    : Session::DateSequence(*options.start, options.step,
                                                            options.reverse, options.photos.size());
  return RunListWrite(options.photos, edits,
                      {options.dryRun, options.json, options.yes, options.keepAll});
}

int RunApply(const ApplyOptions& options) {
  TerminalHost host(options.yes);
  Session session(host);
  session.keepAll = options.keepAll;
  if (options.dryRun) {
    std::optional<TablePreview> preview = session.PreviewTable(options.table, options.photos);
    if (!preview) return kExitFailed;
    preview->list.keepAll = options.keepAll;
    if (!PrintReport(options.json ? TablePreviewJson(*preview) : TablePreviewText(*preview))) {
      return kExitFailed;
    }
    const bool refused =
        !preview->leftRows.empty() ||
        std::any_of(preview->list.photos.begin(), preview->list.photos.end(),
                    [](const PhotoPlan& photo) { return !photo.problem.empty(); });
    return refused ? kExitFailed : kExitOk;
  }
  const Outcome outcome = session.ApplyTable(options.table, options.photos);
  if (options.json && !PrintReport(OutcomesJson(session.lastRun.outcomes))) return kExitFailed;
  return ExitStatus(outcome);
}

}  // namespace tagloom::cli
