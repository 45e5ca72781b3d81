#include "writer/carried_layout.h"

#include <algorithm>
#include <charconv>

#include "model/catalogue.h"
#include "model/number_text.h"
#include "model/tiff_type.h"
#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

using Dir = BlockDirectory;

constexpr std::uint16_t kGpsPointer = 0x8825, kInteropPointer = 0xA005;
constexpr std::int64_t kEntrySize = 12;
constexpr std::int64_t kWord = 2;
constexpr std::int64_t kFirstIfd = 8;  // right after the TIFF header

// The little-endian bytes of a number, `size` of them.
std::string LittleEndian(std::int64_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; ++i)
    bytes += static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i));
  return bytes;
}

// One entry of a new directory: a catalogued row, or an entry whose type,
// count and little-endian value are given (carried, a pointer, the thumbnail's).
struct OutEntry {
  std::uint16_t tag = 0;
  int row = -1;  // a catalogued row: the store gives the rest
  CarriedEntry given;
  std::int64_t valueAt = -1;  // where a value of more than 4 bytes was placed
};

struct OutDirectory {
  std::vector<OutEntry> entries;
  std::int64_t offset = 0;  // TIFF offset, once placed
  std::uint32_t next = 0;   // link to the next directory
  // Zeros as long as the directory, to hold its place until its entries are known.
  std::string Placeholder() const { return std::string(2 + kEntrySize * entries.size() + 4, '\0'); }
  OutEntry* Find(std::uint16_t tag) {
    for (OutEntry& e : entries) {
      if (e.tag == tag) return &e;
    }
    return nullptr;
  }
};

std::uint16_t RowTag(const RecordStore& store, int row) {
  const std::string& text = store.lstTag.Row(row);
  std::uint16_t tag = 0;
  std::from_chars(text.data(), text.data() + text.size(), tag, 16);
  return tag;
}

OutEntry Given(const CarriedEntry& entry) {
  return {entry.tag, -1, entry, -1};
}
OutEntry Pointer(std::uint16_t tag) {
  return Given({tag, tiff::kLong, 1, LittleEndian(0, 4)});
}

class CarriedLayout {
 public:
  CarriedLayout(RecordStore& store, const MakerNotePlace& makerNote, const CarriedBlock& carried)
      : store_(store), makerNote_(makerNote), carried_(carried) {}

  BuiltSegment Build() {
    MakeDirectories();
    Place();
    if (result_.error == BuildError::kNone) Link();
    for (auto& dir : dirs_) {
      if (dir && result_.error == BuildError::kNone) Encode(*dir);
    }
    if (result_.error != BuildError::kNone) return result_;
    SegmentBuilder b;
    b.AddSegmentHead();  // IFD0 at kFirstIfd
    b.AddString(area_.Bytes());
    if (b.Error() != BuildError::kNone) return Fail(b.Error(), b.ErrorRow());
    b.PatchLength();
    result_.bytes = b.Bytes();
    return result_;
  }

 private:
  std::optional<OutDirectory>& At(Dir d) { return dirs_[static_cast<std::size_t>(d)]; }

  BuiltSegment Fail(BuildError error, int row) {
    result_.error = error;
    result_.errorRow = row;
    return result_;
  }

