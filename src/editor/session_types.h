// The small types a Session's callers share with it: what a control shows,
// how an action ended, the inspector's lists, the edits of a run over a list.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "model/catalogue.h"

namespace tagloom {

class Session;

// What a control shows besides its text.
struct ControlState {
  bool visible = true;
  bool enabled = true;
};

// How a button's work ended.
enum class Outcome {
  kDone,      // done (for a run: every photograph of it that had something to do)
  kDeclined,  // the person answered No, there was nothing to do, or other work was under way
  kStopped,   // the person stopped a run before its end; what it reached is done
  kFailed,    // refused or failed (for a run: at least one photograph); the person was told
};

// The lists of the record store that the inspector shows, in its order.
enum class StoreList {
  kTag,
  kPosition,
  kCount,
  kType,
  kValuePos,
  kTitle,
  kValue,
  kUnuseTag,
  kUnusePos,
  kUnuseValuePos,
  kUnuseValue,
};
inline constexpr int kStoreListCount = 11;

// Outer heights of the window, in twips: as it opens, and with the inspector.
inline constexpr int kWindowHeight = 5955;
inline constexpr int kTallWindowHeight = 10500;

// The texts one photograph of a list write is to get: for each field, a text,
// or nothing to keep what was read; or why it cannot be written.
struct PhotoEdits {
  std::array<std::optional<std::string>, kFieldCount> texts;
  std::string problem;
};
// Gives a photograph's edits, shown the Session with that photograph loaded
// and told its place in the list (from 0).
using EditsFor = std::function<PhotoEdits(const Session&, std::size_t index)>;

}  // namespace tagloom
