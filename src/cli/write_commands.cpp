// tagloom-cli set, backup and restore: the write, backup and restore buttons.
#include <iostream>

#include "cli/commands.h"
#include "cli/terminal_host.h"
#include "editor/session.h"
#include "editor/texts.h"
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

int ExitStatus(Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return kExitOk;
    case Outcome::kDeclined:
      return kExitNotConfirmed;
    case Outcome::kFailed:
      break;
  }
  return kExitFailed;
}

// The backup or restore button on the photographs given: one is the
// photograph on show, several a batch over them, as a drop of them would be.
int RunButton(const BackupRestoreOptions& options, bool backup) {
  TerminalHost host(options.yes);
  Session session(host);
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

}  // namespace

int RunSet(const SetOptions& options) {
  // A date the conversion cannot read would be written as its default date.
  for (const auto& [field, text] : options.fields) {
    if (field == field::kDate && !TrimBlanks(text).empty() && !ReadDateText(text)) {
      std::cerr << MessageLine(options.photo,
                               std::string(text::kDateFormatWrong) + " " + text +
                                   " (2001/05/12 14:30:00)",
                               text::kDateFormatWrongTitle);
      return kExitFailed;
    }
  }
  TerminalHost host(options.yes);
  Session session(host);
  if (!Open(session, host, options.photo)) return kExitFailed;
  for (const auto& [field, text] : options.fields) session.SetFieldText(field, text);
  return ExitStatus(session.cmdExifWrite_Click());
}

int RunBackup(const BackupRestoreOptions& options) {
  return RunButton(options, true);
}

int RunRestore(const BackupRestoreOptions& options) {
  return RunButton(options, false);
}

}  // namespace tagloom::cli