  // The written rows and the carried entries of each directory, ascending by
  // tag, with the pointers to the directories that follow.
  void MakeDirectories() {
    // Rows firstRow to lastRow (none for the directories the store has no rows for).
    auto make = [&](Dir d, int firstRow, int lastRow) {
      OutDirectory dir;
      for (int r = firstRow; r <= lastRow; ++r) {
        if (IsWritten(store_, r)) dir.entries.push_back({RowTag(store_, r), r, {}, -1});
      }
      if (carried_[d]) {
        for (const CarriedEntry& e : *carried_[d]) dir.entries.push_back(Given(e));
      }
      if (!dir.entries.empty() || d == Dir::kIfd0 || d == Dir::kExif) At(d) = std::move(dir);
    };
    make(Dir::kIfd0, 0, row::kLastIfd0Row);
    make(Dir::kExif, row::kLastIfd0Row + 1, store_.lstTag.Count() - 1);
    make(Dir::kGps, 0, -1);
    make(Dir::kInterop, 0, -1);
    make(Dir::kIfd1, 0, -1);
    const CarriedThumbnail& thumbnail = carried_.thumbnail;
    if (thumbnail.offsetsTag != 0) {
      if (!At(Dir::kIfd1)) At(Dir::kIfd1).emplace();
      const int unit = tiff::TypeSize(thumbnail.offsetsType);
      const auto strips = static_cast<std::uint32_t>(thumbnail.starts.size());
      At(Dir::kIfd1)
          ->entries.push_back(Given({thumbnail.offsetsTag, thumbnail.offsetsType, strips,
                                     std::string(unit * strips, '\0')}));
      At(Dir::kIfd1)->entries.push_back(Given(thumbnail.sizes));
    }
    if (At(Dir::kGps)) At(Dir::kIfd0)->entries.push_back(Pointer(kGpsPointer));
    if (At(Dir::kInterop)) At(Dir::kExif)->entries.push_back(Pointer(kInteropPointer));
    for (auto& dir : dirs_) {
      if (dir) {
        std::stable_sort(dir->entries.begin(), dir->entries.end(),
                         [](const OutEntry& a, const OutEntry& b) { return a.tag < b.tag; });
      }
    }
    result_.ifd0EntryCount = static_cast<std::int64_t>(At(Dir::kIfd0)->entries.size());
    result_.exifIfdEntryCount = static_cast<std::int64_t>(At(Dir::kExif)->entries.size());
  }

  // IFD0 at offset 8, then the maker note at its place; then each directory
  // followed by its values, the thumbnail last.
  void Place() {
    At(Dir::kIfd0)->offset = area_.Place(At(Dir::kIfd0)->Placeholder());
    result_.makerNote = PinMakerNote(store_, makerNote_, area_);
    PlaceValues(*At(Dir::kIfd0));
    for (Dir d : {Dir::kExif, Dir::kInterop, Dir::kGps, Dir::kIfd1}) {
      if (!At(d)) continue;
      At(d)->offset = area_.Place(At(d)->Placeholder());
      PlaceValues(*At(d));
    }
    if (carried_.thumbnail.offsetsTag != 0) thumbnailAt_ = area_.Place(carried_.thumbnail.bytes);
  }

  void PlaceValues(OutDirectory& dir) {
    const bool pinned = KeepsItsPlace(result_.makerNote);
    for (OutEntry& e : dir.entries) {
      if (result_.error != BuildError::kNone) return;
      if (e.row == row::kExifPointer) continue;  // set once the Exif IFD is placed
      if (e.row >= 0) {
        BuildError error = PlaceValue(store_, e.row, area_, pinned, makerNote_.offset);
        if (error != BuildError::kNone) Fail(error, e.row);
      } else if (e.given.value.size() > 4) {
        e.valueAt = area_.Place(e.given.value);
      }
    }
  }

  // The pointers and links to where the directories and the thumbnail went.
  void Link() {
    const std::int64_t exif = At(Dir::kExif)->offset;
    store_.lstValuePos.Set(row::kExifPointer, IntegerText(exif));
    store_.lstValue.Set(row::kExifPointer, IntegerText(exif));
    auto point = [&](Dir from, std::uint16_t tag, Dir to) {
      if (At(to)) At(from)->Find(tag)->given.value = LittleEndian(At(to)->offset, 4);
    };
    point(Dir::kIfd0, kGpsPointer, Dir::kGps);
    point(Dir::kExif, kInteropPointer, Dir::kInterop);
    if (At(Dir::kIfd1)) At(Dir::kIfd0)->next = static_cast<std::uint32_t>(At(Dir::kIfd1)->offset);
    const CarriedThumbnail& thumbnail = carried_.thumbnail;
    if (thumbnail.offsetsTag == 0) return;
    OutEntry& offsets = *At(Dir::kIfd1)->Find(thumbnail.offsetsTag);
    offsets.given.value.clear();
    for (std::uint32_t start : thumbnail.starts) {
      offsets.given.value +=
          LittleEndian(thumbnailAt_ + start, tiff::TypeSize(thumbnail.offsetsType));
    }
    if (offsets.valueAt >= 0) area_.Fill(offsets.valueAt, offsets.given.value);
  }

