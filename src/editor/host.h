// What a Session cannot do itself: talk to the person, show progress, and
// show the picture. The Qt window, the command-line tool and the tests each
// implement it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/list_run.h"

namespace tagloom {

enum class MessageIcon { kNone, kQuestion, kInformation, kWarning, kCritical };

// A choice offered with a question, as a box to tick: what it says, whether
// it is ticked (as offered, then as the person left it), and the details
// that the question tells while it is ticked.
struct QuestionOption {
  std::string_view text;
  bool ticked = false;
  std::string_view detailsTicked;
};

// A question with Yes and No buttons.
struct Question {
  std::string_view text, title;
  MessageIcon icon = MessageIcon::kNone;
  std::string_view details;  // tells more to whoever asks for it; may be empty
  bool defaultNo = false;    // No is the default: Yes may cost the person something
  QuestionOption* option = nullptr;
};

// What to do with edits that were typed and not written, before leaving the
// photograph they were typed for.
enum class EditsAnswer { kWrite, kDiscard, kStay };

// A picture's width and height, upright, in any unit (only the ratio counts).
struct PictureSize {
  std::int64_t width = 0, height = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // True for Yes.
  virtual bool Ask(const Question& question) = 0;
  bool AskYesNo(std::string_view text, std::string_view title, MessageIcon icon,
                std::string_view details) {
    return Ask({text, title, icon, details});
  }
  // A message with an OK button only; `details` (may be empty) as with a question.
  virtual void Tell(std::string_view text, std::string_view title, MessageIcon icon,
                    std::string_view details) = 0;
  void Tell(std::string_view text, std::string_view title, MessageIcon icon) {
    Tell(text, title, icon, {});
  }
  // The preview of a write to every photograph of the list, and the answer;
  // the keep-all choice made in it is left in preview.keepAll.
  virtual ListAnswer ConfirmList(ListPreview& preview) = 0;
  // Whether the person chooses in the preview to keep all or not; a host
  // that does not have the choice made beforehand, and only the write it
  // names is planned.
  virtual bool OffersKeepAllChoice() const = 0;
  // The preview of a table applied to photographs, and the answer (all, or
  // none). The person may slide the rows against the photographs: `slide`
  // gives the preview with the rows at another offset; the preview left in
  // `preview` is the one answered.
  virtual ListAnswer ConfirmTable(TablePreview& preview,
                                  const std::function<TablePreview(int offset)>& slide) = 0;
  // The end of a run over the list: its counts and every photograph's outcome.
  virtual void ShowSummary(const RunSummary& summary) = 0;
  // Edits typed for the photograph on show and not written: `text` says so.
  virtual EditsAnswer AskAboutEdits(std::string_view text) = 0;

  // The progress panel: shown or hidden, its range, its value, and what it
  // is at ("3 / 200  IMG_0003.JPG").
  virtual void ShowBar(bool visible) = 0;
  virtual void InitBar(std::int64_t min, std::int64_t max) = 0;
  virtual void SetBar(std::int64_t value) = 0;
  virtual void SetBarText(std::string_view text) = 0;
  // Lets the window repaint and take events during a long copy.
  virtual void Yield() = 0;
  // A run over the list that the person may stop (Escape, or the panel's
  // button): offered while it runs; asked between photographs.
  virtual void OfferStop(bool offered) = 0;
  virtual bool StopRequested() = 0;
  // The busy (hourglass) pointer on or off.
  virtual void SetBusy(bool busy) = 0;

  // Loads the preview of the photograph at `path` and gives its upright
  // size; nullopt when the picture cannot be loaded. Hosts without a picture
  // have nothing to load and give any size.
  virtual std::optional<PictureSize> LoadPreview(const std::string& path) = 0;
  // Opens the photograph with the program the desktop opens it with.
  virtual void OpenExternally(const std::string& path) = 0;
};

}  // namespace tagloom
