#include <iostream>

#include "cli/commands.h"
#include "cli/photo_report.h"
#include "cli/terminal_host.h"
#include "editor/session.h"

namespace tagloom::cli {

// Opens each photograph as the editor does and prints what it would show.
int RunShow(const ShowOptions& options) {
  TerminalHost host;
  int status = kExitOk;
  bool first = true;
  if (options.json) std::cout << "[";
  for (const std::string& path : options.photos) {
    Session session(host);
    host.SetSubject(path);
    session.Text1 = path;
    session.DrawImage();
    if (session.ImageFileName.empty()) {  // the photograph could not be opened
      status = kExitFailed;
      continue;
    }
    if (options.json) {
      std::cout << (first ? "\n" : ",\n") << ReportJson(session, path);
    } else {
      std::cout << (first ? "" : "\n") << ReportText(session, path, options.inspect);
    }
    first = false;
  }
  if (options.json) std::cout << (first ? "]\n" : "\n]\n");
  return status;
}

}  // namespace tagloom::cli
