// Texts as a terminal shows them: control characters escaped, columns
// counted the way a terminal draws them, CR LF line ends as LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tagloom::cli {

// A UTF-8 text with its control characters (C0, DEL and C1, which values read
// from damaged files and odd file names may hold) written as \xNN.
std::string Printable(std::string_view text);
void AppendPrintable(std::string& out, std::string_view text);  // the same, appended to `out`

// A message's text as one block of terminal lines: CR LF line ends become LF.
std::string TerminalText(std::string_view text);

// A message for the terminal: CR LF as LF, each line decoded (file names are
// bytes) and made printable.
std::string PrintableMessage(std::string_view text);

// Columns a UTF-8 text takes on a terminal, counting wide (CJK) characters twice.
std::size_t DisplayWidth(std::string_view utf8);

// A long run of hexadecimal digits (a maker note) as a person can take it in:
// its first 16 digits and its size, "0A1B2C3D4E5F6071… (3,072 bytes)". Texts
// of at most 64 digits, and texts that are not all digits (after an optional
// "Hex:"), stand as they are.
std::string ShortenedHex(std::string_view text);

}  // namespace tagloom::cli
