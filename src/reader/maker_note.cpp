#include "reader/maker_note.h"

#include <algorithm>
#include <array>
#include <optional>

#include "model/tiff_type.h"

namespace tagloom {
namespace {

constexpr std::int64_t kEntrySize = 12;
constexpr std::int64_t kMaxEntries = 512;
// The cameras' headers before the directory: none (Canon, Minolta), "QVC" 00
// 00 00 (Casio), "OLYMP" 00 01 00 (8), "SIGMA" ... (10), "SONY DSC " 00 00 00
// (12), "Apple iOS" ... (14), "Nikon" 00 02 with a TIFF header (18) ...
constexpr std::array<std::int64_t, 9> kHeaderSizes = {0, 6, 8, 10, 12, 14, 18, 20, 22};
constexpr std::int64_t kHeadBytes = 22 + 2 + kEntrySize * kMaxEntries;

std::uint32_t Number(std::string_view bytes, std::int64_t at, int size, bool big) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(at + i)]);
    value |= std::uint32_t{byte} << (8 * (big ? size - 1 - i : i));
  }
  return value;
}

struct Entry {
  std::uint32_t type = 0, count = 0, field = 0;
  std::int64_t Bytes() const {
    return tiff::TypeSize(static_cast<int>(type)) * std::int64_t{count};
  }
};

// The entries of the directory at `at` of `bytes`; nullopt unless its count
// fits and every type exists. `emptyAllowed`: a count of 0 is a directory too.
std::optional<std::vector<Entry>> ReadDirectory(std::string_view bytes, std::int64_t at, bool big,
                                                bool emptyAllowed) {
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (at < 0 || at + 2 > size) return std::nullopt;
  const std::int64_t count = Number(bytes, at, 2, big);
  if (count > kMaxEntries || (count == 0 && !emptyAllowed) || at + 2 + kEntrySize * count > size) {
    return std::nullopt;
  }
  std::vector<Entry> entries;
  for (std::int64_t k = 0; k < count; ++k) {
    const std::int64_t e = at + 2 + kEntrySize * k;
    Entry entry{Number(bytes, e + 2, 2, big), Number(bytes, e + 4, 4, big),
                Number(bytes, e + 8, 4, big)};
    if (tiff::TypeSize(static_cast<int>(entry.type)) == 0) return std::nullopt;
    entries.push_back(entry);
  }
  return entries;
}

struct Directory {
  std::int64_t start = 0;  // from the maker note's first byte
  bool big = false;
  std::vector<Entry> entries;
};

// The directory behind one of the known header sizes, in either byte order.
std::optional<Directory> FindDirectory(std::string_view head, bool blockBig) {
  for (std::int64_t start : kHeaderSizes) {
    for (bool big : {blockBig, !blockBig}) {
      if (auto entries = ReadDirectory(head, start, big, false)) {
        return Directory{start, big, std::move(*entries)};
      }
    }
  }
  return std::nullopt;
}

struct Span {
  std::int64_t begin = 0, end = 0;  // TIFF offsets
};

// Where the maker note's offsets count from, as a TIFF offset: a TIFF header
// of its own 8 bytes before its directory (Nikon's) where it has one; else
// the block's TIFF header (0) or its own first byte, whichever puts more of
// its values inside it (the TIFF header where neither does).
std::int64_t OffsetBase(std::string_view head, const Directory& dir, std::int64_t offset,
                        std::int64_t size) {
  const std::int64_t own = dir.start - 8;
  if (own >= 0) {
    const std::string_view magic = head.substr(static_cast<std::size_t>(own), 4);
    if (magic == std::string_view("II*\0", 4) || magic == std::string_view("MM\0*", 4)) {
      return offset + own;
    }
  }
  auto inside = [&](std::int64_t base) {
    return std::count_if(dir.entries.begin(), dir.entries.end(), [&](const Entry& e) {
      const std::int64_t at = base + e.field;
      return e.Bytes() > 4 && at >= offset && at + e.Bytes() <= offset + size;
    });
  };
  return inside(offset) > inside(0) ? offset : 0;
}

