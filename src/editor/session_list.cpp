// A run over a list: the one frame of writes, new dates, batch backups and
// restores. Each photograph is loaded and planned by a Session of its own
// (so the one on show keeps its fields, and the person's edits, until the
// run ends and it is read afresh), staged under temporary names, and made
// durable with the others of its group by one sync; a photograph counts as
// written only once its group is in place.
#include <algorithm>
#include <chrono>
#include <numeric>
#include <utility>

#include "editor/quiet_host.h"
#include "editor/reasons.h"
#include "editor/run_summary.h"
#include "editor/session.h"
#include "editor/texts.h"
#include "model/exif_date.h"
#include "model/number_text.h"
#include "model/path_name.h"
#include "model/value_text.h"
#include "reader/backup_format.h"

namespace tagloom {
namespace {

// How large a group grows before it is made durable: small enough that a
// sync never keeps the run from showing its progress for long, large
// enough that a list of small photographs costs few syncs.
constexpr std::size_t kGroupPhotos = 64;
constexpr std::int64_t kGroupBytes = 64 << 20;
constexpr std::chrono::milliseconds kGroupTime(250);
// The most bytes of new segments a preview keeps for the run that follows it.
constexpr std::int64_t kPlannedBytes = 64 << 20;

// The Host of a Session that works on one photograph of a run: it talks to
// nobody and only lets the window breathe.
class RunHost : public QuietHost {
 public:
  explicit RunHost(Host& window) : window_(window) {}
  void Yield() override { window_.Yield(); }

 private:
  Host& window_;
};

// A run's copies: the bytes staged so far, and the window let breathe now
// and then during a large one.
class RunProgress : public CopyProgress {
 public:
  explicit RunProgress(Host& host) : host_(host) {}
  void Start(std::int64_t total) override { bytes += total; }
  void Advance(std::int64_t) override {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(20)) return;
    last_ = now;
    host_.Yield();
  }
  std::int64_t bytes = 0;

 private:
  Host& host_;
  std::chrono::steady_clock::time_point last_;
};

// Whether a field's new text says what it holds: a date as any form of the
// same date ("2001:02:28 10:00" and "2001/02/28 10:00:00").
bool SameText(int field, const std::string& wanted, const std::string& held) {
  if (wanted == held) return true;
  if (field != field::kDate) return false;
  const std::optional<DateTime> a = ReadDate(wanted), b = ReadDate(held);
  return a && a == b;
}

}  // namespace

std::vector<int> Session::SameAsEarlier(const std::vector<std::string>& photos) {
  std::vector<int> same(photos.size(), -1);
  std::vector<std::pair<FileIdentity, int>> seen;
  seen.reserve(photos.size());
  for (std::size_t i = 0; i < photos.size(); ++i) {
    const std::optional<FileIdentity> identity = IdentityOfPath(photos[i]);
    if (!identity) continue;
    seen.emplace_back(*identity, static_cast<int>(i));
  }
  std::stable_sort(seen.begin(), seen.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t k = 1; k < seen.size(); ++k) {
    if (seen[k].first == seen[k - 1].first) {
      const int first = same[static_cast<std::size_t>(seen[k - 1].second)];
      same[static_cast<std::size_t>(seen[k].second)] = first >= 0 ? first : seen[k - 1].second;
    }
  }
  return same;
}

void Session::BecomePartOfRun(FolderNames& folders) {
  SetBatch(true);
  partOfRun_ = true;  // its messages go into the run's outcomes
  folders_ = &folders;
}

EditsFor Session::KeptAreas() const {
  PhotoEdits edits;
  for (int i = 0; i < kFieldCount; ++i) {
    const FieldInfo& info = kFields[static_cast<std::size_t>(i)];
    if (chkKeep[static_cast<std::size_t>(info.area)] && FieldRow(i) != row::kMakerNote) {
      edits.texts[static_cast<std::size_t>(i)] = txtExif[static_cast<std::size_t>(i)];
    }
  }
  return [edits](const Session&, std::size_t) { return edits; };
}

std::vector<std::string> Session::ListOrShown() const {
  std::vector<std::string> photos;
  for (int i = 0; i < lstDragFiles.Count(); ++i) photos.push_back(lstDragFiles.Row(i));
  if (photos.empty() && photoFound_) photos.push_back(ImageFileName);
  return photos;
}

