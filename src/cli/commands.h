// The subcommands of tagloom-cli. Each returns the process exit status.
#pragma once

#include <string>
#include <utility>
#include <vector>

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
};
int RunShow(const ShowOptions& options);

struct SetOptions {
  std::string photo;
  // Field index and the text typed into it, in the order given.
  std::vector<std::pair<int, std::string>> fields;
  bool yes = false;
};
int RunSet(const SetOptions& options);

struct BackupRestoreOptions {
  std::vector<std::string> photos;
  bool yes = false;
};
// One photograph in single mode, several as a batch over that list.
int RunBackup(const BackupRestoreOptions& options);
int RunRestore(const BackupRestoreOptions& options);

}  // namespace tagloom::cli
