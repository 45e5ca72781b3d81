#include "model/csv_table.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>

#include "model/value_text.h"

namespace tagloom {
namespace {

constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};  // comma first: it wins ties

// The separator that splits the header line into the most cells outside
// quotes. The header line is the first with something in a cell, as blank
// rows are left out; quotes are followed from the start of the text, since
// a quoted cell may hold line breaks.
char DetectSeparator(std::string_view text) {
  std::array<int, kSeparators.size()> counts{};
  bool quoted = false;
  bool content = false;  // the line so far has something in a cell
  for (char c : text) {
    const auto* separator = std::find(kSeparators.begin(), kSeparators.end(), c);
    if (c == '"') {
      quoted = !quoted;  // a doubled quote inside a quoted cell toggles twice
    } else if (quoted) {
      content = content || c != ' ';
    } else if (c == '\r' || c == '\n') {
      if (content) break;
      counts = {};
    } else if (separator != kSeparators.end()) {
      ++counts[static_cast<std::size_t>(separator - kSeparators.begin())];
    } else {
      content = content || c != ' ';
    }
  }
  const auto* most = std::max_element(counts.begin(), counts.end());  // the first of equals
  return kSeparators[static_cast<std::size_t>(most - counts.begin())];
}

bool IsBlankRow(const TableRow& row) {
  return std::all_of(row.cells.begin(), row.cells.end(),
                     [](const std::string& cell) { return TrimBlanks(cell).empty(); });
}

// Gathers libcsv's cells into rows and counts the lines they take, so that
// each row knows the line it starts on. The parser reports every line end
// outside quoted cells (CSV_REPALL_NL); those inside are in the cells' text.
class RowCollector {
 public:
  static void OnCell(void* cell, std::size_t size, void* self) {
    static_cast<RowCollector*>(self)->Cell({static_cast<const char*>(cell), size});
  }
  static void OnRowEnd(int c, void* self) { static_cast<RowCollector*>(self)->RowEnd(c); }

  // The line of the row under way: the one its first cell starts on.
  int RowLine() const { return current_.cells.empty() ? 1 + breaks_ : current_.line; }

  std::vector<TableRow> rows;

 private:
  void Cell(std::string_view text) {
    if (current_.cells.empty()) current_.line = RowLine();
    current_.cells.emplace_back(text);
    breaks_ += LineBreaks(text);
    afterCr_ = false;
  }
  void RowEnd(int c) {
    if (c == '\n' ? !afterCr_ : c == '\r') ++breaks_;  // CR LF is one line break
    afterCr_ = c == '\r';
    if (!current_.cells.empty() && !IsBlankRow(current_)) rows.push_back(std::move(current_));
    current_ = {};
  }

  TableRow current_{};
  int breaks_ = 0;        // line breaks before the current position
  bool afterCr_ = false;  // the last thing reported was a CR ending a line
};

void Feed(csv_parser& parser, std::string_view text, RowCollector& rows) {
  if (csv_parse(&parser, text.data(), text.size(), &RowCollector::OnCell, &RowCollector::OnRowEnd,
                &rows) != text.size()) {
    throw std::bad_alloc();  // the only failure outside strict mode: a cell too large to hold
  }
}

std::variant<std::vector<TableRow>, TableError> ParseRows(const TableText& text, char separator) {
  csv_parser parser;
  // Lenient mode, as spreadsheet programs read: a quote inside an unquoted
  // cell (2" for two seconds) is part of it.
  csv_init(&parser, CSV_REPALL_NL);
  std::unique_ptr<csv_parser, decltype(&csv_free)> freed(&parser, &csv_free);
  csv_set_delim(&parser, static_cast<unsigned char>(separator));
  RowCollector rows;
  Feed(parser, text.text, rows);
  // A line end after the text closes the last row, unless a quote is still
  // open (libcsv's `quoted`: the cell under way began with a quote): then no
  // line end can close it.
  Feed(parser, "\n", rows);
  if (parser.quoted) return TableError{TableFault::kOpenQuote, text.encoding, rows.RowLine()};
  csv_fini(&parser, &RowCollector::OnCell, &RowCollector::OnRowEnd, &rows);
  return std::move(rows.rows);
}

// libcsv drops the blanks around an unquoted cell; a semicolon or a tab
// outside quotes could make a reader take it for the separator.
bool NeedsQuotes(std::string_view cell) {
  return cell.find_first_of(",;\t\"\r\n") != std::string_view::npos || cell.starts_with(' ') ||
         cell.ends_with(' ');
}

void AppendCell(std::string& out, std::string_view cell) {
  if (!NeedsQuotes(cell)) {
    out += cell;
    return;
  }
  // csv_write quotes the cell and doubles its quotes; it tells the size first.
  const std::size_t at = out.size();
  out.resize(at + csv_write(nullptr, 0, cell.data(), cell.size()));
  csv_write(out.data() + at, out.size() - at, cell.data(), cell.size());
}

}  // namespace

std::variant<Table, TableError> ReadTable(std::string_view bytes) {
  auto decoded = DecodeTableText(bytes);
  if (auto* error = std::get_if<TableError>(&decoded)) return *error;
  const TableText& text = std::get<TableText>(decoded);
  const char separator = DetectSeparator(text.text);
  auto parsed = ParseRows(text, separator);
  if (auto* error = std::get_if<TableError>(&parsed)) return *error;
  auto& rows = std::get<std::vector<TableRow>>(parsed);
  if (rows.empty()) return TableError{TableFault::kNoHeader, text.encoding};
  Table table{std::move(rows.front()), {}, text.encoding, separator};
  table.rows.assign(std::make_move_iterator(rows.begin() + 1), std::make_move_iterator(rows.end()));
  return table;
}

std::string WriteTable(const std::vector<std::vector<std::string>>& rows) {
  std::string out = "\xEF\xBB\xBF";
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += ',';
      AppendCell(out, row[i]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace tagloom
