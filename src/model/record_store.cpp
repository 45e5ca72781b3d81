#include "model/record_store.h"

#include <cstdint>

#include "model/number_text.h"

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
    cell.text = IntegerText(cell.number);
    cell.written = true;
  }
  return cell.text;
}

double TextList::Number(int i) const {
  if (i < 0 || i >= Count()) return 0;
  const Cell& cell = rows_[static_cast<std::size_t>(i)];
  return cell.isNumber ? static_cast<double>(cell.number) : LeadingNumber(cell.text);
}

void TextList::Set(int i, std::string_view text) {
  if (Cell* cell = At(i)) {
    cell->text = BeforeNul(text);
    cell->isNumber = false;
    cell->written = true;
  }
}

void TextList::Set(int i, std::string&& text) {
  if (Cell* cell = At(i)) {
    std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    cell->text = std::move(text);
    cell->isNumber = false;
    cell->written = true;
  }
}

void TextList::SetNumber(int i, std::int64_t number) {
  if (Cell* cell = At(i)) {
    cell->number = number;
    cell->isNumber = true;
    cell->written = false;
  }
}

bool TextList::Append(std::string_view text) {
  if (Full()) return false;
  rows_.emplace_back();
  rows_.back().text = BeforeNul(text);
  return true;
}

bool TextList::AppendNumber(std::int64_t number) {
  if (Full()) return false;
  rows_.emplace_back();
  SetNumber(Count() - 1, number);
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

bool RecordStore::AppendUncatalogued(std::string_view tag, std::int64_t position,
                                     std::int64_t valuePosition, std::int64_t count,
                                     std::int64_t type) {
  if (lstUnuseTag.Full()) return false;
  lstUnuseTag.Append(tag);
  lstUnusePos.AppendNumber(position);
  lstUnuseValuePos.AppendNumber(valuePosition);
  lstUnuseCount.AppendNumber(count);
  lstUnuseType.AppendNumber(type);
  lstUnuseValue.Append("");
  return true;
}

}  // namespace tagloom
