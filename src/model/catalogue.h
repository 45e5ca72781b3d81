// The twenty EXIF tags the editor understands, and the sixteen edit fields
// that show them. The row number is a tag's identity everywhere in Tagloom.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tagloom {

struct CatalogueEntry {
  std::string_view tag;    // four upper-case hexadecimal digits
  std::string_view title;  // as the inspector names the row
};

inline constexpr int kCatalogueRows = 20;
extern const std::array<CatalogueEntry, kCatalogueRows> kCatalogue;

// The text form of a tag id: four upper-case hexadecimal digits ("010F").
std::string TagText(std::uint16_t tag);

// The first catalogue row of a tag, or -1 for a tag outside the catalogue.
int CatalogueRowOf(std::uint16_t tag);

// The GPS directory's pointer, an entry outside the catalogue.
inline constexpr std::string_view kGpsPointerTag = "8825";

// Rows with a meaning of their own in the code.
namespace row {
inline constexpr int kExifPointer = 0;
inline constexpr int kOrientation = 1;
inline constexpr int kMake = 2;
inline constexpr int kDateTime = 6;
inline constexpr int kExposureTime = 7;
inline constexpr int kFNumber = 8;
inline constexpr int kExposureProgram = 9;
inline constexpr int kIso = 10;
inline constexpr int kExposureBias = 11;
inline constexpr int kSubjectDistance = 12;
inline constexpr int kFlash = 13;
inline constexpr int kMakerNote = 14;
inline constexpr int kUserComment = 15;
inline constexpr int kMeteringMode = 16;
inline constexpr int kFocalLength = 17;
inline constexpr int kDateTimeOriginal = 18;
inline constexpr int kDateTimeDigitized = 19;
inline constexpr int kLastIfd0Row = 6;  // rows 0 to 6 live in IFD0, 7 to 19 in the Exif IFD
}  // namespace row

// The three field areas that the keep boxes protect.
enum FieldArea { kAreaCamera = 0, kAreaPhoto = 1, kAreaCopyright = 2 };
inline constexpr int kAreaCount = 3;

struct FieldInfo {
  int row;                   // catalogue row: always field index + 2
  std::string_view caption;  // the label beside the field
  FieldArea area;
  std::string_view key;  // the field's name for scripts (JSON keys, CLI options)
};

inline constexpr int kFieldCount = 16;
extern const std::array<FieldInfo, kFieldCount> kFields;

// Fields with a meaning of their own in the code.
namespace field {
inline constexpr int kCopyright = 3;
inline constexpr int kDate = 4;
inline constexpr int kExposureTime = 5;
inline constexpr int kFNumber = 6;
inline constexpr int kExposureProgram = 7;
inline constexpr int kIso = 8;
inline constexpr int kExposureBias = 9;
inline constexpr int kFlash = 11;
inline constexpr int kMakerNote = 12;
inline constexpr int kComment = 13;
inline constexpr int kMeteringMode = 14;
inline constexpr int kFocalLength = 15;
}  // namespace field

inline constexpr int FieldRow(int field) {
  return field + 2;
}

}  // namespace tagloom
