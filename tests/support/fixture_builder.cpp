#include "support/fixture_builder.h"

#include <map>
#include <stdexcept>

#include "reader/backup_format.h"
#include "reader/jpeg_segments.h"

namespace tagloom::test {
namespace {

std::string Ordered(std::uint64_t value, int bytes, bool big) {
  std::string out;
  for (int i = 0; i < bytes; ++i) {
    out += static_cast<char>((value >> (8 * (big ? bytes - 1 - i : i))) & 0xFF);
  }
  return out;
}

}  // namespace

Entry Numbers(std::uint16_t tag, std::uint16_t type, int unit,
              const std::vector<std::int64_t>& values) {
  Entry e{tag, type, static_cast<std::uint32_t>(values.size()), "", unit, std::nullopt};
  for (std::int64_t v : values) e.value += Ordered(static_cast<std::uint64_t>(v), unit, false);
  return e;
}

std::string TiffBuilder::Build() const {
  const bool big = order_ == ByteOrder::kBig;
  auto number = [&](std::uint64_t v, int bytes) { return Ordered(v, bytes, big); };
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

  std::string tiff = big ? "MM" : "II";
  tiff += number(42, 2) + number(ifd0OffsetField_.value_or(8), 4);

  // Writes one directory at the end of `tiff`, its values after it. Returns
  // where the value fields of its entries (by tag) and its link are.
  struct Written {
    std::map<std::uint16_t, std::size_t> fields;
    std::size_t link = 0;
  };
  auto directory = [&](const std::vector<Entry>& entries,
                       std::optional<std::uint16_t> countOverride) {
    std::size_t start = tiff.size();
    std::size_t valueArea = start + 2 + 12 * entries.size() + 4;
    std::string values;
    std::string dir = number(countOverride.value_or(static_cast<std::uint16_t>(entries.size())), 2);
    Written written;
    for (const Entry& e : entries) {
      dir += number(e.tag, 2) + number(e.type, 2) + number(e.count, 4);
      written.fields[e.tag] = start + dir.size();  // the last of a tag
      if (e.valueField) {
        dir += number(*e.valueField, 4);
      } else if (e.value.size() <= 4) {
        dir += ordered(e) + std::string(4 - e.value.size(), '\0');
      } else {
        dir += number(valueArea + values.size(), 4);
        values += ordered(e);
        if (values.size() % 2) values += '\0';  // word alignment, as TIFF asks
      }
    }
    written.link = start + dir.size();
    tiff += dir + number(0, 4) + values;  // no next directory
    return written;
  };
  // Points the value field at `at` to the directory about to be written.
  auto pointHere = [&](std::size_t at) {
    tiff.replace(at, 4, number(static_cast<std::uint32_t>(tiff.size()), 4));
  };

  std::vector<Entry> ifd0 = ifd0_, exif = exif_.value_or(std::vector<Entry>{});
  if (exif_) ifd0.push_back(Raw(0x8769, 4, 1, 0));
  if (gps_) ifd0.push_back(Raw(0x8825, 4, 1, 0));
  if (interop_) exif.push_back(Raw(0xA005, 4, 1, 0));
  const Written written0 = directory(ifd0, ifd0Count_);
  if (exif_) {
    const std::size_t pointerAt = written0.fields.at(0x8769);
    std::uint32_t exifOffset = static_cast<std::uint32_t>(tiff.size());
    const Written writtenExif = directory(exif, exifCount_);
    tiff.replace(pointerAt, 4, number(pointer_.value_or(exifOffset), 4));
    if (interop_) {
      pointHere(writtenExif.fields.at(0xA005));
      directory(*interop_, std::nullopt);
    }
  }
  if (gps_) {
    pointHere(written0.fields.at(0x8825));
    directory(*gps_, std::nullopt);
  }
  if (ifd1_) {
    pointHere(written0.link);
    const auto& [thumbnail, offsetsTag] = thumbnail_;
    std::vector<Entry> ifd1 = *ifd1_;
    if (!thumbnail.empty()) {
      ifd1.push_back(Raw(offsetsTag, 4, 1, 0));
      ifd1.push_back(Long(offsetsTag == 0x0201 ? 0x0202 : 0x0117,
                          static_cast<std::uint32_t>(thumbnail.size())));
    }
    const Written written1 = directory(ifd1, std::nullopt);
    if (!thumbnail.empty()) {
      pointHere(written1.fields.at(offsetsTag));
      tiff += thumbnail;
    }
  }
  for (const auto& [offset, bytes] : placed_) {
    if (tiff.size() < offset + bytes.size()) tiff.resize(offset + bytes.size(), '\0');
    tiff.replace(offset, bytes.size(), bytes);
  }
  return tiff;
}

JpegBuilder& JpegBuilder::Segment(std::uint8_t marker, const std::string& data) {
  if (data.size() + 2 > 0xFFFF) throw std::length_error("segment too long");
  body_ += std::string{'\xFF', static_cast<char>(marker)} + Ordered(data.size() + 2, 2, true);
  body_ += data;
  return *this;
}

JpegBuilder& JpegBuilder::App0Jfif() {
  return Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
}

JpegBuilder& JpegBuilder::App1Exif(const std::string& tiff) {
  return Segment(0xE1, std::string(kExifSignature) + tiff);
}

JpegBuilder& JpegBuilder::App1ExifOversized(const std::string& tiff) {
  return Raw("\xFF\xE1\xFF\xFF" + std::string(kExifSignature) + tiff);
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

JpegBuilder& JpegBuilder::Scan(std::size_t imageBytes) {
  Segment(0xDB, std::string(65, '\x01'));
  Segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
  for (std::size_t i = 0; i < imageBytes; ++i) body_ += static_cast<char>((i * 7 + 3) % 0xFF);
  return Raw("\xFF\xD9");
}

std::string BackupFile(const std::string& segment) {
  return std::string(kBackupHeader) + segment;
}

std::string ExifSegment(const std::string& tiff) {
  return JpegBuilder().WithoutSoi().App1Exif(tiff).Build();
}

}  // namespace tagloom::test
