// The texts of a run over the list, built in one place from its typed
// outcomes: the summary with its counts, and each photograph's line.
#pragma once

#include <locale>
#include <string>
#include <string_view>
#include <vector>

#include "editor/list_run.h"

namespace tagloom {

// The summary of a run of `kind`: the documented heading and counts (every
// listed photograph counted), a line for those a stop left, and every outcome.
// `notes` (lines ended by CR LF) follow the counts.
RunSummary SummaryOf(RunKind kind, std::vector<PhotoOutcome> outcomes, const std::locale& locale,
                     const std::string& notes = {});

// What became of a photograph in a run of `kind`, in a word or two ("已写入",
// "已备份", "失败:" ...).
std::string_view ResultText(PhotoResult result, RunKind kind);

// What a write changed: "版权声明 A → B; 备注 (空) → C".
std::string ChangesText(const std::vector<FieldChange>& changes);

// One photograph's outcome: its file, what became of it, and what changed or
// why not. A name may hold control characters: whoever prints it escapes them.
std::string OutcomeLine(const PhotoOutcome& outcome, RunKind kind);

}  // namespace tagloom
