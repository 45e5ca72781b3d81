// The Session's runs over the navigation list: the frame they share, and the
// write to every photograph of the list. Each photograph of a list write is
// loaded and written by a Session of its own, so the one on show keeps its
// fields (and the person's edits) until the run ends and it is read afresh.
#include <algorithm>

#include "editor/quiet_host.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/edit_back.h"
#include "model/number_text.h"
#include "model/value_text.h"
#include "writer/backup_writer.h"

namespace tagloom {
namespace {

// The Host of a Session that works on one photograph of a run: it talks to
// nobody (its Session runs in batch mode) and only lets the window breathe.
class RunHost : public QuietHost {
 public:
  explicit RunHost(Host& window) : window_(window) {}
  void Yield() override { window_.Yield(); }

 private:
  Host& window_;
};

// Whether a field's new text says what it holds: a date as any form of the
// same date ("2001:02:28 10:00" and "2001/02/28 10:00:00").
bool SameText(int field, const std::string& wanted, const std::string& held) {
  if (wanted == held) return true;
  if (field != field::kDate) return false;
  const std::optional<std::string> a = ReadDateText(wanted), b = ReadDateText(held);
  return a && a == b;
}

std::string_view ResultText(PhotoResult result) {
  switch (result) {
    case PhotoResult::kDone:
      return text::kListWritten;
    case PhotoResult::kUnchanged:
      return text::kListUnchanged;
    case PhotoResult::kSkipped:
      return text::kListSkipped;
    case PhotoResult::kMissing:
    case PhotoResult::kRefused:
      return text::kListRefused;
    case PhotoResult::kNotReached:
      break;
  }
  return text::kListNotReached;
}

// Every photograph's outcome, one line each.
std::string OutcomeLines(const std::vector<PhotoOutcome>& outcomes) {
  std::string lines;
  for (const PhotoOutcome& o : outcomes) {
    lines += text::Join({o.path, ": ", ResultText(o.result)});
    if (!o.reason.empty()) lines += text::Join({" ", o.reason});
    lines += text::kCrLf;
  }
  return lines;
}

}  // namespace

std::vector<PhotoOutcome> Session::WalkList(const std::function<PhotoResult(std::size_t)>& act) {
  std::vector<PhotoOutcome> outcomes;
  batchFailures_.clear();
  batchRunning_ = true;
  for (int i = 0; i < lstDragFiles.Count(); ++i) {
    PhotoOutcome& outcome = outcomes.emplace_back(PhotoOutcome{lstDragFiles.Row(i), {}, {}});
    GetExifData(outcome.path);
    lastFailure_.clear();
    outcome.result = photoFound_ ? act(outcomes.size() - 1) : PhotoResult::kMissing;
    outcome.reason = outcome.result == PhotoResult::kRefused ? lastFailure_ : std::string();
    host_.Yield();
  }
  batchRunning_ = false;
  return outcomes;
}

void Session::BecomePartOfRun() {
  SetBatch(true);
  batchRunning_ = true;  // its messages go into the run's outcomes
}

ListEditor Session::KeptAreas() const {
  ListEdit edit;
  for (int i = 0; i < kFieldCount; ++i) {
    const FieldInfo& info = kFields[static_cast<std::size_t>(i)];
    if (chkKeep[static_cast<std::size_t>(info.area)] && FieldRow(i) != row::kMakerNote) {
      edit.texts[static_cast<std::size_t>(i)] = txtExif[static_cast<std::size_t>(i)];
    }
  }
  return [edit](const Session&, std::size_t) { return edit; };
}

PhotoPlan Session::PlanOne(const std::string& path, std::size_t index, const ListEditor& edit,
                           std::optional<NewBlock>* built) {
  PhotoPlan plan{path, {}, {}, {}};
  GetExifData(path);
  if (!photoFound_) {
    plan.problem = openProblem_ == OpenProblem::kNotRegular
                       ? text::Join({text::kNotRegularFile, path})
                       : std::string(text::kNoImageFile);
    return plan;
  }
  const ListEdit wanted = edit(*this, index);
  if (!wanted.problem.empty()) {
    plan.problem = wanted.problem;
    return plan;
  }
  for (int i = 0; i < kFieldCount; ++i) {
    const std::optional<std::string>& text = wanted.texts[static_cast<std::size_t>(i)];
    const std::string& before = txtExif[static_cast<std::size_t>(i)];
    if (!text || SameText(i, *text, before)) continue;
    plan.changes.push_back({i, before, *text});
    SetFieldText(i, *text);
  }
  if (plan.changes.empty()) return plan;
  if (AllFieldsEmpty()) {
    plan.problem = text::kAllFieldsEmpty;
    return plan;
  }
  lastFailure_.clear();
  std::optional<NewBlock> made = BuildFromFields();
  if (!made) {
    plan.problem = lastFailure_;
    return plan;
  }
  plan.notKept = WhatIsNotKept(made->segment.makerNote);
  if (built) *built = std::move(made);
  return plan;
}

std::vector<std::string> Session::ListOrShown() const {
  std::vector<std::string> photos;
  for (int i = 0; i < lstDragFiles.Count(); ++i) photos.push_back(lstDragFiles.Row(i));
  if (photos.empty() && photoFound_) photos.push_back(ImageFileName);
  return photos;
}

ListPreview Session::PlanList(const std::vector<std::string>& photos, const ListEditor& edit) {
  ListPreview preview;
  RunHost host(host_);
  for (std::size_t i = 0; i < photos.size(); ++i) {
    Session one(host, fs_);
    one.BecomePartOfRun();
    preview.photos.push_back(one.PlanOne(photos[i], i, edit));
    if (preview.shown < 0 && photoFound_ && photos[i] == ImageFileName) {
      preview.shown = static_cast<int>(i);
    }
    if (i % 64 == 63) host_.Yield();
  }
  return preview;
}

PhotoOutcome Session::WriteOne(const std::string& path, std::size_t index, const ListEditor& edit) {
  std::optional<NewBlock> built;
  const PhotoPlan plan = PlanOne(path, index, edit, &built);
  if (!photoFound_) return {path, PhotoResult::kMissing, plan.problem};
  if (!plan.problem.empty()) return {path, PhotoResult::kRefused, plan.problem};
  if (plan.changes.empty()) return {path, PhotoResult::kUnchanged, {}};
  const std::optional<SegmentAt> own = OwnSegment();  // before the new block is taken over
  TakeOver(std::move(*built));
  lastFailure_.clear();
  if (Store(&ExifHeadBytes, own)) return {path, PhotoResult::kDone, {}};
  return {path, PhotoResult::kRefused, lastFailure_};
}

Outcome Session::WriteList(const std::vector<std::string>& photos, const ListEditor& edit,
                           OnlyShown onlyShown) {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (photos.empty()) {
    host_.Tell(text::kNoImageFile, text::kAppTitle, MessageIcon::kNone);
    return Outcome::kFailed;
  }
  const ListPreview preview = PlanList(photos, edit);
  std::vector<std::size_t> chosen;  // the places in the list to write
  switch (host_.ConfirmList(preview)) {
    case ListAnswer::kNone:
      return Outcome::kDeclined;
    case ListAnswer::kOnlyShown:
      if (onlyShown == OnlyShown::kItsFields || preview.shown < 0) return WriteShown();
      chosen.push_back(static_cast<std::size_t>(preview.shown));
      break;
    case ListAnswer::kAll:
      for (std::size_t i = 0; i < photos.size(); ++i) chosen.push_back(i);
      break;
  }
  return RunList(photos, chosen, edit);
}

Outcome Session::RunList(const std::vector<std::string>& photos,
                         const std::vector<std::size_t>& chosen, const ListEditor& edit) {
  const std::string shown = ImageFileName;
  listOutcomes.clear();
  RunHost host(host_);
  ShowBar(true);
  InitBar(0, static_cast<std::int64_t>(chosen.size()));
  host_.OfferStop(true);
  for (std::size_t i : chosen) {
    if (host_.StopRequested()) {
      listOutcomes.push_back({photos[i], PhotoResult::kNotReached, {}});
      continue;
    }
    Session one(host, fs_);
    one.BecomePartOfRun();
    listOutcomes.push_back(one.WriteOne(photos[i], i, edit));
    SetBar(static_cast<std::int64_t>(listOutcomes.size()));
    host_.Yield();
  }
  host_.OfferStop(false);
  ShowBar(false);
  const std::int64_t refused =
      CountOf(listOutcomes, {PhotoResult::kRefused, PhotoResult::kMissing});
  const std::int64_t notReached = CountOf(listOutcomes, {PhotoResult::kNotReached});
  std::string summary = text::Join({text::kListSummary, text::kCrLf});
  const std::pair<std::string_view, std::int64_t> lines[] = {
      {text::kFilesProcessed, static_cast<std::int64_t>(chosen.size())},
      {text::kListWrittenCount, CountOf(listOutcomes, {PhotoResult::kDone})},
      {text::kListUnchangedCount, CountOf(listOutcomes, {PhotoResult::kUnchanged})},
      {text::kListRefusedCount, refused},
      {text::kListNotReachedCount, notReached}};
  for (const auto& [label, count] : lines) {
    if (label == text::kListNotReachedCount && count == 0) continue;
    summary += text::Join({label, GroupedText(count, numberLocale), text::kCrLf});
  }
  host_.Tell(summary, text::kBatchResultTitle, MessageIcon::kNone, OutcomeLines(listOutcomes));
  // The photograph on show, read afresh: the run may have written it.
  if (!shown.empty()) DrawImage(shown);
  if (refused > 0) return Outcome::kFailed;
  return notReached > 0 ? Outcome::kDeclined : Outcome::kDone;
}

}  // namespace tagloom
