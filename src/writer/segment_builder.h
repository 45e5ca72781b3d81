// The segment builder: appends bytes, numbers, texts, directory entries and
// values to a new APP1 segment, little-endian except where noted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/record_store.h"

namespace tagloom {

enum class BuildError {
  kNone,
  kTooLarge,     // the segment would pass the JPEG segment limit
  kBadNumber,    // a type, count, value or value position that is no 32-bit number
  kBadRational,  // a rational value text without "/"
};

class SegmentBuilder {
 public:
  // A JPEG length field holds at most 65,535; a built segment counts its own
  // marker in it, so that is also the most bytes a build may append.
  static constexpr std::size_t kMaxSegmentBytes = 65535;

  // The head of every segment Tagloom builds: FF E1, a length for
  // PatchLength, "Exif" 00 00, and a little-endian TIFF header ("II", 2A 00)
  // whose IFD0 follows it at offset 8.
  void AddSegmentHead();
  void AddByte(std::uint8_t byte);
  void AddInt(std::int32_t value);       // 16 bits, low byte first
  void AddSize(std::int32_t value);      // 16 bits, high byte first
  void AddHex(std::string_view digits);  // "2A00" gives 2A 00; other lengths add nothing
  void AddTag(std::string_view digits);  // "8769" gives 69 87; other lengths add nothing
  void AddLong(std::int32_t value);      // 32 bits, two's complement, low byte first
  std::size_t AddString(std::string_view bytes);
  // The 12-byte directory entry of a catalogue row.
  void AddTable(const RecordStore& store, int row);
  // The value bytes of a row that lie outside its entry (none for the others).
  void AddValue(const RecordStore& store, int row);

  // Stores the number of bytes built, big-endian, into bytes 2 and 3.
  void PatchLength();

  const std::string& Bytes() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }  // also where the next byte goes
  BuildError Error() const { return error_; }
  int ErrorRow() const { return errorRow_; }

 private:
  void Fail(BuildError error, int row = -1);

  std::string bytes_;
  BuildError error_ = BuildError::kNone;
  int errorRow_ = -1;
};

// The bytes of a row's value, encoded by its type: a text and its NUL, two
// 32-bit numbers for a rational, hexadecimal digits as bytes or a text behind
// the 8-byte "ASCII" code for an undefined value. Empty for the types whose
// value is a number in the entry itself. Sets `error` when the value text
// cannot be encoded.
std::string ValueBytes(const RecordStore& store, int row, BuildError& error);

// Whether a row's value stands in its entry's value field (numbers, and any
// value of 4 bytes or fewer, as TIFF places them) rather than in a value area.
bool ValueInEntry(const RecordStore& store, int row);

}  // namespace tagloom
