// tagloom-cli set, backup and restore: the write, backup and restore buttons.
#include <iostream>

#include "cli/commands.h"
#include "cli/terminal_host.h"
#include "editor/session.h"

namespace tagloom::cli {
namespace {

// Opens one photograph as the editor does; false (its message shown) when it
// cannot be opened.
bool Open(Session& session, TerminalHost& host, const std::string& path) {
  host.SetSubject(path);
  session.Text1 = path;
  session.DrawImage();
  return !session.ImageFileName.empty();
}

// Hands a list to the Session as the editor takes over dropped files, with
// batch mode on.
void TakeOverList(Session& session, TerminalHost& host, const std::vector<std::string>& photos) {
  session.lstDragFiles.Clear();
  for (const std::string& photo : photos) session.lstDragFiles.Append(photo);
  session.chkBatch = true;
  host.SetSubject("");
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

// The backup or restore button on the photographs given.
int RunButton(const BackupRestoreOptions& options, bool backup) {
  TerminalHost host(options.yes);
  Session session(host);
  if (options.photos.size() > 1) {
    TakeOverList(session, host, options.photos);
    return ExitStatus(backup ? session.cmdBackup_Click() : session.cmdRestore_Click());
  }
  const std::string& photo = options.photos.front();
  if (!Open(session, host, photo)) return kExitFailed;
  // The button is there only when it has something to do.
  if (backup && !session.cmdBackup.visible) {
    std::cerr << photo << ": the photograph has no EXIF block of its own to back up\n";
    return kExitFailed;
  }
  if (!backup && !session.cmdRestore.visible) {
    std::cerr << photo << ": the photograph has no backup file to restore from\n";
    return kExitFailed;
  }
  return ExitStatus(backup ? session.cmdBackup_Click() : session.cmdRestore_Click());
}

}  // namespace

int RunSet(const SetOptions& options) {
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
