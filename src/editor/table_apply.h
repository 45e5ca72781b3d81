// A table applied to photographs (a shot log, a spreadsheet of captions):
// which row goes to which photograph, what each row gives each field, and
// what is wrong with the table, by row and column; and the table of a list's
// fields, to be edited elsewhere and applied back.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "editor/session_types.h"
#include "model/csv_table.h"
#include "model/table_columns.h"

namespace tagloom {

class TableMatch {
 public:
  // Matches the rows of `table`, read from a file in `folder`, to
  // photographs: by its file column (names relative to `folder`), or
  // without one in order to `photos`. With a file column and no `photos`,
  // the photographs are the files the rows name, in the table's order.
  TableMatch(Table table, std::string folder, std::vector<std::string> photos);

  // The photographs the table is applied to, in order.
  const std::vector<std::string>& Photos() const { return photos_; }
  // The row (index into the table's rows) each photograph gets; -1 for none.
  int RowOf(std::size_t photo) const;
  // Why a photograph's row cannot be applied ("" when it can, or it has none).
  std::string ProblemOf(std::size_t photo) const;
  // The rows no photograph takes, and why each does not.
  struct LeftRow {
    int row;
    std::string why;
    bool fault = false;  // a bad row (a file missing or not listed), not one merely left over
  };
  std::vector<LeftRow> LeftRows() const;
  // The header's columns that give nothing, each with why.
  std::vector<std::string> UnusedColumns() const;
  const Table& Rows() const { return table_; }

  // Rows taken in order can be slid against the photographs by whole rows,
  // as a shot log that skipped or repeated a frame needs: +1 gives the first
  // photograph the second row. False for a table matched by file names.
  bool Slides() const { return columns_.file == kNoColumn; }
  int Offset() const { return offset_; }
  void SetOffset(int offset);

  // The edits of each photograph: its row's cells as field texts, an empty
  // cell keeping the field; a row that cannot be applied is the
  // photograph's problem, a photograph without a row keeps everything.
  EditsFor Edits() const;

 private:
  void MatchByFile();
  std::string CellProblemText(int row, int field, const std::string& why) const;

  Table table_;
  Columns columns_;
  std::string folder_;
  std::vector<std::string> photos_;
  std::vector<int> rowOf_;                // by file: each photograph's row
  std::vector<std::string> fileProblem_;  // by file: a photograph's row refused
  std::vector<LeftRow> leftByFile_;       // by file: rows naming no listed photograph
  int offset_ = 0;
};

// The table in a file's bytes, or why they are no table, in the person's
// words, naming the line where reading stopped.
std::variant<Table, std::string> ReadTableFile(const std::string& bytes);

// The header of a table of the fields: `file`, then the field keys (the
// maker note, which is each camera's own, left out).
std::vector<std::string> TableHeader();

}  // namespace tagloom
