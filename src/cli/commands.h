// The subcommands of tagloom-cli. Each returns the process exit status.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/date_shift.h"

namespace tagloom::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a photograph could not be read or changed
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotConfirmed = 3;  // a question was declined or could not be asked

struct ShowOptions {
  std::vector<std::string> photos;
  bool inspect = false;
  bool json = false;
  bool csv = false;
};
int RunShow(const ShowOptions& options);

struct SetOptions {
  std::vector<std::string> photos;
  // Field index and the text typed into it, in the order given.
  std::vector<std::pair<int, std::string>> fields;
  bool dryRun = false;
  bool json = false;
  bool yes = false;
  bool keepAll = false;
};
// One photograph: the write button; several: the same texts written to each.
int RunSet(const SetOptions& options);

struct ShiftOptions {
  std::vector<std::string> photos;
  std::optional<DateOffset> by;   // every date moved by this
  std::optional<DateTime> start;  // or dates in sequence from this ...
  DateOffset step = 0;            // ... this many seconds apart
  bool reverse = false;           // the last photograph gets `start`
  bool dryRun = false;
  bool json = false;
  bool yes = false;
  bool keepAll = false;
};
int RunShift(const ShiftOptions& options);

struct ApplyOptions {
  std::string table;
  std::vector<std::string> photos;  // none: the photographs the table's file column names
  bool dryRun = false;
  bool json = false;
  bool yes = false;
  bool keepAll = false;
};
// Each row of the table written to its photograph, as a write to the list.
int RunApply(const ApplyOptions& options);

struct BackupRestoreOptions {
  std::vector<std::string> photos;
  bool yes = false;
};
// One photograph in single mode, several as a batch over that list.
int RunBackup(const BackupRestoreOptions& options);
int RunRestore(const BackupRestoreOptions& options);

}  // namespace tagloom::cli
