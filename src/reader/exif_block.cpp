#include "reader/exif_block.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/tiff_type.h"
#include "model/value_text.h"
#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

constexpr std::int64_t kEntrySize = 12;

// One recorded directory entry, as the numbers its rows hold.
struct Entry {
  std::int64_t position = 0;  // 1-based position of its first byte; 0: not found
  std::int64_t type = 0;
  std::int64_t count = 0;
  std::int64_t valuePosition = 0;
};

// The numbers of the entries recorded while walking a block, kept beside the
// rows' texts so that the value fetch need not read them back from text.
struct Recorded {
  std::array<Entry, kCatalogueRows> catalogued{};
  std::vector<Entry> uncatalogued;  // parallel to the uncatalogued rows
};

// Records `count` directory entries read one after another. A directory that
// runs past the end of the file ends with its last whole entry.
void RecordEntries(ReadChannel& channel, RecordStore& store, const ExifBlockLayout& layout,
                   std::int64_t count, Recorded& recorded) {
  for (std::int64_t k = 0; k < count; ++k) {
    std::int64_t p = channel.Position();
    if (!channel.Holds(p, kEntrySize)) return;
    // The tag as a number: its text is needed only for an uncatalogued entry.
    const auto tag = static_cast<std::uint16_t>(channel.ReadInt());
    const int r = CatalogueRowOf(tag);
    std::int32_t type = channel.ReadInt();
    std::int32_t entryCount = channel.ReadLong();
    std::int32_t v = channel.ReadLong();
    Entry entry{p, type, entryCount, layout.TiffBase + v - 1};
    if (r == -1) {
      if (store.AppendUncatalogued(tag, entry.position, entry.valuePosition, entry.count,
                                   entry.type)) {
        recorded.uncatalogued.push_back(entry);
      }
    } else {
      store.lstPosition.SetNumber(r, entry.position);
      store.lstValuePos.SetNumber(r, entry.valuePosition);
      store.lstCount.SetNumber(r, entry.count);
      store.lstType.SetNumber(r, entry.type);
      recorded.catalogued[static_cast<std::size_t>(r)] = entry;
    }
  }
}

// The UNDEFINED value: the bytes after an 8-byte character-code prefix of
// "ASCII" or of NUL bytes as text, else the bytes in hexadecimal.
void SetUndefined(TextList& values, int row, std::string bytes) {
  static constexpr std::string_view kUndefinedCode{"\0\0\0\0\0\0\0\0", 8};
  if (bytes.size() >= kAsciiCode.size()) {
    std::string_view code(bytes.data(), kAsciiCode.size());
    if (code == kAsciiCode || code == kUndefinedCode) {
      return values.Set(row, TrimBlanks(std::string_view(bytes).substr(kAsciiCode.size())));
    }
  }
  values.SetHexBytes(row, std::move(bytes));
}

// The value fetch: stores the value text of one recorded entry into row
// `row` of `values` (lstValue or lstUnuseValue).
void GetValue(ReadChannel& channel, const ExifBlockLayout& layout, const Entry& entry,
              std::int64_t& budget, TextList& values, int row) {
  const std::int64_t entryPosition = entry.position;
  const std::int64_t typeCode = entry.type;
  const std::int64_t count = entry.count;
  const std::int64_t valuePosition = entry.valuePosition;
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
  // A BYTE or SHORT field holds its first value in its first byte or two
  // bytes, in either byte order: the rest is a further value or padding,
  // which some cameras leave non-zero.
  switch (typeCode) {
    case tiff::kByte:
      return values.SetNumber(row, motorola ? (field >> 24) & 0xFF : field & 0xFF);
    case tiff::kShort:
      return values.SetNumber(row, motorola ? (field >> 16) & 0xFFFF : field & 0xFFFF);
    case tiff::kLong:
      return values.SetNumber(row, v);
    case tiff::kAscii: {  // the bytes as they are, without NULs; shown decoded
      std::string bytes = readBytes();
      std::erase(bytes, '\0');
      return values.Set(row, std::move(bytes));
    }
    case tiff::kRational:
    case tiff::kSRational: {
      channel.Seek(valuePosition + 1);
      std::int32_t numerator = channel.ReadLong();
      std::int32_t denominator = channel.ReadLong();
      return values.SetFraction(row, numerator, denominator);
    }
    case tiff::kUndefined:
      return SetUndefined(values, row, readBytes());
    case tiff::kSLong:
      channel.Seek(dataPosition(count * 4));
      return values.SetNumber(row, channel.ReadLong());
    default:
      return values.Set(row, "");
  }
}

}  // namespace

