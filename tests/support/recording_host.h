// A Host for tests: it records every call and answers questions from a script.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/host.h"

namespace tagloom::test {

struct Message {
  std::string text, title;
  MessageIcon icon;
  std::string details = {};
  bool defaultNo = false;
};

class RecordingHost : public Host {
 public:
  std::deque<bool> answers;  // for the next questions, in order; then Yes
  std::vector<Message> messages;
  std::vector<std::string> progress;  // "show", "hide", "init 1 100", "set 5", "yield"
  std::vector<std::string> previews;
  std::optional<PictureSize> picture = PictureSize{1600, 1200};  // what every preview loads
  std::vector<std::string> opened;                               // by the desktop's program
  int busyDepth = 0;

  std::deque<bool> ticks;  // for the next questions' boxes to tick: tick or untick
  bool Ask(const Question& q) override {
    messages.push_back(
        {std::string(q.text), std::string(q.title), q.icon, std::string(q.details), q.defaultNo});
    if (q.option != nullptr && !ticks.empty()) {
      q.option->ticked = ticks.front();
      ticks.pop_front();
    }
    const bool answer = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void Tell(std::string_view text, std::string_view title, MessageIcon icon,
            std::string_view details) override {
    messages.push_back({std::string(text), std::string(title), icon, std::string(details)});
  }
  std::deque<ListAnswer> listAnswers;  // for the next previews, in order; then kAll
  std::deque<bool> listTicks;          // the keep-all box of the next previews
  std::vector<ListPreview> previewed;
  ListAnswer ConfirmList(ListPreview& preview) override {
    if (!listTicks.empty()) {
      preview.keepAll = listTicks.front();
      listTicks.pop_front();
    }
    previewed.push_back(preview);
    const ListAnswer answer = listAnswers.empty() ? ListAnswer::kAll : listAnswers.front();
    if (!listAnswers.empty()) listAnswers.pop_front();
    return answer;
  }
  bool OffersKeepAllChoice() const override { return true; }
  // The next table previews: slide the rows by this many (then answer kAll).
  std::deque<int> tableSlides;
  std::vector<TablePreview> tablesPreviewed;
  ListAnswer ConfirmTable(TablePreview& preview,
                          const std::function<TablePreview(int)>& slide) override {
    if (!tableSlides.empty()) {
      preview = slide(preview.offset + tableSlides.front());
      tableSlides.pop_front();
    }
    tablesPreviewed.push_back(preview);
    return listAnswers.empty() ? ListAnswer::kAll : ListAnswer::kNone;
  }
  std::vector<RunSummary> summaries;
  void ShowSummary(const RunSummary& summary) override { summaries.push_back(summary); }
  std::deque<EditsAnswer> editsAnswers;  // for the next questions about edits; then kStay
  std::vector<std::string> editsAsked;
  EditsAnswer AskAboutEdits(std::string_view text) override {
    editsAsked.emplace_back(text);
    const EditsAnswer answer = editsAnswers.empty() ? EditsAnswer::kStay : editsAnswers.front();
    if (!editsAnswers.empty()) editsAnswers.pop_front();
    return answer;
  }
  std::function<bool()> stop;  // asked between the photographs of a run
  bool stopOffered = false;
  void OfferStop(bool offered) override { stopOffered = offered; }
  bool StopRequested() override { return stop && stop(); }
  void ShowBar(bool visible) override { progress.push_back(visible ? "show" : "hide"); }
  void InitBar(std::int64_t min, std::int64_t max) override {
    progress.push_back("init " + std::to_string(min) + " " + std::to_string(max));
  }
  void SetBar(std::int64_t value) override { progress.push_back("set " + std::to_string(value)); }
  void SetBarText(std::string_view text) override { progress.push_back("at " + std::string(text)); }
  std::function<void()> onYield;  // runs at every yield, as events would
  void Yield() override {
    progress.push_back("yield");
    if (onYield) onYield();
  }
  void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
  std::optional<PictureSize> LoadPreview(const std::string& path) override {
    previews.push_back(path);
    return picture;
  }
  void OpenExternally(const std::string& path) override { opened.push_back(path); }
};

}  // namespace tagloom::test
