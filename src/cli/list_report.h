// A write to the whole list as tagloom-cli prints it: the preview (each
// photograph, each field it changes, old and new), for people and for
// scripts.
#pragma once

#include <string>
#include <vector>

#include "editor/list_run.h"

namespace tagloom::cli {

// One block per photograph: its path, then a line per changed field
// ("  版权声明: old → new"), or why it cannot be written, or that it needs no
// change; what its new block will not carry over, when anything.
std::string PreviewText(const ListPreview& preview);

// The preview for scripts: a JSON array with an object per photograph:
// "file", "changes" [{"field" (its key), "old", "new"}], "problem" when it
// cannot be written, "same_as" (the file listed before it) when it names a
// photograph listed before, "kept" (with everything else kept) and
// "not_kept" (one text a line). Texts stand whole;
// bytes that are not UTF-8 are shown as file names are.
// With `lines`, each photograph's table row: "row" (its line, -1 for none).
std::string PreviewJson(const ListPreview& preview, const std::vector<int>* lines = nullptr);

// A table's preview for scripts: {"photos": PreviewJson with rows,
// "left_rows": [...], "unused_columns": [...]}; for people: PreviewText,
// then the rows no photograph takes and the columns that give nothing.
std::string TablePreviewJson(const TablePreview& preview);
std::string TablePreviewText(const TablePreview& preview);

// What became of each photograph, for scripts: a JSON array of {"file",
// "outcome" ("written", "unchanged", "skipped", "missing", "refused",
// "not_reached"), "reason" when there is one, "changes" for a write}.
std::string OutcomesJson(const std::vector<PhotoOutcome>& outcomes);

}  // namespace tagloom::cli
