#include "reader/exif_block.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

constexpr std::int64_t kEntrySize = 12;

// A whole APP1 segment holds at most 64 KiB, so no real block reads more value
// bytes than this; a damaged one whose entries all claim huge counts is cut
// short here instead of reading the file thousands of times over.
constexpr std::int64_t kValueBytesPerBlock = 1 << 20;

std::int64_t RowNumber(const TextList& list, int row) {
  return static_cast<std::int64_t>(LeadingNumber(list.Row(row)));
}

// Records `count` directory entries read one after another. A directory that
// runs past the end of the file ends with its last whole entry.
void RecordEntries(ReadChannel& channel, RecordStore& store, const ExifBlockLayout& layout,
                   std::int64_t count) {
  for (std::int64_t k = 0; k < count; ++k) {
    std::int64_t p = channel.Position();
    if (p < 1 || p - 1 + kEntrySize > channel.Length()) return;
    std::string tag = channel.ReadTag();
    int r = store.CheckTag(tag);
    std::int32_t type = channel.ReadInt();
    std::int32_t entryCount = channel.ReadLong();
    std::int32_t v = channel.ReadLong();
    std::string position = IntegerText(p);
    std::string valuePosition = IntegerText(layout.TiffBase + v - 1);
    if (r == -1) {
      store.AppendUncatalogued(tag, position, valuePosition, IntegerText(entryCount),
                               IntegerText(type));
    } else {
      store.lstPosition.Set(r, position);
      store.lstValuePos.Set(r, valuePosition);
      store.lstCount.Set(r, IntegerText(entryCount));
      store.lstType.Set(r, IntegerText(type));
    }
  }
}

// The UNDEFINED value text: the text after an 8-byte character-code prefix of
// "ASCII" or of NUL bytes, else the bytes in hexadecimal.
std::string UndefinedText(const std::string& bytes) {
  static const std::string kAsciiCode("ASCII\0\0\0", 8);
  static const std::string kUndefinedCode(8, '\0');
  if (bytes.size() >= 8) {
    std::string_view code(bytes.data(), 8);
    if (code == kAsciiCode || code == kUndefinedCode) {
      std::string_view text(bytes);
      text.remove_prefix(8);
      while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      return BytesToText(text);
    }
  }
  return std::string(kHexPrefix) + HexDigits(bytes);
}

// The value text of one recorded entry, given its row numbers.
std::string FetchValue(ReadChannel& channel, const ExifBlockLayout& layout,
                       std::int64_t entryPosition, std::int64_t typeCode, std::int64_t count,
                       std::int64_t valuePosition, std::int64_t& budget) {
  const bool motorola = layout.MotorolaOrder;
  const auto v = static_cast<std::int32_t>(valuePosition - layout.TiffBase + 1);
  const auto field = static_cast<std::uint32_t>(v);
  // Values of 4 bytes or fewer stand in the entry's own value field.
  auto dataPosition = [&](std::int64_t size) {
    return size <= 4 ? entryPosition + 8 : valuePosition + 1;
  };
  // The bytes of a text or undefined value, within the file and the budget.
  auto readBytes = [&]() {
    channel.Seek(dataPosition(count));
    std::string bytes = channel.ReadString(std::min(count, budget));
    budget -= static_cast<std::int64_t>(bytes.size());
    return bytes;
  };
  // Little-endian, the whole field as a signed number; big-endian, its first
  // byte or first two bytes. (Each branch is widened on its own: a shared
  // unsigned type would turn a negative field into 4294967295.)
  switch (typeCode) {
    case 1:  // BYTE
      return IntegerText(motorola ? std::int64_t{(field >> 24) & 0xFF} : std::int64_t{v});
    case 3:  // SHORT
      return IntegerText(motorola ? std::int64_t{(field >> 16) & 0xFFFF} : std::int64_t{v});
    case 4:  // LONG
      return IntegerText(v);
    case 2: {  // ASCII
      std::string bytes = readBytes();
      std::erase(bytes, '\0');
      return BytesToText(bytes);
    }
    case 5:     // RATIONAL
    case 10: {  // SRATIONAL
      channel.Seek(valuePosition + 1);
      std::int32_t numerator = channel.ReadLong();
      std::int32_t denominator = channel.ReadLong();
      return IntegerText(numerator) + "/" + IntegerText(denominator);
    }
    case 7:  // UNDEFINED
      return UndefinedText(readBytes());
    case 9:  // SLONG
      channel.Seek(dataPosition(count * 4));
      return IntegerText(channel.ReadLong());
    default:
      return {};
  }
}

