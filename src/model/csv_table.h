// Tables of text cells in CSV files: reading what spreadsheets and shot logs
// export, and writing what they read back.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/table_text.h"

namespace tagloom {

struct TableRow {
  int line;                        // 1-based line of the file the row starts on
  std::vector<std::string> cells;  // UTF-8
};

struct Table {
  TableRow header;             // the first row that is not blank
  std::vector<TableRow> rows;  // the rows after it, without the blank ones
  TextEncoding encoding;       // as DecodeTableText found it
  char separator;              // ',', ';' or '\t'
};

// The table in the bytes of a CSV file, in any encoding DecodeTableText reads.
// The separator is the one of comma, semicolon and tab that splits the header
// line into the most cells outside quotes (a comma when they tie). Cells are
// read as RFC 4180 has them: quoted cells may hold separators, line breaks and
// doubled quotes; blanks around an unquoted cell are not part of it; lines
// end in CR LF, LF or CR, the last one may end without. Rows whose cells are
// all blank are left out. A quote opened and never closed is kOpenQuote.
std::variant<Table, TableError> ReadTable(std::string_view bytes);

// The bytes of a CSV file holding `rows` of UTF-8 cells: a UTF-8 byte-order
// mark (which spreadsheet programs need to read UTF-8), commas between cells,
// a cell quoted only when it holds a separator, a quote or a line break, or
// starts or ends with a blank; CR LF after every row. ReadTable gives every
// cell back as it was, except that rows of blank cells are left out.
std::string WriteTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace tagloom
