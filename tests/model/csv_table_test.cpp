// Reading tables in the encodings and separators spreadsheets save, RFC 4180
// quoting, the rows' lines, writing and reading back, and bytes that are no table.
#include "model/csv_table.h"

#include <gtest/gtest.h>

namespace tagloom {
namespace {

using Cells = std::vector<std::string>;

Table Read(std::string_view bytes) {
  auto result = ReadTable(bytes);
  if (const auto* error = std::get_if<TableError>(&result)) {
    ADD_FAILURE() << "refused at line " << error->line << ", byte " << error->offset;
    return {};
  }
  return std::get<Table>(std::move(result));
}

const std::string kBom = "\xEF\xBB\xBF";

// Bytes from a literal, NUL bytes included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// The BOM and the code units of a text, in either byte order.
std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

TEST(ReadTable, ReadsEachEncodingIntoTheSameUtf8Cells) {
  const struct {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
  } cases[] = {
      {"UTF-8", "file,备注\nIMG_1.jpg,晴天\n", TextEncoding::kUtf8},
      {"UTF-8 with BOM", kBom + "file,备注\r\nIMG_1.jpg,晴天\r\n", TextEncoding::kUtf8WithBom},
      {"UTF-16 LE", Utf16(u"file\t备注\r\nIMG_1.jpg\t晴天\r\n", false), TextEncoding::kUtf16Le},
      {"UTF-16 BE", Utf16(u"file\t备注\r\nIMG_1.jpg\t晴天", true), TextEncoding::kUtf16Be},
      {"GB18030", "file,\xB1\xB8\xD7\xA2\nIMG_1.jpg,\xC7\xE7\xCC\xEC\n", TextEncoding::kGb18030},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Table table = Read(c.bytes);
    EXPECT_EQ(table.encoding, c.encoding);
    EXPECT_EQ(table.header.cells, (Cells{"file", "备注"}));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].cells, (Cells{"IMG_1.jpg", "晴天"}));
    EXPECT_EQ(table.rows[0].line, 2);
  }
}

TEST(ReadTable, TakesTheSeparatorThatSplitsTheHeaderMost) {
  const struct {
    const char* text;
    char separator;
    Cells header;
    int headerLine;
  } cases[] = {
      {"file,date\n", ',', {"file", "date"}, 1},
      {"file;date;notes\na;b;c\n", ';', {"file", "date", "notes"}, 1},
      {"file\tdate\n", '\t', {"file", "date"}, 1},
      {"file;date,notes\n", ',', {"file;date", "notes"}, 1},  // a tie: the comma
      {"\"a;b;c\",d\n", ',', {"a;b;c", "d"}, 1},
      {"\"\nx;y;z\",w\n",
       ',',
       {"\nx;y;z", "w"},
       1},  // quotes followed from the start              // quoted semicolons do not count
      {"\r\n  \n;;\nfile;date\n", ';', {"file", "date"}, 4},  // blank lines before the header
  };
  for (const auto& c : cases) {
    const Table table = Read(c.text);
    EXPECT_EQ(table.separator, c.separator) << c.text;
    EXPECT_EQ(table.header.cells, c.header) << c.text;
    EXPECT_EQ(table.header.line, c.headerLine) << c.text;
  }
}

TEST(ReadTable, ReadsQuotedCellsAndKeepsTheLineEachRowStartsOn) {
  const Table table = Read(
      "file,notes\r\n"
      "a.jpg,\"one, two\"\r\n"
      "\r\n"
      "b.jpg,\"say \"\"hi\"\"\"\r\n"
      "c.jpg,\"two\r\nlines\"\n"
      ",,\n"
      "  d.jpg , 2\"\n"
      "e.jpg,last");
  const std::pair<int, Cells> rows[] = {{2, {"a.jpg", "one, two"}},
                                        {4, {"b.jpg", "say \"hi\""}},
                                        {5, {"c.jpg", "two\r\nlines"}},
                                        {8, {"d.jpg", "2\""}},
                                        {9, {"e.jpg", "last"}}};
  ASSERT_EQ(table.rows.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(table.rows[i].line, rows[i].first) << "row " << i;
    EXPECT_EQ(table.rows[i].cells, rows[i].second) << "row " << i;
  }
}

TEST(WriteTable, QuotesOnlyTheCellsThatNeedIt) {
  EXPECT_EQ(WriteTable({{"a", "b c", ""}, {"x,y", "\"q\"", " lead"}}),
            "\xEF\xBB\xBF"
            "a,b c,\r\n\"x,y\",\"\"\"q\"\"\",\" lead\"\r\n");
}

// Headers too: one whose semicolons or tabs would outnumber its commas were
// they not quoted.
TEST(WriteTable, ReadingWhatWasWrittenGivesEveryCellBack) {
  const Cells awkward = {
      "",   " lead",  "trail ",      "a,b",       "semi;colon", "tab\there",       "quote\"in",
      "\"", "日本語", "line\nbreak", "crlf\r\nx", "lone\rcr",   "\xEF\xBB\xBFmark"};
  const std::vector<Cells> tables[] = {
      {awkward, {"x.jpg"}, Cells(awkward.rbegin(), awkward.rend())},
      {{"a;b;c", "d"}, {"1", "2"}},
      {{"a\tb\tc", "d"}, {"1", ""}},
  };
  for (const auto& rows : tables) {
    const Table table = Read(WriteTable(rows));
    EXPECT_EQ(table.separator, ',') << rows[0][0];
    EXPECT_EQ(table.header.cells, rows[0]);
    ASSERT_EQ(table.rows.size(), rows.size() - 1);
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(table.rows[i - 1].cells, rows[i]);
  }
}

TEST(ReadTable, RefusesBytesThatAreNoTableNamingWhere) {
  const struct {
    const char* name;
    std::string bytes;
    TableFault fault;
    int line;
    std::size_t offset;
  } cases[] = {
      {"NUL in UTF-8", Bytes("file,date\nab\0c"), TableFault::kNotText, 2, 12},
      {"binary", Bytes("\x89PNG\r\n\x1A\n\0\0"), TableFault::kNotText, 3, 8},
      {"invalid in GB18030 too", "file\n\xFF\xFF", TableFault::kNotText, 2, 5},
      {"invalid UTF-8 after its BOM", kBom + "z\n\xC3(", TableFault::kNotText, 2, 5},
      {"odd byte of UTF-16", Utf16(u"a\n", false) + "z", TableFault::kNotText, 2, 6},
      {"lone surrogate", Utf16(u"a\xD800z", false), TableFault::kNotText, 1, 4},
      {"NUL in UTF-16", Utf16({u"a\r\0", 3}, true), TableFault::kNotText, 2, 6},
      {"open quote", "file,notes\na.jpg,\"never closed\nb.jpg,x\n", TableFault::kOpenQuote, 2, 0},
      {"empty", "", TableFault::kNoHeader, 0, 0},
      {"blank", kBom + "\r\n ,, \r\n", TableFault::kNoHeader, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = ReadTable(c.bytes);
    ASSERT_TRUE(std::holds_alternative<TableError>(result)) << "read as a table";
    const TableError& error = std::get<TableError>(result);
    EXPECT_EQ(error.fault, c.fault);
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.offset, c.offset);
  }
}

}  // namespace
}  // namespace tagloom
