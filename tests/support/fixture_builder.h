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
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  // The value's bytes, one number of `unit` bytes after another (little-endian).
  std::string value;
  int unit = 1;
  // When set, the value field holds exactly this number (no value is placed).
  std::optional<std::uint32_t> valueField;
};

Entry Byte(std::uint16_t tag, std::uint8_t value);
Entry Bytes(std::uint16_t tag, const std::vector<std::uint8_t>& values);
Entry Ascii(std::uint16_t tag, const std::string& text);      // NUL appended, count includes it
Entry AsciiRaw(std::uint16_t tag, const std::string& bytes);  // count = bytes.size()
Entry Short(std::uint16_t tag, std::uint16_t value);
Entry Shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values);
Entry Long(std::uint16_t tag, std::uint32_t value);
Entry Rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator);
Entry SRational(std::uint16_t tag, std::int32_t numerator, std::int32_t denominator);
Entry Undefined(std::uint16_t tag, const std::string& bytes);
Entry SLong(std::uint16_t tag, std::int32_t value);
Entry SLongs(std::uint16_t tag, const std::vector<std::int32_t>& values);
// An entry with the given type and count whose value field holds `field`.
Entry Raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t field);

// A TIFF block: header, IFD0, and (when given) the Exif IFD that IFD0 points to.
class TiffBuilder {
 public:
  explicit TiffBuilder(ByteOrder order = ByteOrder::kLittle) : order_(order) {}

  TiffBuilder& Ifd0(std::vector<Entry> entries);
  // Adds the Exif IFD and the pointer entry (8769) at the end of IFD0.
  TiffBuilder& ExifIfd(std::vector<Entry> entries);

  // Damage and layout knobs.
  TiffBuilder& Ifd0Offset(std::uint32_t offset);        // where IFD0 starts (default 8)
  TiffBuilder& Ifd0CountOverride(std::uint16_t count);  // the count written for IFD0
  TiffBuilder& ExifCountOverride(std::uint16_t count);  // the count written for the Exif IFD
  TiffBuilder& PointerTo(std::uint32_t offset);         // the Exif pointer's value field
  TiffBuilder& ByteOrderMark(const std::string& mark);  // instead of "II" / "MM"
  // The IFD0 offset written in the header; the directory stays at Ifd0Offset.
  TiffBuilder& Ifd0OffsetOverride(std::uint32_t offset);
  // Where the Exif IFD starts (zeros fill the gap; it must lie past IFD0's values).
  TiffBuilder& ExifIfdOffset(std::uint32_t offset);
  // Writes `bytes` at `offset` of the finished block, which grows as needed.
  TiffBuilder& Place(std::uint32_t offset, const std::string& bytes);

  std::string Build() const;

 private:
  ByteOrder order_;
  std::vector<Entry> ifd0_;
  std::optional<std::vector<Entry>> exif_;
  std::uint32_t ifd0Offset_ = 8;
  std::optional<std::uint16_t> ifd0Count_, exifCount_;
  std::optional<std::uint32_t> pointer_, ifd0OffsetField_, exifOffset_;
  std::vector<std::pair<std::uint32_t, std::string>> placed_;
  std::optional<std::string> mark_;
};

// A JPEG stream: start of image, header segments, then (optionally) a scan.
class JpegBuilder {
 public:
  JpegBuilder& WithoutSoi();                       // the stream starts with the first segment
  JpegBuilder& App0Jfif();                         // a 16-byte JFIF APP0
  JpegBuilder& App0(std::size_t dataBytes);        // an APP0 of any size
  JpegBuilder& App1Exif(const std::string& tiff);  // "Exif" 00 00 and the TIFF block
  // A TIFF block too long for any segment, behind the length field FF FF.
  JpegBuilder& App1ExifOversized(const std::string& tiff);
  JpegBuilder& App1Xmp();  // an XMP packet in an APP1
  JpegBuilder& App2Icc();  // an ICC profile chunk
  JpegBuilder& App13();    // a Photoshop block
  JpegBuilder& Segment(std::uint8_t marker, const std::string& data);
  JpegBuilder& Raw(const std::string& bytes);  // bytes as they stand
  // Quantisation table, start of scan, image data and end of image.
  JpegBuilder& Scan(std::size_t imageBytes = 64);
  std::string Build() const;

 private:
  bool soi_ = true;
  std::string body_;
};

// A backup file: the 24-byte header followed by the given segment bytes.
std::string BackupFile(const std::string& segment);

// The APP1 segment (FF E1, length, "Exif" 00 00, TIFF) of a TIFF block.
std::string ExifSegment(const std::string& tiff);

}  // namespace tagloom::test
