#include "model/catalogue.h"

#include <algorithm>

#include "model/hex_text.h"

namespace tagloom {

const std::array<CatalogueEntry, kCatalogueRows> kCatalogue = {{
    {"8769", "#ExifPointer"}, {"0112", "#Orientation"}, {"010F", "原厂"},
    {"0110", "型号"},         {"0131", "硬件版本"},     {"8298", "版权"},
    {"0132", "修改日期"},     {"829A", "曝光时间"},     {"829D", "光圈号码"},
    {"8822", "曝光程序"},     {"8827", "ISO"},          {"9204", "EV值"},
    {"9206", "目标距离"},     {"9209", "闪光灯"},       {"927C", "制造商信息"},
    {"9286", "备注"},         {"9207", "测光模式"},     {"920A", "焦距"},
    {"9003", "拍摄日期"},     {"9004", "数字化日期"},
}};

const std::array<FieldInfo, kFieldCount> kFields = {{
    {2, "制造商:", kAreaCamera, "make"},
    {3, "型号:", kAreaCamera, "model"},
    {4, "硬件版本:", kAreaCamera, "software"},
    {5, "版权声明:", kAreaCopyright, "copyright"},
    {6, "拍摄日期:", kAreaPhoto, "date"},
    {7, "快门:", kAreaPhoto, "exposure_time"},
    {8, "光圈:", kAreaPhoto, "fnumber"},
    {9, "曝光程序:", kAreaPhoto, "exposure_program"},
    {10, "ISO值:", kAreaPhoto, "iso"},
    {11, "EV值:", kAreaPhoto, "exposure_bias"},
    {12, "与目标距离:", kAreaPhoto, "subject_distance"},
    {13, "闪光灯:", kAreaPhoto, "flash"},
    {14, "制造商信息:", kAreaCamera, "maker_note"},
    {15, "备注:", kAreaPhoto, "comment"},
    {16, "测光模式:", kAreaPhoto, "metering_mode"},
    {17, "焦距:", kAreaPhoto, "focal_length"},
}};

std::string TagText(std::uint16_t tag) {
  return {kHexDigitChars[tag >> 12], kHexDigitChars[(tag >> 8) & 0xF],
          kHexDigitChars[(tag >> 4) & 0xF], kHexDigitChars[tag & 0xF]};
}

int CatalogueRowOf(std::uint16_t tag) {
  // The tags as numbers with their rows, in the order of the numbers: most
  // entries of a block are not catalogued, and are told so in five steps.
  struct TagRow {
    std::uint16_t tag;
    int row;
    bool operator<(const TagRow& other) const { return tag < other.tag; }
  };
  static const auto kByTag = [] {
    std::array<TagRow, kCatalogueRows> byTag{};
    for (std::size_t r = 0; r < byTag.size(); ++r) {
      unsigned value = 0;
      for (char c : kCatalogue[r].tag) value = value * 16 + static_cast<unsigned>(HexDigitValue(c));
      byTag[r] = {static_cast<std::uint16_t>(value), static_cast<int>(r)};
    }
    std::sort(byTag.begin(), byTag.end());
    return byTag;
  }();
  const auto* found = std::lower_bound(kByTag.begin(), kByTag.end(), TagRow{tag, 0});
  return found != kByTag.end() && found->tag == tag ? found->row : -1;
}

}  // namespace tagloom
