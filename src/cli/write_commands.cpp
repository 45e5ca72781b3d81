// tagloom-cli set, backup and restore: the write, backup and restore buttons;
// set on several photographs is a write to that list.
#include <iostream>
#include <optional>

#include "cli/commands.h"
#include "cli/list_report.h"
#include "cli/list_write.h"
#include "cli/terminal_host.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/display_conversion.h"
#include "model/edit_back.h"
#include "model/value_text.h"

namespace tagloom::cli {
namespace {

// Opens one photograph as the editor does; false (its message shown) when it
// cannot be opened.
bool Open(Session& session, TerminalHost& host, const std::string& path) {
  host.SetSubject(path);
  session.DrawImage(path);
  return session.PhotoFound();
}

// The backup or restore button on the photographs given: one is the
// photograph on show, several a batch over them, as a drop of them would be.
int RunButton(const BackupRestoreOptions& options, bool backup) {
  TerminalHost host(options.yes);
  Session session(host);
  session.refuseDoubtfulChanges = true;
  if (options.photos.size() > 1) {
    for (const std::string& photo : options.photos) session.lstDragFiles.Append(photo);
    session.DoDrop();
    session.SetBatch(true);
  } else if (!Open(session, host, options.photos.front())) {
    return kExitFailed;
  }
  host.SetSubject(options.photos.size() > 1 ? "" : options.photos.front());
  return ExitStatus(backup ? session.cmdBackup_Click() : session.cmdRestore_Click());
}

// The same texts for every photograph. A date is given as the date field
// shows one, so that a photograph already holding it is left unchanged.
EditsFor SameTexts(const std::vector<std::pair<int, std::string>>& fields) {
  PhotoEdits edits;
  for (const auto& [field, text] : fields) {
    const std::optional<DateTime> date = field == field::kDate ? ReadDate(text) : std::nullopt;
    edits.texts[static_cast<std::size_t>(field)] = date ? FieldDateText(*date) : text;
  }
  return [edits](const Session&, std::size_t) { return edits; };
}

// The write button on one photograph; with --json, its outcome as a list
// write's would be.
int WriteOne(const SetOptions& options) {
  const std::string& photo = options.photos.front();
  TerminalHost host(options.yes);
  Session session(host);
  session.refuseDoubtfulChanges = true;
  session.keepAll = options.keepAll;
  PhotoOutcome outcome{photo, PhotoResult::kMissing, {}, {}};
  int status = kExitFailed;
  if (Open(session, host, photo)) {
    for (const auto& [field, text] : options.fields) session.SetFieldText(field, text);
    const Outcome written = session.cmdExifWrite_Click();
    status = ExitStatus(written);
    outcome.result = written == Outcome::kDone     ? PhotoResult::kDone
                     : written == Outcome::kFailed ? PhotoResult::kRefused
                                                   : PhotoResult::kNotReached;
  }
  if (outcome.result == PhotoResult::kMissing || outcome.result == PhotoResult::kRefused) {
    outcome.reason = host.LastMessage();
  }
  if (options.json && !PrintReport(OutcomesJson({outcome}))) return kExitFailed;
  return status;
}

}  // namespace

int RunSet(const SetOptions& options) {
  if (options.photos.size() == 1 && !options.dryRun) return WriteOne(options);
  return RunListWrite(options.photos, SameTexts(options.fields),
                      {options.dryRun, options.json, options.yes, options.keepAll});
}

int RunBackup(const BackupRestoreOptions& options) {
  return RunButton(options, true);
}

int RunRestore(const BackupRestoreOptions& options) {
  return RunButton(options, false);
}

}  // namespace tagloom::cli
