// The bytes of a table file as UTF-8 text: which encoding the spreadsheet or
// editor saved it in, and where bytes that are no text make it no table.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace tagloom {

enum class TextEncoding {
  kUtf8,         // no byte-order mark
  kUtf8WithBom,  // EF BB BF first
  kUtf16Le,      // FF FE first ("Unicode text" of spreadsheets)
  kUtf16Be,      // FE FF first
  kGb18030,      // no byte-order mark and not valid UTF-8
};

// Why bytes are no table.
enum class TableFault {
  kNotText,    // a NUL character, or bytes that are not text in the encoding
  kOpenQuote,  // a quoted cell that is never closed
  kNoHeader,   // no row at all: the file is empty or blank
};

struct TableError {
  TableFault fault;
  TextEncoding encoding;   // what the bytes were read as
  int line = 0;            // 1-based line where it failed (the open quote's row); 0 for kNoHeader
  std::size_t offset = 0;  // for kNotText: the byte of the file where text stops
};

struct TableText {
  std::string text;  // UTF-8, without the byte-order mark
  TextEncoding encoding;
};

// The text of a table file. A byte-order mark decides the encoding; without
// one the bytes are UTF-8 when they are valid UTF-8, else GB18030 (what
// Chinese spreadsheet programs save). A NUL character, or bytes the encoding
// cannot read (an odd byte of UTF-16, a lone surrogate, invalid GB18030, or
// invalid UTF-8 after a UTF-8 byte-order mark), make it kNotText.
std::variant<TableText, TableError> DecodeTableText(std::string_view bytes);

// The line breaks in UTF-8 text: LF, CR LF and a lone CR each count one.
int LineBreaks(std::string_view text);

}  // namespace tagloom