void ReadSegmentPlace(ReadChannel& channel, ExifBlockLayout& layout) {
  layout.ExifSegmentOffset = channel.Position() - 3;
  layout.ExifSegmentLength = channel.ReadLeng();
}

bool ReadExifDataFromFile(ReadChannel& channel, RecordStore& store, ExifBlockLayout& layout) {
  layout.HasIfd1 = false;
  layout.makerNote = {};
  ReadSegmentPlace(channel, layout);
  if (!IsExifSignature(channel.ReadString(static_cast<std::int64_t>(kExifSignature.size())))) {
    return false;
  }
  layout.TiffBase = channel.Position();
  std::string order = channel.ReadString(2);
  if (order != "II" && order != "MM") return false;
  layout.MotorolaOrder = order != "II";
  channel.SetMotorolaOrder(layout.MotorolaOrder);
  channel.ReadString(2);  // the magic number
  std::int32_t ifd0Offset = channel.ReadLong();
  if (ifd0Offset != 8) channel.Seek(layout.TiffBase + ifd0Offset);
  layout.Ifd0EntryCount = channel.ReadInt();
  const std::int64_t linkAt = channel.Position() + kEntrySize * layout.Ifd0EntryCount;
  Recorded recorded;
  recorded.uncatalogued.reserve(64);  // a camera's block has some dozens
  RecordEntries(channel, store, layout, layout.Ifd0EntryCount, recorded);
  // IFD0: 2 count + 12 * n entries + 4 link to the next directory.
  channel.Seek(linkAt);
  layout.HasIfd1 = channel.Holds(linkAt, 4) && channel.ReadLong() != 0;

  std::int64_t budget = kValueBytesPerBlock;
  // Rows 0 to 6 are fetched after IFD0, rows 7 to 19 after the Exif IFD,
  // wherever each tag was found.
  auto fetchCatalogued = [&](int from, int to) {
    for (int r = from; r <= to; ++r) {
      const Entry& entry = recorded.catalogued[static_cast<std::size_t>(r)];
      if (entry.position > 0) GetValue(channel, layout, entry, budget, store.lstValue, r);
    }
  };
  auto fetchUncatalogued = [&](std::size_t from) {
    for (std::size_t u = from; u < recorded.uncatalogued.size(); ++u) {
      GetValue(channel, layout, recorded.uncatalogued[u], budget, store.lstUnuseValue,
               static_cast<int>(u));
    }
  };
  fetchCatalogued(0, row::kLastIfd0Row);
  const std::size_t ifd0Unused = recorded.uncatalogued.size();
  fetchUncatalogued(0);

  const Entry& pointer = recorded.catalogued[row::kExifPointer];
  if (pointer.position <= 0) return false;
  channel.Seek(pointer.valuePosition + 1);
  layout.ExifIfdEntryCount = channel.ReadInt();
  RecordEntries(channel, store, layout, layout.ExifIfdEntryCount, recorded);

  fetchCatalogued(row::kLastIfd0Row + 1, kCatalogueRows - 1);
  fetchUncatalogued(ifd0Unused);
  const Entry& note = recorded.catalogued[row::kMakerNote];
  if (note.position > 0 && note.type == tiff::kUndefined) {
    // The TIFF block ends with the segment: its length counts itself and "Exif" 00 00.
    layout.makerNote =
        LocateMakerNote(channel, layout.TiffBase, note.valuePosition - layout.TiffBase + 1,
                        note.count, layout.ExifSegmentLength - 8);
  }
  return true;
}

}  // namespace tagloom