PhotoPlan Session::PlanEdits(const std::string& path, std::size_t index, const EditsFor& edits,
                             bool carry, std::optional<NewBlock>* built) {
  PhotoPlan plan;
  plan.path = path;
  GetExifData(path);
  if (!photoFound_) {
    plan.problem = photoProblem_;
    return plan;
  }
  const PhotoEdits wanted = edits(*this, index);
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
  std::optional<NewBlock> made = BuildFromFields(carry);
  if (!made) {
    plan.problem = lastFailure_;
    return plan;
  }
  plan.problem = BackupDoubt(false);  // a run never asks: it refuses
  if (!plan.problem.empty()) return plan;
  (carry ? plan.notKeptAll : plan.notKept) = WhatIsNotKept(made->segment);
  plan.kept = WhatIsKept(made->segment);
  if (built) *built = std::move(made);
  return plan;
}

ListPreview Session::PreviewList(const std::vector<std::string>& photos, const EditsFor& edits) {
  ListPreview preview;
  RunHost host(host_);
  FolderNames folders;
  const std::vector<int> same = SameAsEarlier(photos);
  planned_.assign(photos.size(), std::nullopt);
  plannedFor_ = photos;
  std::int64_t plannedBytes = 0;
  for (std::size_t i = 0; i < photos.size(); ++i) {
    if (preview.shown < 0 && photoFound_ && photos[i] == ImageFileName) {
      preview.shown = static_cast<int>(i);
    }
    if (same[i] >= 0) {
      PhotoPlan listedBefore;
      listedBefore.path = photos[i];
      listedBefore.sameAs = same[i];
      preview.photos.push_back(std::move(listedBefore));
      continue;
    }
    Session one(host, fs_);
    one.BecomePartOfRun(folders);
    std::optional<NewBlock> built;
    PhotoPlan plan = one.PlanEdits(photos[i], i, edits, false, &built);
    if (built) {  // every check the write will make, nothing written
      const WriteResult check =
          CheckPhotoChange(one.ImageFileName, one.BackupFileName, one.ChangeFor(*built, true), fs_,
                           std::exchange(one.photo_, std::nullopt));
      if (!check.Ok())
        plan.problem = WriteFailureText(check, one.ImageFileName, one.BackupFileName);
      // What the block would keep, and not, with everything else carried.
      std::optional<NewBlock> carrying;
      if (plan.problem.empty() && one.ExifLoaded && (keepAll || host_.OffersKeepAllChoice())) {
        carrying = one.BuildFromFields(true);
        if (carrying) {
          plan.kept = WhatIsKept(carrying->segment);
          plan.notKeptAll = one.WhatIsNotKept(carrying->segment);
        } else {
          plan.problem = one.lastFailure_;
        }
      }
      // Kept for the run, as far as memory allows (a segment holds 64 KiB at most).
      if (plan.problem.empty() && plannedBytes < kPlannedBytes) {
        PlannedWrite& kept =
            planned_[i].emplace(PlannedWrite{one.ImageFileName, one.BackupFileName, plan.changes,
                                             one.ChangeFor(*built, true), std::nullopt});
        if (carrying) kept.carrying = one.ChangeFor(*carrying, true);
        plannedBytes += static_cast<std::int64_t>(kept.plain.segment.size() +
                                                  (carrying ? kept.carrying->segment.size() : 0));
      }
    }
    preview.photos.push_back(std::move(plan));
    if (i % 64 == 63) host_.Yield();
  }
  return preview;
}

std::vector<std::size_t> Session::ConfirmList(const std::vector<std::string>& photos,
                                              const EditsFor& edits, ListAnswer& answer) {
  ListPreview preview = PreviewList(photos, edits);
  preview.keepAll = keepAll;
  answer = host_.ConfirmList(preview);
  keepAll = preview.keepAll;  // the choice holds for the next write too
  std::vector<std::size_t> chosen;
  if (answer == ListAnswer::kOnlyShown && preview.shown >= 0) {
    chosen.push_back(static_cast<std::size_t>(preview.shown));
  } else if (answer == ListAnswer::kAll) {
    chosen.resize(preview.photos.size());
    std::iota(chosen.begin(), chosen.end(), std::size_t{0});
  }
  return chosen;
}

