// Edit-back conversion: the sixteen field texts become the catalogued rows of
// the record store, ready for a new EXIF block to be built from them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/catalogue.h"
#include "model/record_store.h"

namespace tagloom {

// The date the conversion gives for a text it cannot read.
inline constexpr std::string_view kDefaultDate = "1999:01:01 01:01:01";

// A date text as year:month:day hour:minute:second. Reads year/month/day,
// year-month-day or year:month:day (a four-digit year) followed by a blank
// and a 24-hour time of hours and minutes, seconds optional; blanks inside
// either part are ignored. Anything else, or an impossible date or time,
// cannot be read.
std::optional<std::string> ReadDateText(std::string_view text);

// ReadDateText, or kDefaultDate for a text it cannot read.
std::string ConvDate(std::string_view text);

// The TIFF type (tiff::Type) that catalogue row `row` is written with.
int StandardType(int row);

// Entry counts of the two directories to be written.
struct DirectoryCounts {
  std::int64_t Ifd0EntryCount = 0;
  std::int64_t ExifIfdEntryCount = 0;
};

// A field whose number does not fit the field it is written into: too large,
// negative for an unsigned field, or not finite.
struct RefusedField {
  int field;  // index of txtExif
};

// Rebuilds the catalogued rows of `store` from the field texts: which tags
// are written, with which type, count and value text. The orientation read
// with the block (row 1, 1 to 8) is kept; otherwise 1 is written. Returns the
// first field whose number does not fit its 16- or 32-bit field, in which case
// nothing may be written.
//
// `unedited` marks the fields that still hold what reading the block put
// there: a negative number in an unsigned field is refused only when typed
// (cameras store "infinity" as FFFFFFFF, which reads as -1).
std::optional<RefusedField> RestoreValue(const std::array<std::string, kFieldCount>& fields,
                                         RecordStore& store, DirectoryCounts& counts,
                                         const std::array<bool, kFieldCount>& unedited = {});

}  // namespace tagloom
