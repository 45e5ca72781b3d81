// The drop target's gathering, without its window: photographs dropped from
// several folders are held, the latest drop apart from the earlier ones, and
// handed to the main window's Session as its navigation list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/record_store.h"

namespace tagloom {

class Session;

// What the clear dialog gives back.
enum class ClearChoice { kNone, kLast, kAll };

class DropTarget {
 public:
  DropTarget() { ShowPic(); }

  TextList lstLastDrop;   // the photographs of the most recent drop
  TextList lstPhotoTemp;  // those of every earlier drop, oldest first
  int PhotoCount = 0;
  std::string labCounter;  // "5 Photos"

  void ShowPic();
  // The last drop joins the earlier ones.
  void MovePic();
  // A drop of paths: the photographs among them, in order, become the last drop.
  void DropFiles(const std::vector<std::string>& paths);
  // "<Clear>" with the clear dialog's choice.
  void Clear(ClearChoice choice);
  // "<Exit>": every photograph gathered, in order, becomes the main window's
  // navigation list, and the first is shown. The gathering is kept.
  void Exit(Session& main);
};

}  // namespace tagloom