// Collects what a maker note points to outside itself.
class Outside {
 public:
  Outside(ReadChannel& channel, std::int64_t tiffBase, std::int64_t blockSize, Span note)
      : channel_(channel), tiffBase_(tiffBase), blockSize_(blockSize), note_(note) {}

  // The parts of [begin, end) outside the maker note and inside the block.
  void Add(std::int64_t begin, std::int64_t end) {
    if (begin < 8 || end > blockSize_ || !channel_.Holds(tiffBase_ + begin, end - begin)) return;
    if (begin < note_.begin) spans_.push_back({begin, std::min(end, note_.begin)});
    if (end > note_.end) spans_.push_back({std::max(begin, note_.end), end});
  }
  // The values of a directory's entries that lie outside them, counted from `base`.
  void AddValues(const std::vector<Entry>& entries, std::int64_t base) {
    for (const Entry& e : entries) {
      if (e.Bytes() > 4) Add(base + e.field, base + e.field + e.Bytes());
    }
  }
  // A directory that a 4-byte entry points to past the maker note's end
  // (Nikon's scan settings lie just past it), with its values.
  void AddSubDirectory(std::int64_t at, bool big, std::int64_t base) {
    if (at < note_.end || at + 2 > blockSize_) return;
    channel_.Seek(tiffBase_ + at);
    const std::string bytes = channel_.ReadString(std::min(blockSize_ - at, kHeadBytes));
    std::optional<std::vector<Entry>> entries = ReadDirectory(bytes, 0, big, true);
    if (!entries) return;
    Add(at, at + 2 + kEntrySize * static_cast<std::int64_t>(entries->size()) + 4);
    AddValues(*entries, base);
  }
  // Ascending, overlapping and touching spans joined, with their bytes.
  std::vector<PinnedBytes> Pinned() {
    std::sort(spans_.begin(), spans_.end(),
              [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::vector<Span> joined;
    for (const Span& s : spans_) {
      if (!joined.empty() && s.begin <= joined.back().end) {
        joined.back().end = std::max(joined.back().end, s.end);
      } else {
        joined.push_back(s);
      }
    }
    std::vector<PinnedBytes> pinned;
    for (const Span& s : joined) {
      channel_.Seek(tiffBase_ + s.begin);
      pinned.push_back({s.begin, channel_.ReadString(s.end - s.begin)});
    }
    return pinned;
  }

 private:
  ReadChannel& channel_;
  std::int64_t tiffBase_, blockSize_;
  Span note_;
  std::vector<Span> spans_;
};

}  // namespace

MakerNotePlace LocateMakerNote(ReadChannel& channel, std::int64_t tiffBase, std::int64_t offset,
                               std::int64_t size, std::int64_t blockSize) {
  MakerNotePlace place;
  if (size <= 4 || offset < 0) return place;  // in its entry, or nowhere
  place.offset = offset;
  place.size = size;
  const std::int64_t position = channel.Position();
  channel.Seek(tiffBase + offset);
  const std::string head = channel.ReadString(std::min(size, kHeadBytes));
  if (std::optional<Directory> dir = FindDirectory(head, channel.MotorolaOrder())) {
    const std::int64_t base = OffsetBase(head, *dir, offset, size);
    Outside outside(channel, tiffBase, blockSize, {offset, offset + size});
    outside.AddValues(dir->entries, base);
    for (const Entry& e : dir->entries) {
      if ((e.type == tiff::kLong || e.type == tiff::kIfd) && e.count == 1) {
        outside.AddSubDirectory(base + e.field, dir->big, base);
      }
    }
    place.outside = outside.Pinned();
    place.movable = base != 0 && place.outside.empty();
  }
  channel.Seek(position);
  return place;
}

}  // namespace tagloom
