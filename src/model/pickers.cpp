#include "model/pickers.h"

#include "model/catalogue.h"
#include "model/number_text.h"

namespace tagloom {

const std::array<PickerInfo, kPickerCount> kPickers = {{
    {Picker::kCombo1, field::kExposureProgram, kExposureProgramItems, true, true},
    {Picker::kCombo2, field::kMeteringMode, kMeteringModeItems, true, true},
    {Picker::kCombo3, field::kIso, kIsoItems, false, false},
    {Picker::kCombo4, field::kExposureBias, kExposureBiasItems, false, false},
    {Picker::kOptFlash, field::kFlash, kFlashItems, true, true},
}};

std::string PickerInfo::FieldTextFor(int item) const {
  return writesIndex ? IntegerText(item) : std::string(items[static_cast<std::size_t>(item)]);
}

const PickerInfo* PickerOfField(int field) {
  for (const PickerInfo& info : kPickers) {
    if (info.field == field) return &info;
  }
  return nullptr;
}

}  // namespace tagloom
