#include "model/table_cells.h"

#include <initializer_list>
#include <optional>

#include "model/catalogue.h"
#include "model/edit_back.h"
#include "model/exif_date.h"
#include "model/number_text.h"
#include "model/tiff_type.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

bool SameIgnoringCase(std::string_view text, std::string_view lowerCase) {
  if (text.size() != lowerCase.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (AsciiLower(text[i]) != lowerCase[i]) return false;
  }
  return true;
}

// The text without the first of `prefixes` it starts with (in any case).
std::string_view WithoutPrefix(std::string_view text,
                               std::initializer_list<std::string_view> prefixes) {
  for (std::string_view prefix : prefixes) {
    if (SameIgnoringCase(text.substr(0, prefix.size()), prefix)) {
      return TrimBlanks(text.substr(prefix.size()));
    }
  }
  return text;
}

std::string_view WithoutSuffix(std::string_view text,
                               std::initializer_list<std::string_view> suffixes) {
  for (std::string_view suffix : suffixes) {
    if (text.size() >= suffix.size() &&
        SameIgnoringCase(text.substr(text.size() - suffix.size()), suffix)) {
      return TrimBlanks(text.substr(0, text.size() - suffix.size()));
    }
  }
  return text;
}

// The number of a cell without the unit or the name that logs write with it.
std::string_view NumberPart(int field, std::string_view text) {
  switch (field) {
    case field::kExposureTime:
      return WithoutSuffix(text, {"s", "\""});
    case field::kFNumber:
      return WithoutPrefix(text, {"f/", "f"});
    case field::kFocalLength:
      return WithoutSuffix(text, {"mm"});
    case field::kIso:
      return WithoutPrefix(text, {"iso"});
    default:
      return text;
  }
}

// One number, or where the field is stored as a fraction also a numerator and
// a denominator that is not 0; read by the program's one number parse.
bool IsNumber(std::string_view text, bool fractionAllowed) {
  const std::size_t slash = text.find('/');
  if (!fractionAllowed || slash == std::string_view::npos) return WholeNumber(text).has_value();
  const std::optional<double> denominator = WholeNumber(text.substr(slash + 1));
  return WholeNumber(text.substr(0, slash)) && denominator && *denominator != 0;
}

// The date as the date field shows it; the one date parser decides.
std::optional<std::string> DateText(std::string_view text) {
  std::string date(text);
  // ISO 8601 puts a "T" between the date and the time where the parser wants a blank.
  if (std::size_t t = date.find_first_of("Tt"); t != std::string::npos) date[t] = ' ';
  const std::optional<DateTime> read = ReadDate(date);
  if (!read) return std::nullopt;
  return FieldDateText(*read);
}

}  // namespace

CellValue FieldTextOfCell(int field, std::string_view cell) {
  const std::string_view text = TrimBlanks(cell);
  if (text.empty()) return KeepField{};
  if (field == field::kDate) {
    if (std::optional<std::string> date = DateText(text)) return *std::move(date);
    return CellProblem{field, CellFault::kNotADate, std::string(cell)};
  }
  const int type = StandardType(FieldRow(field));
  if (type != tiff::kShort && !tiff::IsRational(type)) return std::string(text);
  const std::string_view number = NumberPart(field, text);
  if (!IsNumber(number, tiff::IsRational(type))) {
    return CellProblem{field, CellFault::kNotANumber, std::string(cell)};
  }
  return std::string(number);
}

}  // namespace tagloom
