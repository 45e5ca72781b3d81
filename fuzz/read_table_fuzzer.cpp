// Any bytes as a table file: read or refused, never a crash. A table read,
// written and read again gives the same cells.
#include <cstdint>

#include "fuzz_support.h"
#include "model/csv_table.h"

using namespace tagloom;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto first = ReadTable({reinterpret_cast<const char*>(data), size});
  const Table* read = std::get_if<Table>(&first);
  if (!read) return 0;
  std::vector<std::vector<std::string>> rows = {read->header.cells};
  for (const TableRow& row : read->rows) rows.push_back(row.cells);

  auto second = ReadTable(WriteTable(rows));
  const Table* again = std::get_if<Table>(&second);
  if (!again) fuzz::Finding("a table written is refused when read");
  if (again->header.cells != rows[0]) fuzz::Finding("the header read back differs");
  if (again->rows.size() + 1 != rows.size()) fuzz::Finding("rows read back are missing");
  for (std::size_t i = 0; i < again->rows.size(); ++i) {
    if (again->rows[i].cells != rows[i + 1]) fuzz::Finding("a row read back differs");
  }
  return 0;
}
