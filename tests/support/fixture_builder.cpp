#include "support/fixture_builder.h"

#include <stdexcept>

namespace tagloom::test {
namespace {

std::string LittleEndian(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string BigEndian(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

Entry Numbers(std::uint16_t tag, std::uint16_t type, int unit,
              const std::vector<std::uint64_t>& values, std::uint32_t count) {
  Entry e;
  e.tag = tag;
  e.type = type;
  e.count = count;
  e.unit = unit;
  for (std::uint64_t v : values) e.value += LittleEndian(v, unit);
  return e;
}

}  // namespace

Entry Byte(std::uint16_t tag, std::uint8_t value) {
  return Numbers(tag, 1, 1, {value}, 1);
}

Entry Bytes(std::uint16_t tag, const std::vector<std::uint8_t>& values) {
  std::vector<std::uint64_t> wide(values.begin(), values.end());
  return Numbers(tag, 1, 1, wide, static_cast<std::uint32_t>(values.size()));
}

Entry Ascii(std::uint16_t tag, const std::string& text) {
  return AsciiRaw(tag, text + std::string(1, '\0'));
}

Entry AsciiRaw(std::uint16_t tag, const std::string& bytes) {
  Entry e;
  e.tag = tag;
  e.type = 2;
  e.count = static_cast<std::uint32_t>(bytes.size());
  e.value = bytes;
  return e;
}

Entry Short(std::uint16_t tag, std::uint16_t value) {
  return Numbers(tag, 3, 2, {value}, 1);
}

Entry Shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values) {
  std::vector<std::uint64_t> wide(values.begin(), values.end());
  return Numbers(tag, 3, 2, wide, static_cast<std::uint32_t>(values.size()));
}

Entry Long(std::uint16_t tag, std::uint32_t value) {
  return Numbers(tag, 4, 4, {value}, 1);
}

Entry Rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) {
  return Numbers(tag, 5, 4, {numerator, denominator}, 1);
}

Entry SRational(std::uint16_t tag, std::int32_t numerator, std::int32_t denominator) {
  return Numbers(tag, 10, 4,
                 {static_cast<std::uint32_t>(numerator), static_cast<std::uint32_t>(denominator)},
                 1);
}

Entry Undefined(std::uint16_t tag, const std::string& bytes) {
  Entry e;
  e.tag = tag;
  e.type = 7;
  e.count = static_cast<std::uint32_t>(bytes.size());
  e.value = bytes;
  return e;
}

Entry SLong(std::uint16_t tag, std::int32_t value) {
  return Numbers(tag, 9, 4, {static_cast<std::uint32_t>(value)}, 1);
}

Entry SLongs(std::uint16_t tag, const std::vector<std::int32_t>& values) {
  std::vector<std::uint64_t> wide;
  for (std::int32_t v : values) wide.push_back(static_cast<std::uint32_t>(v));
  return Numbers(tag, 9, 4, wide, static_cast<std::uint32_t>(values.size()));
}

Entry Raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t field) {
  Entry e;
  e.tag = tag;
  e.type = type;
  e.count = count;
  e.valueField = field;
  return e;
}

TiffBuilder& TiffBuilder::Ifd0(std::vector<Entry> entries) {
  ifd0_ = std::move(entries);
  return *this;
}
TiffBuilder& TiffBuilder::ExifIfd(std::vector<Entry> entries) {
  exif_ = std::move(entries);
  return *this;
}
TiffBuilder& TiffBuilder::Ifd0Offset(std::uint32_t offset) {
  ifd0Offset_ = offset;
  return *this;
}
TiffBuilder& TiffBuilder::Ifd0CountOverride(std::uint16_t count) {
  ifd0Count_ = count;
  return *this;
}
TiffBuilder& TiffBuilder::ExifCountOverride(std::uint16_t count) {
  exifCount_ = count;
  return *this;
}
TiffBuilder& TiffBuilder::PointerTo(std::uint32_t offset) {
  pointer_ = offset;
  return *this;
}
TiffBuilder& TiffBuilder::ByteOrderMark(const std::string& mark) {
  mark_ = mark;
  return *this;
}
TiffBuilder& TiffBuilder::Ifd0OffsetOverride(std::uint32_t offset) {
  ifd0OffsetField_ = offset;
  return *this;
}
TiffBuilder& TiffBuilder::ExifIfdOffset(std::uint32_t offset) {
  exifOffset_ = offset;
  return *this;
}
TiffBuilder& TiffBuilder::Place(std::uint32_t offset, const std::string& bytes) {
  placed_.emplace_back(offset, bytes);
  return *this;
}