Outcome Session::WriteToList(const std::vector<std::string>& photos, const EditsFor& edits) {
  ActionGuard action(*this);
  if (!action) return Outcome::kDeclined;
  if (photos.empty()) {
    host_.Tell(text::kNoImageFile, text::kAppTitle, MessageIcon::kNone);
    return Outcome::kFailed;
  }
  ListAnswer answer = ListAnswer::kNone;
  const std::vector<std::size_t> chosen = ConfirmList(photos, edits, answer);
  if (chosen.empty()) return Outcome::kDeclined;
  return RunList(photos, chosen, {RunKind::kWrite, edits, keepAll, {}});
}

std::unique_ptr<Staged> Session::StageOne(const std::string& path, std::size_t index,
                                          const ListTask& task, CopyProgress& progress,
                                          PhotoOutcome& outcome) {
  auto decided = [&](PhotoResult result, std::string reason) -> std::unique_ptr<Staged> {
    outcome.result = result;
    outcome.reason = std::move(reason);
    return nullptr;
  };
  PhotoChange change;
  change.restore = task.kind == RunKind::kRestore;
  if (task.kind == RunKind::kWrite) {
    std::optional<NewBlock> built;
    const PhotoPlan plan = PlanEdits(path, index, task.edits, task.keepAll, &built);
    outcome.changes = plan.changes;
    if (!plan.problem.empty() || !photoFound_) {
      return decided(openFailure_.problem != OpenProblem::kNone ? PhotoResult::kMissing
                                                                : PhotoResult::kRefused,
                     plan.problem);
    }
    if (plan.changes.empty()) return decided(PhotoResult::kUnchanged, {});
    change = ChangeFor(*built, true);
  } else {
    placeOnly_ = task.kind == RunKind::kBackup;
    GetExifData(path);
    if (!photoFound_) {
      return decided(openFailure_.problem != OpenProblem::kNone ? PhotoResult::kMissing
                                                                : PhotoResult::kRefused,
                     photoProblem_);
    }
    const bool backup = task.kind == RunKind::kBackup;
    if (backup ? !OwnSegment() : !BackupAvailable) {
      return decided(
          PhotoResult::kSkipped,
          text::Join({backup ? text::kNothingToBackUp : text::kNoBackupToRestore, ImageFileName}));
    }
    // A backup name another photograph beside it shares serves neither.
    if (std::string doubt = BackupDoubt(true); !doubt.empty()) {
      return decided(PhotoResult::kRefused, std::move(doubt));
    }
    change.readAs = photoStamp_;
  }
  WriteResult result;
  std::unique_ptr<Staged> staged =
      task.kind == RunKind::kBackup
          ? (photo_ ? StageBackupFrom(*photo_, *OwnSegment(), BackupFileName, fs_, progress, false,
                                      result)
                    : StageBackup(ImageFileName, *OwnSegment(), photoStamp_, BackupFileName, fs_,
                                  progress, false, result))
          : StagePhoto(ImageFileName, BackupFileName, change, fs_, progress, false, result);
  if (!staged)
    return decided(PhotoResult::kRefused, WriteFailureText(result, ImageFileName, BackupFileName));
  return staged;
}

bool Session::HasPlans(const std::vector<std::string>& photos, const ListTask& task) const {
  return task.kind == RunKind::kWrite && plannedFor_ == photos;
}

Outcome Session::RunList(const std::vector<std::string>& photos, const ListTask& task) {
  std::vector<std::size_t> all(photos.size());
  std::iota(all.begin(), all.end(), std::size_t{0});
  return RunList(photos, all, task);
}