  // Directory: 2 count, 12-byte entries, 4 link.
  void Encode(const OutDirectory& dir) {
    SegmentBuilder b;
    b.AddInt(static_cast<std::int32_t>(dir.entries.size()));
    for (const OutEntry& e : dir.entries) {
      if (e.row >= 0) {
        b.AddTable(store_, e.row);
        continue;
      }
      std::string field = e.given.value;
      if (field.size() > 4) field = LittleEndian(e.valueAt, 4);
      field.resize(4, '\0');
      b.AddInt(e.tag);
      b.AddInt(e.given.type);
      b.AddLong(static_cast<std::int32_t>(e.given.count));
      b.AddString(field);
    }
    b.AddLong(static_cast<std::int32_t>(dir.next));
    if (b.Error() != BuildError::kNone) {
      Fail(b.Error(), b.ErrorRow());
    } else {
      area_.Fill(dir.offset, b.Bytes());
    }
  }

  RecordStore& store_;
  const MakerNotePlace& makerNote_;
  const CarriedBlock& carried_;
  ValueArea area_{kFirstIfd, kWord};
  std::array<std::optional<OutDirectory>, kBlockDirectories> dirs_;
  std::int64_t thumbnailAt_ = 0;
  BuiltSegment result_;
};

// What of `carried` the segment holds, and what not.
CarriedReport Report(const CarriedBlock& carried) {
  CarriedReport report;
  auto any = [&](Dir d) { return carried[d] && !carried[d]->empty(); };
  report.gps = any(Dir::kGps);
  report.interop = any(Dir::kInterop);
  report.thumbnail = carried.thumbnail.offsetsTag != 0;
  for (std::size_t d = 0; d < kBlockDirectories; ++d) {
    const auto& entries = carried.directories[d];
    report.entries[d] = entries ? static_cast<int>(entries->size()) : 0;
  }
  report.notKept = carried.notCarried;
  return report;
}

}  // namespace

BuiltSegment AssembleCarried(RecordStore& store, const MakerNotePlace& makerNote,
                             const CarriedBlock& carried) {
  BuiltSegment built = CarriedLayout(store, makerNote, carried).Build();
  built.carried = Report(carried);
  return built;
}

bool DropForSize(CarriedBlock& carried) {
  CarriedThumbnail& thumbnail = carried.thumbnail;
  if (thumbnail.offsetsTag != 0) {
    carried.notCarried.push_back(
        {Dir::kIfd1, thumbnail.offsetsTag, NotCarriedWhy::kDroppedForSize});
    thumbnail = {};
    return true;
  }
  // The bytes an entry takes: its 12, and its value where it does not fit in them.
  auto cost = [](const CarriedEntry& e) {
    return kEntrySize + (e.value.size() > 4 ? static_cast<std::int64_t>(e.value.size()) : 0);
  };
  std::optional<std::pair<std::size_t, std::size_t>> largest;  // directory, entry
  std::int64_t most = 0;
  for (std::size_t d = 0; d < kBlockDirectories; ++d) {
    if (!carried.directories[d]) continue;
    const CarriedEntries& entries = *carried.directories[d];
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (cost(entries[i]) > most) {
        most = cost(entries[i]);
        largest = {d, i};
      }
    }
  }
  if (!largest) return false;
  CarriedEntries& entries = *carried.directories[largest->first];
  carried.notCarried.push_back({static_cast<Dir>(largest->first), entries[largest->second].tag,
                                NotCarriedWhy::kDroppedForSize});
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(largest->second));
  return true;
}

}  // namespace tagloom
