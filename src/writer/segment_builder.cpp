#include "writer/segment_builder.h"

#include <algorithm>

#include "model/hex_text.h"
#include "model/number_text.h"
#include "model/tiff_type.h"
#include "model/value_text.h"
#include "reader/jpeg_segments.h"

namespace tagloom {
namespace {

std::int32_t TypeOf(const RecordStore& store, int row) {
  return static_cast<std::int32_t>(RoundHalfEven(store.lstType.Number(row)));
}

bool HasValueArea(std::int32_t type) {
  return type == tiff::kAscii || tiff::IsRational(type) || type == tiff::kUndefined;
}

// A hexadecimal text as a number, by the leading-number parse; an invalid
// digit ends it.
std::int32_t HexNumber(std::string_view digits) {
  return static_cast<std::int32_t>(LeadingNumber("&H" + std::string(digits)));
}

}  // namespace

void SegmentBuilder::Fail(BuildError error, int row) {
  if (error_ != BuildError::kNone) return;
  error_ = error;
  errorRow_ = row;
}

void SegmentBuilder::AddSegmentHead() {
  AddByte(kMarkerPrefix);
  AddByte(kMarkerApp1);
  AddSize(0);  // the length, patched at the end
  AddString(kExifSignature);
  AddString("II");
  AddHex("2A00");
  AddLong(8);
}

void SegmentBuilder::AddByte(std::uint8_t byte) {
  if (bytes_.size() >= kMaxSegmentBytes) {
    Fail(BuildError::kTooLarge);
    return;
  }
  bytes_ += static_cast<char>(byte);
}

void SegmentBuilder::AddInt(std::int32_t value) {
  auto v = static_cast<std::uint16_t>(value);
  AddByte(static_cast<std::uint8_t>(v & 0xFF));
  AddByte(static_cast<std::uint8_t>(v >> 8));
}

void SegmentBuilder::AddSize(std::int32_t value) {
  auto v = static_cast<std::uint16_t>(value);
  AddByte(static_cast<std::uint8_t>(v >> 8));
  AddByte(static_cast<std::uint8_t>(v & 0xFF));
}

void SegmentBuilder::AddHex(std::string_view digits) {
  if (digits.size() == 4) AddSize(HexNumber(digits));
}

void SegmentBuilder::AddTag(std::string_view digits) {
  if (digits.size() == 4) AddInt(HexNumber(digits));
}

void SegmentBuilder::AddLong(std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) AddByte(static_cast<std::uint8_t>(v >> shift));
}

std::size_t SegmentBuilder::AddString(std::string_view bytes) {
  if (bytes_.size() + bytes.size() > kMaxSegmentBytes) {
    Fail(BuildError::kTooLarge);
    return 0;
  }
  bytes_ += bytes;
  return bytes.size();
}

void SegmentBuilder::AddTable(const RecordStore& store, int row) {
  std::optional<std::int32_t> type = LeadingInt32(store.lstType.Row(row));
  std::optional<std::int32_t> count = LeadingInt32(store.lstCount.Row(row));
  std::optional<std::int32_t> field = LeadingInt32(store.lstValuePos.Row(row));
  if (!type || !count || !field) {
    Fail(BuildError::kBadNumber, row);
    return;
  }
  AddTag(store.lstTag.Row(row));
  AddInt(*type);
  AddLong(*count);
  AddLong(*field);
}

void SegmentBuilder::AddValue(const RecordStore& store, int row) {
  if (ValueInEntry(store, row)) return;
  BuildError error = BuildError::kNone;
  std::string bytes = ValueBytes(store, row, error);
  if (error != BuildError::kNone) {
    Fail(error, row);
    return;
  }
  AddString(bytes);
}

void SegmentBuilder::PatchLength() {
  if (bytes_.size() < 4) return;
  bytes_[2] = static_cast<char>((bytes_.size() >> 8) & 0xFF);
  bytes_[3] = static_cast<char>(bytes_.size() & 0xFF);
}

std::string ValueBytes(const RecordStore& store, int row, BuildError& error) {
  const std::string& value = store.lstValue.Row(row);
  switch (TypeOf(store, row)) {
    case tiff::kAscii:
      return value + std::string(1, '\0');
    case tiff::kRational:
    case tiff::kSRational: {
      std::size_t slash = value.find('/');
      if (slash == std::string::npos) {
        error = BuildError::kBadRational;
        return {};
      }
      std::optional<std::int32_t> numerator = LeadingInt32(value.substr(0, slash));
      std::optional<std::int32_t> denominator = LeadingInt32(value.substr(slash + 1));
      if (!numerator || !denominator) {
        error = BuildError::kBadNumber;
        return {};
      }
      std::string bytes;
      for (std::int32_t part : {*numerator, *denominator}) {
        auto v = static_cast<std::uint32_t>(part);
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(v >> shift);
      }
      return bytes;
    }
    case tiff::kUndefined: {
      if (value.compare(0, kHexPrefix.size(), kHexPrefix) != 0) {
        return std::string(kAsciiCode) + value;
      }
      // Pairs of hexadecimal digits; half the digits rounded to even bytes,
      // a digit left alone at the end read by itself.
      std::string_view digits = std::string_view(value).substr(kHexPrefix.size());
      auto count = static_cast<std::size_t>(RoundHalfEven(static_cast<double>(digits.size()) / 2));
      std::string bytes(count, '\0');
      // Whole digits (a maker note's tens of thousands) by table; anything
      // else pair by pair with the reading rule.
      std::size_t i = 0;
      if (IsHexDigits(digits)) {
        i = std::min(count, digits.size() / 2);
        BytesOfHexPairs(digits.substr(0, 2 * i), bytes.data());
      }
      for (; i < count; ++i) bytes[i] = static_cast<char>(HexNumber(digits.substr(2 * i, 2)));
      return bytes;
    }
    default:
      return {};
  }
}

bool ValueInEntry(const RecordStore& store, int row) {
  const int type = TypeOf(store, row);
  if (!HasValueArea(type)) return true;
  // More than ten digits make more than four bytes: a maker note is not
  // turned into bytes only to learn that.
  const std::string& value = store.lstValue.Row(row);
  if (type == tiff::kUndefined && value.size() > kHexPrefix.size() + 10) return false;
  // A value that cannot be encoded stands nowhere: AddValue reports it.
  BuildError error = BuildError::kNone;
  return ValueBytes(store, row, error).size() <= 4 && error == BuildError::kNone;
}

}  // namespace tagloom
