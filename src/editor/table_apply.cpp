#include "editor/table_apply.h"

#include <map>

#include "editor/texts.h"
#include "model/catalogue.h"
#include "model/number_text.h"
#include "model/table_cells.h"
#include "model/value_text.h"
#include "reader/file_identity.h"

namespace tagloom {
namespace {

// A row's cell, or "" where the row is shorter than the header.
const std::string& CellOf(const TableRow& row, int column) {
  static const std::string kNone;
  return column >= 0 && static_cast<std::size_t>(column) < row.cells.size()
             ? row.cells[static_cast<std::size_t>(column)]
             : kNone;
}

std::string RowText(const TableRow& row) {
  return text::Join({text::kTableRow, IntegerText(row.line), text::kTableRowEnd});
}

}  // namespace

TableMatch::TableMatch(Table table, std::string folder, std::vector<std::string> photos)
    : table_(std::move(table)),
      columns_(MatchColumns(table_.header.cells)),
      folder_(std::move(folder)),
      photos_(std::move(photos)) {
  if (columns_.file != kNoColumn) MatchByFile();
}

void TableMatch::MatchByFile() {
  const bool given = !photos_.empty();
  // Each photograph by its path and by its file, each looked at once: a row
  // goes to the first photograph listed that is its file.
  std::map<std::string, std::size_t> byPath;
  std::map<FileIdentity, std::size_t> byFile;
  auto known = [&](std::size_t p, const std::optional<FileIdentity>& identity) {
    byPath.emplace(photos_[p], p);
    if (identity) byFile.emplace(*identity, p);
  };
  for (std::size_t p = 0; p < photos_.size(); ++p) known(p, IdentityOfPath(photos_[p]));
  std::map<std::size_t, int> firstRow;  // photograph -> the row that named it first
  for (std::size_t r = 0; r < table_.rows.size(); ++r) {
    const TableRow& row = table_.rows[r];
    const std::string name(TrimBlanks(CellOf(row, columns_.file)));
    if (name.empty()) {
      leftByFile_.push_back({static_cast<int>(r), std::string(text::kTableNoFile), true});
      continue;
    }
    const std::string path =
        name.starts_with('/') || folder_.empty() || folder_ == "." ? name : folder_ + "/" + name;
    const std::optional<FileIdentity> identity = IdentityOfPath(path);
    std::size_t photo = photos_.size();
    if (identity) {
      if (const auto same = byFile.find(*identity); same != byFile.end()) photo = same->second;
    } else if (const auto named = byPath.find(path); named != byPath.end()) {
      photo = named->second;  // listed, and not there
    }
    if (photo == photos_.size()) {
      if (!identity) {
        leftByFile_.push_back(
            {static_cast<int>(r), text::Join({text::kTableFileMissing, name}), true});
        continue;
      }
      if (given) {
        leftByFile_.push_back(
            {static_cast<int>(r), text::Join({text::kTableFileNotListed, name}), true});
        continue;
      }
      photos_.push_back(path);
      known(photo, identity);
    }
    rowOf_.resize(photos_.size(), -1);
    fileProblem_.resize(photos_.size());
    if (const auto [first, fresh] = firstRow.emplace(photo, static_cast<int>(r)); !fresh) {
      // Two rows for one photograph: which is meant is nobody's guess.
      fileProblem_[photo] =
          text::Join({RowText(table_.rows[static_cast<std::size_t>(first->second)]),
                      text::kTableAnd, RowText(row), text::kTableSamePhoto});
      continue;
    }
    rowOf_[photo] = static_cast<int>(r);
  }
  rowOf_.resize(photos_.size(), -1);
  fileProblem_.resize(photos_.size());
}

int TableMatch::RowOf(std::size_t photo) const {
  if (!Slides()) return photo < rowOf_.size() ? rowOf_[photo] : -1;
  const auto row = static_cast<std::int64_t>(photo) + offset_;
  return row >= 0 && row < static_cast<std::int64_t>(table_.rows.size()) ? static_cast<int>(row)
                                                                         : -1;
}

void TableMatch::SetOffset(int offset) {
  if (Slides()) offset_ = offset;
}

std::string TableMatch::CellProblemText(int row, int field, const std::string& why) const {
  const int column = columns_.field[static_cast<std::size_t>(field)];
  const TableRow& line = table_.rows[static_cast<std::size_t>(row)];
  return text::Join({RowText(line), CellOf(table_.header, column), text::kTableColumn, ": ",
                     CellOf(line, column), " ", why});
}

std::string TableMatch::ProblemOf(std::size_t photo) const {
  if (!Slides() && photo < fileProblem_.size() && !fileProblem_[photo].empty()) {
    return fileProblem_[photo];
  }
  const int row = RowOf(photo);
  if (row < 0) return {};
  for (int field = 0; field < kFieldCount; ++field) {
    const int column = columns_.field[static_cast<std::size_t>(field)];
    if (column == kNoColumn) continue;
    const CellValue value =
        FieldTextOfCell(field, CellOf(table_.rows[static_cast<std::size_t>(row)], column));
    if (const auto* problem = std::get_if<CellProblem>(&value)) {
      return CellProblemText(
          row, field,
          std::string(problem->fault == CellFault::kNotADate ? text::kTableNotADate
                                                             : text::kTableNotANumber));
    }
  }
  return {};
}

std::vector<TableMatch::LeftRow> TableMatch::LeftRows() const {
  if (!Slides()) return leftByFile_;
  std::vector<LeftRow> left;
  for (std::size_t r = 0; r < table_.rows.size(); ++r) {
    const auto photo = static_cast<std::int64_t>(r) - offset_;
    if (photo < 0 || photo >= static_cast<std::int64_t>(photos_.size())) {
      left.push_back({static_cast<int>(r), std::string(text::kTableNoPhoto)});
    }
  }
  return left;
}

std::vector<std::string> TableMatch::UnusedColumns() const {
  std::vector<std::string> unused;
  for (const UnusedColumn& column : columns_.unused) {
    std::string_view why = text::kTableColumnUnknown;
    if (column.reason == UnusedReason::kRepeated) why = text::kTableColumnRepeated;
    if (column.reason == UnusedReason::kMakerNote) why = text::kTableColumnMakerNote;
    unused.push_back(text::Join({CellOf(table_.header, column.column), " (", why, ")"}));
  }
  return unused;
}

EditsFor TableMatch::Edits() const {
  // Worked out now, for every photograph: a run asks for them one by one.
  std::vector<PhotoEdits> edits(photos_.size());
  for (std::size_t p = 0; p < photos_.size(); ++p) {
    edits[p].problem = ProblemOf(p);
    const int row = RowOf(p);
    if (row < 0 || !edits[p].problem.empty()) continue;
    for (int field = 0; field < kFieldCount; ++field) {
      const int column = columns_.field[static_cast<std::size_t>(field)];
      if (column == kNoColumn) continue;
      CellValue value =
          FieldTextOfCell(field, CellOf(table_.rows[static_cast<std::size_t>(row)], column));
      if (auto* text = std::get_if<std::string>(&value)) {
        edits[p].texts[static_cast<std::size_t>(field)] = std::move(*text);
      }
    }
  }
  return [edits = std::move(edits)](const Session&, std::size_t index) {
    return index < edits.size() ? edits[index] : PhotoEdits{};
  };
}

std::variant<Table, std::string> ReadTableFile(const std::string& bytes) {
  std::variant<Table, TableError> read = ReadTable(bytes);
  if (auto* table = std::get_if<Table>(&read)) return std::move(*table);
  const TableError& error = std::get<TableError>(read);
  switch (error.fault) {
    case TableFault::kNotText:
      return text::Join({text::kTableNotText, IntegerText(error.line), text::kTableRowEnd});
    case TableFault::kOpenQuote:
      return text::Join({text::kTableOpenQuote, IntegerText(error.line), text::kTableRowEnd});
    case TableFault::kNoHeader:
      break;
  }
  return std::string(text::kTableEmpty);
}

std::vector<std::string> TableHeader() {
  std::vector<std::string> header = {"file"};
  for (const FieldInfo& field : kFields) {
    if (field.row != row::kMakerNote) header.emplace_back(field.key);
  }
  return header;
}

}  // namespace tagloom
