#include "model/record_store.h"

#include <cstdint>

#include "model/hex_text.h"
#include "model/number_text.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

std::string_view BeforeNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace

TextList::Cell* TextList::At(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  return &rows_[static_cast<std::size_t>(i)];
}

const std::string& TextList::Row(int i) const {
  static const std::string kEmpty;
  if (i < 0 || i >= Count()) return kEmpty;
  const Cell& cell = rows_[static_cast<std::size_t>(i)];
  if (!cell.written) {
    switch (cell.kind) {
      case Kind::kNumber:
        cell.text = IntegerText(cell.number);
        break;
      case Kind::kFraction:
        cell.text = IntegerText(cell.number) + "/" + IntegerText(cell.denominator);
        break;
      case Kind::kHex:
        cell.text = HexDigits(cell.text, kHexPrefix);
        break;
      case Kind::kTag:
        cell.text = TagText(static_cast<std::uint16_t>(cell.number));
        break;
      case Kind::kText:
        break;
    }
    cell.written = true;
  }
  return cell.text;
}

double TextList::Number(int i) const {
  if (i < 0 || i >= Count()) return 0;
  const Cell& cell = rows_[static_cast<std::size_t>(i)];
  switch (cell.kind) {
    case Kind::kNumber:
    case Kind::kFraction:  // the leading number of "n/d"
      return static_cast<double>(cell.number);
    case Kind::kHex:  // "Hex:..." has no leading number
      return 0;
    default:
      return LeadingNumber(Row(i));
  }
}

// A cell's text buffer is kept where it can be: rows are set anew for every photograph.
void TextList::Set(int i, std::string_view text) {
  if (Cell* cell = At(i)) {
    cell->text.assign(BeforeNul(text));
    cell->kind = Kind::kText;
    cell->written = true;
  }
}

void TextList::Set(int i, std::string&& text) {
  if (Cell* cell = At(i)) {
    std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    cell->text = std::move(text);
    cell->kind = Kind::kText;
    cell->written = true;
  }
}

void TextList::SetNumber(int i, std::int64_t number) {
  if (Cell* cell = At(i)) {
    cell->number = number;
    cell->kind = Kind::kNumber;
    cell->written = false;
  }
}

void TextList::SetFraction(int i, std::int64_t numerator, std::int64_t denominator) {
  if (Cell* cell = At(i)) {
    cell->number = numerator;
    cell->denominator = denominator;
    cell->kind = Kind::kFraction;
    cell->written = false;
  }
}

void TextList::SetHexBytes(int i, std::string bytes) {
  if (Cell* cell = At(i)) {
    cell->text = std::move(bytes);
    cell->kind = Kind::kHex;
    cell->written = false;
  }
}

bool TextList::Append(std::string_view text) {
  if (Full()) return false;
  rows_.emplace_back().text.assign(BeforeNul(text));
  return true;
}

bool TextList::AppendNumber(std::int64_t number) {
  if (Full()) return false;
  Cell& cell = rows_.emplace_back();
  cell.number = number;
  cell.kind = Kind::kNumber;
  cell.written = false;
  return true;
}

bool TextList::AppendTag(std::uint16_t tag) {
  if (!AppendNumber(tag)) return false;
  rows_.back().kind = Kind::kTag;
  return true;
}

RecordStore::RecordStore() {
  for (const CatalogueEntry& entry : kCatalogue) {
    lstTag.Append(entry.tag);
    lstTitle.Append(entry.title);
  }
}

void RecordStore::Reset() {
  for (TextList* list : {&lstUnuseTag, &lstUnusePos, &lstUnuseValuePos, &lstUnuseValue,
                         &lstUnuseType, &lstUnuseCount}) {
    list->Clear();
  }
  // One row per catalogue row, primed for a tag that was not found.
  const int rows = lstTag.Count();
  for (TextList* list : {&lstPosition, &lstValuePos, &lstCount, &lstType, &lstValue}) {
    if (list->Count() != rows) {
      list->Clear();
      for (int r = 0; r < rows; ++r) list->Append("");
    }
    for (int r = 0; r < rows; ++r) {
      if (list == &lstValue) {
        list->Set(r, "");
      } else {
        list->SetNumber(r, 0);
      }
    }
  }
}

bool RecordStore::Found(int row) const {
  return lstPosition.Number(row) > 0;
}

bool RecordStore::AppendUncatalogued(std::uint16_t tag, std::int64_t position,
                                     std::int64_t valuePosition, std::int64_t count,
                                     std::int64_t type) {
  if (lstUnuseTag.Full()) return false;
  lstUnuseTag.AppendTag(tag);
  lstUnusePos.AppendNumber(position);
  lstUnuseValuePos.AppendNumber(valuePosition);
  lstUnuseCount.AppendNumber(count);
  lstUnuseType.AppendNumber(type);
  lstUnuseValue.Append("");
  return true;
}

}  // namespace tagloom