std::string TiffBuilder::Build() const {
  const bool big = order_ == ByteOrder::kBig;
  auto number = [&](std::uint64_t v, int bytes) {
    return big ? BigEndian(v, bytes) : LittleEndian(v, bytes);
  };
  // A value's bytes in the block's order.
  auto ordered = [&](const Entry& e) {
    if (!big || e.unit == 1) return e.value;
    std::string out;
    for (std::size_t i = 0; i + static_cast<std::size_t>(e.unit) <= e.value.size(); i += e.unit) {
      std::string part = e.value.substr(i, static_cast<std::size_t>(e.unit));
      out.append(part.rbegin(), part.rend());
    }
    return out;
  };

  std::string tiff = mark_ ? *mark_ : (big ? "MM" : "II");
  tiff += number(42, 2);
  tiff += number(ifd0OffsetField_.value_or(ifd0Offset_), 4);
  if (tiff.size() < ifd0Offset_) tiff.resize(ifd0Offset_, '\0');

  // Writes one directory at the end of `tiff`, its values after it. Returns
  // the offset of the value field of the entry with `patchTag`, if any.
  auto directory = [&](const std::vector<Entry>& entries,
                       std::optional<std::uint16_t> countOverride, std::uint16_t patchTag) {
    std::size_t start = tiff.size();
    std::size_t valueArea = start + 2 + 12 * entries.size() + 4;
    std::string values;
    std::string dir = number(countOverride.value_or(static_cast<std::uint16_t>(entries.size())), 2);
    std::optional<std::size_t> patch;
    for (const Entry& e : entries) {
      dir += number(e.tag, 2) + number(e.type, 2) + number(e.count, 4);
      if (e.tag == patchTag) patch = start + dir.size();
      if (e.valueField) {
        dir += number(*e.valueField, 4);
      } else if (e.value.size() <= 4) {
        std::string inlineBytes = ordered(e);
        inlineBytes.resize(4, '\0');
        dir += inlineBytes;
      } else {
        dir += number(valueArea + values.size(), 4);
        values += ordered(e);
        if (values.size() % 2) values += '\0';  // word alignment, as TIFF asks
      }
    }
    dir += number(0, 4);  // no next directory
    tiff += dir + values;
    return patch;
  };

  std::vector<Entry> ifd0 = ifd0_;
  if (exif_) ifd0.push_back(Raw(0x8769, 4, 1, 0));
  std::optional<std::size_t> pointerAt = directory(ifd0, ifd0Count_, 0x8769);
  if (exif_) {
    if (exifOffset_) {
      if (*exifOffset_ < tiff.size()) throw std::logic_error("the Exif IFD would overlap IFD0");
      tiff.resize(*exifOffset_, '\0');
    }
    std::uint32_t exifOffset = static_cast<std::uint32_t>(tiff.size());
    directory(*exif_, exifCount_, 0);
    if (pointerAt) tiff.replace(*pointerAt, 4, number(pointer_.value_or(exifOffset), 4));
  }
  for (const auto& [offset, bytes] : placed_) {
    if (tiff.size() < offset + bytes.size()) tiff.resize(offset + bytes.size(), '\0');
    tiff.replace(offset, bytes.size(), bytes);
  }
  return tiff;
}

JpegBuilder& JpegBuilder::WithoutSoi() {
  soi_ = false;
  return *this;
}

JpegBuilder& JpegBuilder::Segment(std::uint8_t marker, const std::string& data) {
  if (data.size() + 2 > 0xFFFF) throw std::length_error("segment too long");
  body_ += '\xFF';
  body_ += static_cast<char>(marker);
  body_ += BigEndian(data.size() + 2, 2);
  body_ += data;
  return *this;
}

JpegBuilder& JpegBuilder::App0Jfif() {
  return Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
}

JpegBuilder& JpegBuilder::App0(std::size_t dataBytes) {
  std::string data(dataBytes, '\x55');
  return Segment(0xE0, data);
}

JpegBuilder& JpegBuilder::App1Exif(const std::string& tiff) {
  return Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

JpegBuilder& JpegBuilder::App1ExifOversized(const std::string& tiff) {
  body_ += std::string("\xFF\xE1\xFF\xFF", 4) + std::string("Exif\0\0", 6) + tiff;
  return *this;
}

JpegBuilder& JpegBuilder::App1Xmp() {
  return Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                           "<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>");
}

JpegBuilder& JpegBuilder::App2Icc() {
  return Segment(0xE2, std::string("ICC_PROFILE\0\x01\x01", 14) + std::string(128, '\x11'));
}

JpegBuilder& JpegBuilder::App13() {
  return Segment(0xED, std::string("Photoshop 3.0\0", 14) + "8BIM" + std::string(20, '\x22'));
}

JpegBuilder& JpegBuilder::Raw(const std::string& bytes) {
  body_ += bytes;
  return *this;
}

JpegBuilder& JpegBuilder::Scan(std::size_t imageBytes) {
  Segment(0xDB, std::string(65, '\x01'));
  Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  for (std::size_t i = 0; i < imageBytes; ++i) body_ += static_cast<char>((i * 7 + 3) % 0xFF);
  body_ += "\xFF\xD9";
  return *this;
}

std::string JpegBuilder::Build() const {
  return (soi_ ? std::string("\xFF\xD8") : "") + body_;
}

std::string BackupFile(const std::string& segment) {
  return "Vantoro Exif Backup File" + segment;
}

std::string ExifSegment(const std::string& tiff) {
  std::string data = std::string("Exif\0\0", 6) + tiff;
  return std::string("\xFF\xE1") + BigEndian(data.size() + 2, 2) + data;
}

}  // namespace tagloom::test