Outcome Session::RunList(const std::vector<std::string>& photos,
                         const std::vector<std::size_t>& chosen, const ListTask& task) {
  const std::string shown = ImageFileName;
  std::vector<PhotoOutcome> outcomes(chosen.size());
  for (std::size_t k = 0; k < chosen.size(); ++k) outcomes[k].path = photos[chosen[k]];
  const std::vector<int> same = SameAsEarlier(photos);
  const bool plans = HasPlans(photos, task);
  FolderNames folders;
  RunHost host(host_);
  RunProgress progress(host_);
  CommitGroup group(fs_);
  std::vector<std::size_t> inGroup;   // the places of `outcomes` staged in the group
  std::vector<std::size_t> launched;  // and of those whose sync was launched
  auto groupStart = std::chrono::steady_clock::now();
  // The group launched before is put in place (its sync has mostly run while
  // this one was staged), and this one's sync begins.
  auto commit = [&] {
    const std::vector<WriteResult> results = group.Finish([&] { host_.Yield(); });
    for (std::size_t j = 0; j < results.size(); ++j) {
      PhotoOutcome& outcome = outcomes[launched[j]];
      outcome.result = results[j].Ok() ? PhotoResult::kDone : PhotoResult::kRefused;
      if (!results[j].Ok()) {
        outcome.reason =
            WriteFailureText(results[j], outcome.path, BackupFileNameFor(outcome.path));
      }
    }
    group.Launch();
    launched.swap(inGroup);
    inGroup.clear();
    progress.bytes = 0;
    groupStart = std::chrono::steady_clock::now();
  };
  ShowBar(true);
  InitBar(0, static_cast<std::int64_t>(chosen.size()));
  host_.OfferStop(true);
  for (std::size_t k = 0; k < chosen.size() && !host_.StopRequested(); ++k) {
    const std::size_t i = chosen[k];
    Bar.text = text::Join({IntegerText(static_cast<std::int64_t>(k + 1)), " / ",
                           IntegerText(static_cast<std::int64_t>(chosen.size())), "  ",
                           FileNameOf(photos[i])});
    host_.SetBarText(Bar.text);
    PhotoOutcome& outcome = outcomes[k];
    if (same[i] >= 0) {
      outcome.result = PhotoResult::kSkipped;
      outcome.reason = text::Join({text::kSameAsListed, photos[static_cast<std::size_t>(same[i])]});
    } else {
      if (group.Size() == 0) groupStart = std::chrono::steady_clock::now();
      std::unique_ptr<Staged> staged;
      if (const PlannedWrite* plan = plans && planned_[i] ? &*planned_[i] : nullptr) {
        // As previewed: staged without reading and building it again.
        outcome.changes = plan->changes;
        WriteResult result;
        const PhotoChange& change = task.keepAll && plan->carrying ? *plan->carrying : plan->plain;
        staged =
            StagePhoto(plan->photoPath, plan->backupPath, change, fs_, progress, false, result);
        if (!staged) {
          outcome.result = PhotoResult::kRefused;
          outcome.reason = WriteFailureText(result, plan->photoPath, plan->backupPath);
        }
      } else {
        Session one(host, fs_);
        one.BecomePartOfRun(folders);
        staged = one.StageOne(photos[i], i, task, progress, outcome);
      }
      if (staged) {
        group.Add(std::move(staged));
        inGroup.push_back(k);
      }
    }
    SetBar(static_cast<std::int64_t>(k + 1));
    host_.Yield();
    if (group.Size() >= kGroupPhotos || progress.bytes >= kGroupBytes ||
        std::chrono::steady_clock::now() - groupStart >= kGroupTime) {
      commit();
    }
  }
  // A stop ends the run after what is staged.
  while (group.Size() > 0 || group.LaunchedSize() > 0) commit();
  planned_.clear();
  plannedFor_.clear();
  host_.OfferStop(false);
  ShowBar(false);
  const std::int64_t failed = CountOf(outcomes, {PhotoResult::kRefused});
  const std::int64_t missing = CountOf(outcomes, {PhotoResult::kMissing});
  const std::int64_t notReached = CountOf(outcomes, {PhotoResult::kNotReached});
  const auto count = static_cast<std::int64_t>(outcomes.size());
  lastRun = SummaryOf(task.kind, std::move(outcomes), numberLocale, task.notes);
  host_.ShowSummary(lastRun);
  // The photograph on show, read afresh: the run may have written it.
  if (!shown.empty()) DrawImage(shown);
  // A run failed when a photograph of it failed, or when not one was there.
  if (failed > 0 || (task.kind == RunKind::kWrite ? missing > 0 : missing == count && count > 0)) {
    return Outcome::kFailed;
  }
  return notReached > 0 ? Outcome::kStopped : Outcome::kDone;
}

}  // namespace tagloom
