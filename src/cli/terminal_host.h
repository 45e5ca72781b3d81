// The Host of the command-line tool: messages on stderr, questions answered on
// the terminal or by --yes, progress as a line on a terminal.
#pragma once

#include <string>

#include "editor/quiet_host.h"

namespace tagloom::cli {

class TerminalHost : public QuietHost {
 public:
  // assumeYes: answer every question Yes without asking.
  explicit TerminalHost(bool assumeYes = false);

  // Names the photograph that messages are about.
  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  // The text of the last message told, CR LF as LF.
  const std::string& LastMessage() const { return lastMessage_; }

  bool Ask(const Question& question) override;
  void Tell(std::string_view text, std::string_view title, MessageIcon icon,
            std::string_view details) override;
  ListAnswer ConfirmList(ListPreview& preview) override;
  ListAnswer ConfirmTable(TablePreview& preview,
                          const std::function<TablePreview(int)>& slide) override;
  // A line per photograph, then the counts, on stderr.
  void ShowSummary(const RunSummary& summary) override;
  void ShowBar(bool visible) override;
  void InitBar(std::int64_t min, std::int64_t max) override;
  void SetBar(std::int64_t value) override;
  void SetBarText(std::string_view text) override;

 private:
  void DrawBar();

  bool assumeYes_;
  bool progressOnTerminal_;
  bool barShown_ = false;
  std::int64_t barMin_ = 0, barMax_ = 0, barValue_ = 0;
  int lastPercent_ = -1;
  std::string subject_;
  std::string barText_;
  std::string lastMessage_;
};

// A message as printed: the photograph it is about, the title when it is not
// the application's, the text, every control character escaped; ends with a
// line feed.
std::string MessageLine(std::string_view subject, std::string_view text, std::string_view title);

}  // namespace tagloom::cli
