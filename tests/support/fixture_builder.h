// Builders that compose test photographs byte by byte, so that each case reads
// like a sentence:
//   JpegBuilder().App0Jfif().App1Exif(TiffBuilder(ByteOrder::kBig)
//       .Ifd0({Ascii(0x010F, "Canon")}).ExifIfd({Short(0x8827, 100)})).Build()
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tagloom::test {

enum class ByteOrder { kLittle, kBig };

// One directory entry. Its value bytes are given in little-endian order for
// numbers and are turned into the block's order when the block is built.
struct Entry {
  std::uint16_t tag = 0, type = 0;
  std::uint32_t count = 0;
  std::string value;  // one number of `unit` bytes after another (little-endian)
  int unit = 1;
  std::optional<std::uint32_t> valueField;  // when set, the value field holds exactly this
};

// Numbers of one type, `unit` bytes each; the count is the number of values.
Entry Numbers(std::uint16_t tag, std::uint16_t type, int unit,
              const std::vector<std::int64_t>& values);
inline Entry Bytes(std::uint16_t tag, const std::vector<std::int64_t>& values) {
  return Numbers(tag, 1, 1, values);
}
inline Entry Short(std::uint16_t tag, std::uint16_t value) {
  return Numbers(tag, 3, 2, {value});
}
inline Entry Long(std::uint16_t tag, std::uint32_t value) {
  return Numbers(tag, 4, 4, {value});
}
inline Entry SLongs(std::uint16_t tag, const std::vector<std::int64_t>& values) {
  return Numbers(tag, 9, 4, values);
}
inline Entry Rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) {
  Entry e = Numbers(tag, 5, 4, {numerator, denominator});
  e.count = 1;
  return e;
}
inline Entry SRational(std::uint16_t tag, std::int32_t numerator, std::int32_t denominator) {
  Entry e =
      Rational(tag, static_cast<std::uint32_t>(numerator), static_cast<std::uint32_t>(denominator));
  e.type = 10;
  return e;
}
// Bytes as they stand, count = bytes.size(), of type ASCII (2) or UNDEFINED (7).
inline Entry AsciiRaw(std::uint16_t tag, const std::string& bytes) {
  return {tag, 2, static_cast<std::uint32_t>(bytes.size()), bytes, 1, std::nullopt};
}
inline Entry Ascii(std::uint16_t tag, const std::string& text) {  // NUL appended and counted
  return AsciiRaw(tag, text + std::string(1, '\0'));
}
inline Entry Undefined(std::uint16_t tag, const std::string& bytes) {
  return {tag, 7, static_cast<std::uint32_t>(bytes.size()), bytes, 1, std::nullopt};
}
// An entry with the given type and count whose value field holds `field`.
inline Entry Raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t field) {
  return {tag, type, count, "", 1, field};
}

// A TIFF block: header, IFD0, and (when given) the Exif IFD that IFD0 points
// to, the GPS and interoperability IFDs, IFD1 and its thumbnail. The knobs
// after the directories damage or move things.
class TiffBuilder {
 public:
  explicit TiffBuilder(ByteOrder order = ByteOrder::kLittle) : order_(order) {}
  TiffBuilder& Ifd0(std::vector<Entry> entries) { return Set(ifd0_, std::move(entries)); }
  // Adds the Exif IFD and the pointer entry (8769) at the end of IFD0.
  TiffBuilder& ExifIfd(std::vector<Entry> entries) { return Set(exif_, std::move(entries)); }
  // Adds the GPS IFD and its pointer (8825) at the end of IFD0.
  TiffBuilder& GpsIfd(std::vector<Entry> entries) { return Set(gps_, std::move(entries)); }
  // Adds the interoperability IFD and its pointer (A005) at the end of the Exif IFD.
  TiffBuilder& InteropIfd(std::vector<Entry> entries) { return Set(interop_, std::move(entries)); }
  // Adds IFD1, linked from IFD0, and after it a thumbnail that its last two
  // entries (LONG) point at: 0201 and 0202, or 0111 and 0117 for a strip.
  TiffBuilder& Ifd1(std::vector<Entry> entries, const std::string& thumbnail = "",
                    std::uint16_t offsetsTag = 0x0201) {
    thumbnail_ = {thumbnail, offsetsTag};
    return Set(ifd1_, std::move(entries));
  }

  TiffBuilder& Ifd0CountOverride(std::uint16_t count) { return Set(ifd0Count_, count); }
  TiffBuilder& ExifCountOverride(std::uint16_t count) { return Set(exifCount_, count); }
  TiffBuilder& PointerTo(std::uint32_t offset) { return Set(pointer_, offset); }
  // The IFD0 offset written in the header; the directory stays at 8.
  TiffBuilder& Ifd0OffsetOverride(std::uint32_t offset) { return Set(ifd0OffsetField_, offset); }
  // Writes `bytes` at `offset` of the finished block, which grows as needed.
  TiffBuilder& Place(std::uint32_t offset, const std::string& bytes) {
    placed_.emplace_back(offset, bytes);
    return *this;
  }
  std::string Build() const;

 private:
  template <typename T, typename V>
  TiffBuilder& Set(T& member, V&& value) {
    member = std::forward<V>(value);
    return *this;
  }
  ByteOrder order_;
  std::vector<Entry> ifd0_;
  std::optional<std::vector<Entry>> exif_, gps_, interop_, ifd1_;
  std::pair<std::string, std::uint16_t> thumbnail_;
  std::optional<std::uint16_t> ifd0Count_, exifCount_;
  std::optional<std::uint32_t> pointer_, ifd0OffsetField_;
  std::vector<std::pair<std::uint32_t, std::string>> placed_;
};

// A JPEG stream: start of image, header segments, then (optionally) a scan.
class JpegBuilder {
 public:
  JpegBuilder& WithoutSoi() {  // the stream starts with the first segment
    soi_ = false;
    return *this;
  }
  JpegBuilder& Segment(std::uint8_t marker, const std::string& data);
  JpegBuilder& App0Jfif();  // a 16-byte JFIF APP0
  JpegBuilder& App0(std::size_t dataBytes) { return Segment(0xE0, std::string(dataBytes, 'U')); }
  JpegBuilder& App1Exif(const std::string& tiff);  // "Exif" 00 00 and the TIFF block
  // A TIFF block too long for any segment, behind the length field FF FF.
  JpegBuilder& App1ExifOversized(const std::string& tiff);
  JpegBuilder& App1Xmp();                       // an XMP packet in an APP1
  JpegBuilder& App2Icc();                       // an ICC profile chunk
  JpegBuilder& App13();                         // a Photoshop block
  JpegBuilder& Raw(const std::string& bytes) {  // bytes as they stand
    body_ += bytes;
    return *this;
  }
  // Quantisation table, start of scan, image data and end of image.
  JpegBuilder& Scan(std::size_t imageBytes = 64);
  std::string Build() const { return (soi_ ? std::string("\xFF\xD8") : "") + body_; }

 private:
  bool soi_ = true;
  std::string body_;
};

// A backup file: the 24-byte header followed by the given segment bytes.
std::string BackupFile(const std::string& segment);

// The APP1 segment (FF E1, length, "Exif" 00 00, TIFF) of a TIFF block.
std::string ExifSegment(const std::string& tiff);

}  // namespace tagloom::test
