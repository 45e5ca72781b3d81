// The pickers beside some edit fields: their items and the field each writes.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace tagloom {

// Exposure program: the item index is the EXIF value.
inline constexpr std::array<std::string_view, 9> kExposureProgramItems = {
    "",           "1. 手動模式", "2. 正常模式", "3. 光圈先決", "4. 快門先決",
    "5. 創意模式", "6. 運動模式", "7. 人像模式", "風景模式"};

// Metering mode: the item index is the EXIF value.
inline constexpr std::array<std::string_view, 7> kMeteringModeItems = {
    "",           "1. 平均測光", "2. 中央重點測光", "3. 點測光", "4. 多點式測光", "5. 矩陣測光",
    "6. 部份測光"};

// ISO: the item text is the value.
inline constexpr std::array<std::string_view, 10> kIsoItems = {"",    "25",  "50",  "66",  "100",
                                                               "160", "200", "400", "800", "1600"};

// Exposure bias: the item text is the value.
inline constexpr std::array<std::string_view, 18> kExposureBiasItems = {
    "",  "+2",   "+5/3", "+3/2", "+4/3", "+1",   "+2/3", "+1/2", "+1/3",
    "0", "-1/3", "-1/2", "-2/3", "-1",   "-4/3", "-3/2", "-5/3", "-2"};

// Flash: the option button's index is the value.
inline constexpr std::array<std::string_view, 2> kFlashItems = {"无", "有"};

enum class Picker { kCombo1, kCombo2, kCombo3, kCombo4, kOptFlash };
inline constexpr int kPickerCount = 5;

struct PickerInfo {
  Picker picker;
  int field;  // the txtExif the picker writes into
  std::span<const std::string_view> items;
  // What a choice writes: the item's index (a coded value), or its text.
  bool writesIndex;
  // Whether reading a block selects the item its number stands for (else the
  // picker goes back to its empty first item).
  bool followsField;

  int ItemCount() const { return static_cast<int>(items.size()); }
  bool HasItem(int item) const { return item >= 0 && item < ItemCount(); }
  // The field text for an item; the item must exist.
  std::string FieldTextFor(int item) const;
};

// By Picker value: kPickers[static_cast<int>(picker)].
extern const std::array<PickerInfo, kPickerCount> kPickers;

inline const PickerInfo& InfoOf(Picker picker) {
  return kPickers[static_cast<std::size_t>(picker)];
}

// The picker that writes into a field, or nullptr.
const PickerInfo* PickerOfField(int field);

}  // namespace tagloom
