// What a table's cell gives a field: the forms shot logs write dates, shutter
// speeds, apertures, focal lengths and ISO speeds in, turned into the texts
// the editor's fields take.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace tagloom {

// An empty cell: the field stays as it is.
struct KeepField {
  friend bool operator==(const KeepField&, const KeepField&) = default;
};

enum class CellFault {
  kNotADate,    // a date the one date parser cannot read
  kNotANumber,  // a numeric field whose cell holds no number (or a zero denominator)
};

struct CellProblem {
  int field;  // index of the field
  CellFault fault;
  std::string cell;  // the cell as it stands, for the message
  friend bool operator==(const CellProblem&, const CellProblem&) = default;
};

using CellValue = std::variant<KeepField, std::string, CellProblem>;

// The field text a cell gives `field`; blanks around the cell do not count.
//   date           "1998-07-14T10:00:00", "1998-07-14 10:00", "1998/07/14 10:00:00",
//                  "1998:07:14 10:00:00" -> "1998/07/14 10:00:00", as the field shows dates
//   exposure_time  "1/125", "1/125s", "1/125 s", "0.5", "2s", "2\"" -> "1/125", "0.5", "2"
//   fnumber        "f/8", "F8", "f8", "8", "f/2.8" -> "8", "2.8"
//   focal_length   "50mm", "50 mm", "50" -> "50"
//   iso            "ISO 400", "400" -> "400"
// Every other field takes the cell as it stands. What remains of a numeric
// field's cell must be one number (a fraction for a field stored as one);
// nothing is guessed.
CellValue FieldTextOfCell(int field, std::string_view cell);

}  // namespace tagloom
