// A Host with nobody to talk to: questions get a fixed answer and everything
// else is dropped. For readers that only look (tagloom-cli show, benchmarks)
// and for the Session of each photograph of a run.
#pragma once

#include "editor/host.h"

namespace tagloom {

class QuietHost : public Host {
 public:
  explicit QuietHost(bool answer = false) : answer_(answer) {}

  bool Ask(const Question&) override { return answer_; }
  void Tell(std::string_view, std::string_view, MessageIcon, std::string_view) override {}
  ListAnswer ConfirmList(ListPreview&) override {
    return answer_ ? ListAnswer::kAll : ListAnswer::kNone;
  }
  bool OffersKeepAllChoice() const override { return false; }
  ListAnswer ConfirmTable(TablePreview&, const std::function<TablePreview(int)>&) override {
    return answer_ ? ListAnswer::kAll : ListAnswer::kNone;
  }
  void ShowSummary(const RunSummary&) override {}
  EditsAnswer AskAboutEdits(std::string_view) override { return EditsAnswer::kDiscard; }
  void ShowBar(bool) override {}
  void InitBar(std::int64_t, std::int64_t) override {}
  void SetBar(std::int64_t) override {}
  void SetBarText(std::string_view) override {}
  void Yield() override {}
  void OfferStop(bool) override {}
  bool StopRequested() override { return false; }
  void SetBusy(bool) override {}
  std::optional<PictureSize> LoadPreview(const std::string&) override { return PictureSize{}; }
  void OpenExternally(const std::string&) override {}

 private:
  bool answer_;
};

}  // namespace tagloom
