#include "cli/terminal_host.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "cli/list_report.h"
#include "cli/terminal_text.h"
#include "editor/run_summary.h"
#include "editor/texts.h"
#include "model/value_text.h"

namespace tagloom::cli {

TerminalHost::TerminalHost(bool assumeYes)
    : assumeYes_(assumeYes), progressOnTerminal_(::isatty(STDERR_FILENO) == 1) {}

bool TerminalHost::Ask(const Question& question) {
  if (assumeYes_) return true;
  if (::isatty(STDIN_FILENO) != 1) {
    std::cerr << PrintableMessage(question.text) << "\n"
              << "(not asked: no terminal; answer with --yes)\n";
    return false;
  }
  if (!question.details.empty()) std::cerr << PrintableMessage(question.details);
  std::cerr << "[" << question.title << "] " << PrintableMessage(question.text) << " [y/N] "
            << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

std::string MessageLine(std::string_view subject, std::string_view text, std::string_view title) {
  std::string line = subject.empty() ? std::string() : Printable(BytesToText(subject)) + ": ";
  if (title != text::kAppTitle) line += "[" + std::string(title) + "] ";
  return line + PrintableMessage(text) + "\n";
}

void TerminalHost::Tell(std::string_view text, std::string_view title, MessageIcon,
                        std::string_view details) {
  if (barShown_ && progressOnTerminal_) std::cerr << "\r\033[K";
  // A run's details are its photographs' outcomes, one a line, before its summary.
  if (!details.empty()) std::cerr << PrintableMessage(details);
  std::cerr << MessageLine(subject_, text, title);
  lastMessage_ = TerminalText(text);
}

void TerminalHost::ShowSummary(const RunSummary& summary) {
  if (barShown_ && progressOnTerminal_) std::cerr << "\r\033[K";
  std::string lines;
  for (const PhotoOutcome& outcome : summary.outcomes) {
    // Control characters in a name (a line feed among them) stay escaped:
    // one photograph, one line.
    AppendPrintable(lines, BytesToText(OutcomeLine(outcome, summary.kind)));
    lines += '\n';
  }
  std::cerr << lines << MessageLine({}, summary.text, summary.title);
  lastMessage_ = TerminalText(summary.text);
}

ListAnswer TerminalHost::ConfirmTable(TablePreview& preview,
                                      const std::function<TablePreview(int)>&) {
  if (!assumeYes_ && ::isatty(STDIN_FILENO) == 1) std::cerr << TablePreviewText(preview);
  return AskYesNo(text::kListPreviewQuestion, text::kListPreviewTitle, MessageIcon::kQuestion, {})
             ? ListAnswer::kAll
             : ListAnswer::kNone;
}

ListAnswer TerminalHost::ConfirmList(ListPreview& preview) {
  if (!assumeYes_ && ::isatty(STDIN_FILENO) == 1) std::cerr << PreviewText(preview);
  return AskYesNo(text::kListPreviewQuestion, text::kListPreviewTitle, MessageIcon::kQuestion, {})
             ? ListAnswer::kAll
             : ListAnswer::kNone;
}

void TerminalHost::ShowBar(bool visible) {
  if (barShown_ && !visible && progressOnTerminal_ && lastPercent_ >= 0) std::cerr << "\r\033[K";
  barShown_ = visible;
  lastPercent_ = -1;
}

void TerminalHost::InitBar(std::int64_t min, std::int64_t max) {
  barMin_ = min;
  barMax_ = max;
  barValue_ = min;
  DrawBar();
}

void TerminalHost::SetBar(std::int64_t value) {
  barValue_ = value;
  DrawBar();
}

void TerminalHost::SetBarText(std::string_view text) {
  barText_ = text;
  lastPercent_ = -1;
  DrawBar();
}

void TerminalHost::DrawBar() {
  if (!barShown_ || !progressOnTerminal_ || barMax_ <= barMin_) return;
  int percent = static_cast<int>((barValue_ - barMin_) * 100 / (barMax_ - barMin_));
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  std::cerr << "\r\033[K" << Printable(BytesToText(barText_.empty() ? subject_ : barText_)) << " "
            << percent << "%" << std::flush;
}

}  // namespace tagloom::cli