void FetchCatalogued(ReadChannel& channel, RecordStore& store, const ExifBlockLayout& layout,
                     int row, std::int64_t& budget) {
  if (row < 0 || row >= store.lstValue.Count()) return;
  store.lstValue.Set(row, FetchValue(channel, layout, RowNumber(store.lstPosition, row),
                                     RowNumber(store.lstType, row),
                                     RowNumber(store.lstCount, row),
                                     RowNumber(store.lstValuePos, row), budget));
}

void FetchUncatalogued(ReadChannel& channel, RecordStore& store, const ExifBlockLayout& layout,
                       int row, std::int64_t& budget) {
  if (row < 0 || row >= store.lstUnuseValue.Count()) return;
  store.lstUnuseValue.Set(row, FetchValue(channel, layout, RowNumber(store.lstUnusePos, row),
                                          RowNumber(store.lstUnuseType, row),
                                          RowNumber(store.lstUnuseCount, row),
                                          RowNumber(store.lstUnuseValuePos, row), budget));
}

}  // namespace

void GetValue(ReadChannel& channel, RecordStore& store, const ExifBlockLayout& layout, int row) {
  std::int64_t budget = kValueBytesPerBlock;
  FetchCatalogued(channel, store, layout, row, budget);
}

void GetUnuseValue(ReadChannel& channel, RecordStore& store, const ExifBlockLayout& layout,
                   int row) {
  std::int64_t budget = kValueBytesPerBlock;
  FetchUncatalogued(channel, store, layout, row, budget);
}

bool ReadExifDataFromFile(ReadChannel& channel, RecordStore& store, ExifBlockLayout& layout) {
  layout.ExifSegmentOffset = channel.Position() - 3;
  layout.ExifSegmentLength = channel.ReadLeng();
  if (channel.ReadString(4) != "Exif") return false;
  channel.ReadString(2);
  layout.TiffBase = channel.Position();
  std::string order = channel.ReadString(2);
  if (order != "II" && order != "MM") return false;
  layout.MotorolaOrder = order != "II";
  channel.SetMotorolaOrder(layout.MotorolaOrder);
  channel.ReadString(2);  // the magic number
  std::int32_t ifd0Offset = channel.ReadLong();
  if (ifd0Offset != 8) channel.Seek(layout.TiffBase + ifd0Offset);
  layout.Ifd0EntryCount = channel.ReadInt();
  RecordEntries(channel, store, layout, layout.Ifd0EntryCount);

  std::int64_t budget = kValueBytesPerBlock;
  for (int r = 0; r <= row::kLastIfd0Row; ++r) {
    if (store.Found(r)) FetchCatalogued(channel, store, layout, r, budget);
  }
  const int ifd0Unused = store.lstUnuseTag.Count();
  for (int u = 0; u < ifd0Unused; ++u) FetchUncatalogued(channel, store, layout, u, budget);

  if (!store.Found(row::kExifPointer)) return false;
  channel.Seek(RowNumber(store.lstValuePos, row::kExifPointer) + 1);
  layout.ExifIfdEntryCount = channel.ReadInt();
  RecordEntries(channel, store, layout, layout.ExifIfdEntryCount);

  for (int r = row::kLastIfd0Row + 1; r < store.lstTag.Count(); ++r) {
    if (store.Found(r)) FetchCatalogued(channel, store, layout, r, budget);
  }
  for (int u = ifd0Unused; u < store.lstUnuseTag.Count(); ++u) {
    FetchUncatalogued(channel, store, layout, u, budget);
  }
  return true;
}

}  // namespace tagloom
