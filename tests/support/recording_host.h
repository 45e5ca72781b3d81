// A Host for tests: it records every call and answers questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/host.h"

namespace tagloom::test {

struct Message {
  std::string text;
  std::string title;
  MessageIcon icon;
  bool question;  // asked with Yes and No, rather than told with OK
};

class RecordingHost : public Host {
 public:
  // Answers for the next questions, in order; once they run out, Yes.
  std::deque<bool> answers;
  std::vector<Message> messages;
  std::vector<std::string> progress;  // "show", "hide", "init 1 100", "set 5", "yield"
  std::vector<std::string> previews;
  int busyDepth = 0;
  bool previewLoads = true;

  bool AskYesNo(std::string_view text, std::string_view title, MessageIcon icon) override {
    messages.push_back({std::string(text), std::string(title), icon, true});
    if (answers.empty()) return true;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Tell(std::string_view text, std::string_view title, MessageIcon icon) override {
    messages.push_back({std::string(text), std::string(title), icon, false});
  }
  void ShowBar(bool visible) override { progress.push_back(visible ? "show" : "hide"); }
  void InitBar(std::int64_t min, std::int64_t max) override {
    progress.push_back("init " + std::to_string(min) + " " + std::to_string(max));
  }
  void SetBar(std::int64_t value) override { progress.push_back("set " + std::to_string(value)); }
  void Yield() override { progress.push_back("yield"); }
  void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
  bool LoadPreview(const std::string& path) override {
    previews.push_back(path);
    return previewLoads;
  }
};

}  // namespace tagloom::test
