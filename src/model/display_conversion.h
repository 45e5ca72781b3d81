// Display conversion: raw value texts of the record store become the texts of
// the edit fields and the items of the pickers beside them.
#pragma once

#include <string>
#include <string_view>

#include "model/pickers.h"

namespace tagloom {

// The stored date with its first two ":" turned into "/" (2001/05/12 14:30:00).
std::string DateForDisplay(std::string_view stored);

// Whether a value text is shown by the rational rule: it holds a "/" and was
// stored as RATIONAL (5) or SRATIONAL (10).
bool IsStoredFraction(std::string_view value, int type);

// Field text of a stored fraction for catalogue row `row`: the exposure-bias
// labels for row 11, decimal or unit-fraction forms for the others. A zero
// denominator has no quotient: the fraction is shown as it stands.
std::string FractionForDisplay(int row, std::string_view value);

// Field text of any other value: the comment marker and the "Hex:" prefix of a
// maker note are removed; everything else is shown as stored.
std::string_view TextForDisplay(int row, std::string_view value);

// Picker item that stands for a stored number: the number rounded (halves to
// even), or -1 when the picker has no such item. Cameras store the flash as
// bits (16, 24, 25, 9 ...): its picker shows bit 0, whether the flash fired.
int PickerItemFor(std::string_view value, const PickerInfo& picker);

}  // namespace tagloom
