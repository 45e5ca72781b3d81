// A write to the whole list as tagloom-cli prints it: the preview (each
// photograph, each field it changes, old and new), for people and for
// scripts.
#pragma once

#include <string>

#include "editor/list_plan.h"

namespace tagloom::cli {

// One block per photograph: its path, then a line per changed field
// ("  版权声明: old → new"), or why it cannot be written, or that it needs no
// change; what its new block will not carry over, when anything.
std::string PreviewText(const ListPreview& preview);

}  // namespace tagloom::cli
