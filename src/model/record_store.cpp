#include "model/record_store.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "model/number_text.h"

namespace tagloom {
namespace {

std::string_view BeforeNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace

const std::string& TextList::Row(int i) const {
  static const std::string kEmpty;
  if (i < 0 || i >= Count()) return kEmpty;
  return rows_[static_cast<std::size_t>(i)];
}

void TextList::Set(int i, std::string_view text) {
  if (i < 0 || i >= Count()) return;
  rows_[static_cast<std::size_t>(i)] = BeforeNul(text);
}

bool TextList::Append(std::string_view text) {
  if (Full()) return false;
  rows_.emplace_back(BeforeNul(text));
  return true;
}

RecordStore::RecordStore() {
  for (const CatalogueEntry& entry : kCatalogue) {
    lstTag.Append(entry.tag);
    lstTitle.Append(entry.title);
  }
}

void RecordStore::Reset() {
  for (TextList* list : {&lstPosition, &lstValue, &lstType, &lstValuePos, &lstCount,
                         &lstUnuseTag, &lstUnusePos, &lstUnuseValuePos, &lstUnuseValue,
                         &lstUnuseType, &lstUnuseCount}) {
    list->Clear();
  }
  for (int r = 0; r < lstTag.Count(); ++r) {
    lstPosition.Append("0");
    lstValuePos.Append("0");
    lstCount.Append("0");
    lstType.Append("0");
    lstValue.Append("");
  }
}

int RecordStore::CheckTag(std::string_view tag) const {
  // Every catalogue tag is four characters, compared here as one number:
  // this runs once for every directory entry read.
  static const auto kCodes = [] {
    std::array<std::uint32_t, kCatalogueRows> codes{};
    for (int r = 0; r < kCatalogueRows; ++r) {
      std::memcpy(&codes[static_cast<std::size_t>(r)], kCatalogue[static_cast<std::size_t>(r)].tag.data(), 4);
    }
    return codes;
  }();
  if (tag.size() != 4) return -1;
  std::uint32_t code;
  std::memcpy(&code, tag.data(), 4);
  for (int r = 0; r < kCatalogueRows; ++r) {
    if (kCodes[static_cast<std::size_t>(r)] == code) return r;
  }
  return -1;
}

bool RecordStore::Found(int row) const { return LeadingNumber(lstPosition.Row(row)) > 0; }

bool RecordStore::AppendUncatalogued(std::string_view tag, std::string_view position,
                                     std::string_view valuePosition, std::string_view count,
                                     std::string_view type) {
  if (lstUnuseTag.Full()) return false;
  lstUnuseTag.Append(tag);
  lstUnusePos.Append(position);
  lstUnuseValuePos.Append(valuePosition);
  lstUnuseCount.Append(count);
  lstUnuseType.Append(type);
  lstUnuseValue.Append("");
  return true;
}

}  // namespace tagloom
