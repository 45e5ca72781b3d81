// The columns of a table matched to the sixteen fields and to the photograph's
// file, by the names that shot logs and spreadsheets give them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/catalogue.h"

namespace tagloom {

inline constexpr int kNoColumn = -1;

// Why a column of the header gives nothing.
enum class UnusedReason {
  kUnknownName,  // names nothing Tagloom writes: a lens, a location, a frame number
  kRepeated,     // names what an earlier column already gives; the earlier one counts
  kMakerNote,    // the maker note is the camera's own, never taken from a table
};

struct UnusedColumn {
  int column;  // 0-based
  UnusedReason reason;
  int earlier = kNoColumn;  // for kRepeated: the column that gives it
};

struct Columns {
  int file = kNoColumn;                // the column that names the photograph
  std::array<int, kFieldCount> field;  // each field's column, or kNoColumn
  std::vector<UnusedColumn> unused;    // in the order of the header
};

// The column of each field and of the file. A name matches regardless of
// case, blanks, "_", "-" and "." when it is a field's key ("exposure_time"),
// its caption without the colon ("快门"), or a name shot logs use for it
// ("Shutter speed", "F-number", "Date taken"); the file column is "file",
// "filename", "name", "path" or "文件".
Columns MatchColumns(const std::vector<std::string>& header);

}  // namespace tagloom
