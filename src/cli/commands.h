// The subcommands of tagloom-cli. Each returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace tagloom::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a photograph could not be read or changed
inline constexpr int kExitUsage = 2;

struct ShowOptions {
  std::vector<std::string> photos;
  bool inspect = false;
  bool json = false;
};
int RunShow(const ShowOptions& options);

}  // namespace tagloom::cli
